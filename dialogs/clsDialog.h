// clsDialog: a DIALOG or DIALOGEX resource with its style, caption, font and controls.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"
#include "dialogs/clsCaption.h"
#include "dialogs/clsControl.h"
#include "dialogs/clsFont.h"
#include "styles/clsStyle.h"

namespace tamrel {

class clsDialog {
 public:
  std::string ID;
  std::string Disposition;  // memory option of the header; "DISCARDABLE" when it had none
  std::string ItemType;     // "DIALOG" or "DIALOGEX"
  clsStyle Style;
  clsFont Font;
  clsCaption Caption;
  Int16 Top;
  Int16 Left;
  Int16 Height;
  Int16 Width;
  Collection<clsControl> Controls;
  Int16 Line;
  // Read relaxed: the LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"), empty when none.
  std::string SectionLanguage;
  Int16 LastLine;  // the line that closed the control block

  // Set by relaxed reading only; a dialog read exactly never has them.
  bool Relaxed = false;         // written with its own keyword, its options and no missing ones
  std::string HelpID;           // DIALOGEX header's help identifier
  std::string ExStyle;          // EXSTYLE expression as written ("|" without blanks)
  std::string Menu;             // MENU name
  std::string Class;            // CLASS name, as written
  std::string Language;         // LANGUAGE arguments, joined by ", "
  std::string Version;          // VERSION number
  std::string Characteristics;  // CHARACTERISTICS number

  // The numeric tail of ID after its last underscore (the whole ID when it has none past the
  // first character), as text; empty when that tail is not a number. Never fails.
  Variant DialogNumber() const;

  // The caption's count plus the counts of the controls, in 16 bits (error 6 past 32767).
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

  // The whole resource: header (always with the keyword DIALOG), STYLE, CAPTION, FONT, then
  // BEGIN, each control's lines behind one tab, and END. A relaxed dialog keeps its keyword and
  // help ID, writes STYLE, EXSTYLE, CAPTION, MENU, CLASS, LANGUAGE, VERSION, CHARACTERISTICS and
  // FONT in that order, each only when it has one.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives, counted without writing them; raises the error PrintLines
  // would raise (error 6 for 32,767 controls or style flags or more).
  std::int32_t LineCount() const;

 private:
  // Whether the writer writes a STYLE and a FONT statement: always, but for a relaxed dialog
  // that had none.
  bool WritesStyle() const;
  bool WritesFont() const;
};

}  // namespace tamrel
