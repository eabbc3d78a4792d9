// The lines of a script that say which language its translated section is in: the section's
// LANGUAGE statements (top-level and in resource headers), its code-page pragmas, and in its
// VERSIONINFO resources the StringFileInfo block keys and the VarFileInfo "Translation"
// values. A merge into another language rewrites exactly these lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/clsRC.h"
#include "translation/LanguageTable.h"

namespace tamrel {

struct SectionPlaces {
  // The section's stretches of lines, [first, last], 1-based. A section runs from a top-level
  // LANGUAGE statement to the next one naming another language; lines before the first
  // statement belong to the first section.
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> languageLines;  // LANGUAGE statements of the section
  std::vector<int> topLevelLines;  // those of them outside any resource
  std::vector<int> pragmaLines;    // "#pragma code_page" lines of the section
  std::vector<int> versionKeyLines;
  std::vector<int> translationLines;
  // The language ID of the section's LANGUAGE statements, when they name one.
  std::optional<int> sourceLanguage;
  // The language of the version keys and "Translation" pairs to rewrite: the section's when one
  // of its keys names it, else empty (every one is rewritten).
  std::optional<int> versionLanguage;
  // The first line holding a statement that is not a preprocessor line and stands outside an
  // "#ifdef APSTUDIO_INVOKED" block (0: none): where a script without LANGUAGE statements gets
  // one, after its #include lines and the resource editor's own blocks.
  int firstStatementLine = 0;

  bool Contains(int line) const;
};

// Finds the places of the translated section of a script. `lines` are the script's lines (each
// may keep its line end); `chosen` picks the section whose LANGUAGE statements name that ID;
// without it, the section of the language the document's items were taken from
// (clsRC::Language), else the first section.
SectionPlaces FindTranslatedSection(const clsRC& rc, const std::vector<std::string>& lines,
                                    std::optional<int> chosen = std::nullopt,
                                    const LanguageTable& table = LanguageTable::Default());

// Rewrites of those lines; each takes a line without its line end and returns it with only the
// numbers or names of the language or code page replaced.
// "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US" -> the target's statement; numbers stay numbers.
std::string RewriteLanguageStatement(std::string_view line, const LanguageInfo& target);
// "#pragma code_page(1252)" -> the code page.
std::string RewriteCodePagePragma(std::string_view line, int codePage);
// BLOCK "040904b0" -> the target's language and, unless the key names Unicode (04b0), the code
// page; when `source` is given, only a key of that language is changed.
std::string RewriteVersionKey(std::string_view line, const LanguageInfo& target, int codePage,
                              std::optional<int> source);
// VALUE "Translation", 0x409, 1252 -> the target's language and code page (a Unicode 1200
// stays); when `source` is given, only pairs of that language are changed.
std::string RewriteTranslationValue(std::string_view line, const LanguageInfo& target, int codePage,
                                    std::optional<int> source);

}  // namespace tamrel
