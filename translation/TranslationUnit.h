// TranslationUnit: one piece of translatable text of a script (a dialog caption, a control
// text, a popup or menu item text, a string-table entry), with the stable context that names
// it in exchange files, the text a user sees (UTF-8, escapes decoded) and where its literal
// stands in the script, so that a translation can be put back in place.
//
// Contexts:
//   dialog caption          DIALOGID|CAPTION
//   control text            DIALOGID|CONTROLID
//   menu item with an ID    MENUID|COMMANDID
//   popup, item without ID  MENUID|popup text|...|item text   (texts as written, unquoted,
//                                                              converted to UTF-8; control
//                                                              characters as \xHH)
//   string-table entry      STRINGTABLE|STRINGID
//   version string          VERSIONINFO|040904b0|FileDescription   (StringFileInfo block key, value name)
// A context that would occur more than once gets "#n" on every occurrence, n counting them in
// file order from 1 (IDD_ABOUTBOX|IDC_STATIC#3 is the third IDC_STATIC of the dialog).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

enum class UnitKind { Caption, Control, Popup, MenuItem, String, Version };

// "caption", "control", "popup", "menuitem", "string", "version".
std::string_view UnitKindName(UnitKind kind) noexcept;

struct TranslationUnit {
  std::string context;
  UnitKind kind = UnitKind::String;
  std::string controlType;  // a control's keyword, and for CONTROL its window class: "CONTROL Button"
  std::string text;         // what the user sees, as UTF-8
  int line = 0;             // the script line that holds the literal
  int codePage = 0;         // the code page of that line (65001 for a Unicode script)
  std::size_t offset = 0;   // where the literal stands in that line (as the model holds it)
  std::size_t length = 0;
  bool wide = false;        // an L"..." literal
  // A version string whose literal ends in "\0": the text leaves the terminator out, and a
  // translation put in its place gets it back.
  bool terminated = false;
  // Why the unit cannot be translated in place (its literal is not in its line as the model
  // read it, or its bytes do not convert); empty when it can.
  std::string problem;
  // Set with `problem` when bytes of the unit (its text, its context or its control class) do
  // not convert from their line's code page; `utf8` when those bytes are valid UTF-8 all the
  // same (a script saved as UTF-8 that declares no code page or another one).
  bool unconvertible = false;
  bool utf8 = false;

  // "control LTEXT", "caption", ...: the kind and, for controls, the control type.
  std::string Description() const;
};

// Text for a name or a message: valid UTF-8 stays, except control characters and the
// noncharacters U+FFFE and U+FFFF; those and every byte that is not valid UTF-8 become \xHH
// (\uFFFE, \uFFFF), so the result is printable UTF-8 whatever the input.
std::string PrintableText(std::string_view bytes);

// The one check of what goes into a catalog file: every translatable unit's context, text,
// description and translation (`targets`, as for the writers) must be valid UTF-8. One message
// for each string that is not; a writer given such text writes nothing.
std::vector<std::string> CheckCatalogText(const std::vector<TranslationUnit>& units,
                                          const std::vector<std::string>& targets);

// The printf conversions of a text in order ("%d", "%-5.2s", "%1$s"); "%%" is none. `clean`,
// when given, tells whether every "%" of the text belongs to a conversion or a "%%".
std::vector<std::string> PrintfPlaceholders(std::string_view text, bool* clean = nullptr);

// The length of the printf conversion (or "%%") that starts at `at`; 0 when there is none.
std::size_t PrintfConversionLength(std::string_view text, std::size_t at);

}  // namespace tamrel
