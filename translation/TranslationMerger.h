// ApplyTranslations: puts translated texts back into a script in place. Each translated unit's
// literal is replaced in its own line; every other byte of the file (line ends, comments,
// layout, sections the model does not keep) stays as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "common/TextEncoding.h"
#include "document/clsRC.h"
#include "translation/LanguageTable.h"
#include "translation/TranslationUnit.h"

namespace tamrel {

// One entry of a translation file, whatever its format.
struct CatalogEntry {
  std::string context;
  std::string source;
  std::string target;  // empty: not translated
  bool fuzzy = false;  // a translation not yet confirmed
};

enum class MergeEncoding {
  Same,   // the script's own encoding; translations in the code page of each unit's line
  Utf8,   // UTF-8 without a mark; code-page pragmas name 65001
  Utf16,  // UTF-16 little endian with a mark
};

struct MergeOptions {
  bool useFuzzy = false;  // apply fuzzy translations too
  bool force = false;     // apply translations whose printf conversions differ from the source's
  MergeEncoding encoding = MergeEncoding::Same;
  // How the lines of an 8-bit script are read when they are converted to Unicode: as for
  // ExtractUnits.
  int defaultCodePage = kNoCodePage;
  bool ignorePragmas = false;
  // The language the script is translated into. The translated section's LANGUAGE statements,
  // code-page pragmas, StringFileInfo keys and "Translation" values then name it, and in an
  // 8-bit script the section's text is written in its ANSI code page (UTF-8 for a language
  // without one, or when the section was UTF-8 already). A script without any LANGUAGE
  // statement gets one before its first statement.
  std::optional<LanguageInfo> language;
};

struct MergeResult {
  // Why the merge failed; when there is any, `lines` is empty.
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  // The new file's lines as UTF-8 (or, for an 8-bit result, as bytes), each with its own line
  // end as the original had it.
  std::vector<std::string> lines;
  TextEncoding encoding = TextEncoding::Bytes;
  int applied = 0;  // units whose text changed
  // Entries with a translation to apply (fuzzy ones only with `useFuzzy`), and how many of them
  // name a context the script has no unit for. When all of them do, the catalog is probably
  // for another script, or made by an extractor that names units otherwise.
  int translated = 0;
  int unmatched = 0;

  bool Ok() const { return errors.empty(); }
  // The whole file in its encoding, with a byte-order mark where the encoding has one.
  std::string Bytes() const;
};

// `fileBytes` is the file the document was loaded from; `units` are ExtractUnits(rc). A merge
// with any error (a translation whose printf conversions differ from the source's, a character
// the output cannot hold, a unit whose literal is not where the model read it, a file that no
// longer matches the document) returns no lines. Entries the script has no unit for, and
// entries whose source text is no longer the script's, are warnings and are not applied.
MergeResult ApplyTranslations(const clsRC& rc, std::string_view fileBytes, const std::vector<TranslationUnit>& units,
                              const std::vector<CatalogEntry>& entries, const MergeOptions& options = {},
                              const std::string& scriptName = "");

// The file's text as the model reads it (UTF-16 decoded to UTF-8, a mark removed), cut into
// lines that keep their line ends: CR LF, a lone CR or a lone LF.
std::vector<std::string> SplitKeepingEnds(std::string_view text);

}  // namespace tamrel
