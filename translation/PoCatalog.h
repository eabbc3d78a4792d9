// Gettext catalogs: units written as a PO file or template (through libgettextpo) and PO files
// read back as catalog entries. A unit becomes one message: msgctxt the context, msgid the
// text, "#:" the script and line, "#." the kind and control type, and the c-format flag when
// the text holds printf conversions and no stray "%".
#pragma once

#include <string>
#include <vector>

#include "translation/TranslationMerger.h"
#include "translation/TranslationUnit.h"

namespace tamrel {

struct PoWriteOptions {
  bool isTemplate = true;       // a .pot: header marked fuzzy, no language
  std::string scriptName;       // the script as named in "#:" lines and the header
  std::string sourceLanguage;   // "en"; kept in the X-Source-Language header field
  std::string targetLanguage;   // "de"; the Language header field of a .po
};

// Writes the units that can be translated (those without a problem) to `path`; `targets`, when
// not empty, holds a translation for each unit (empty: untranslated). Returns the errors; text
// that is not valid UTF-8 (see CheckCatalogText) is an error, and then nothing is written.
std::vector<std::string> WritePoFile(const std::vector<TranslationUnit>& units, const std::vector<std::string>& targets,
                                     const PoWriteOptions& options, const std::string& path);

// Reads a PO file: one entry per message other than the header and obsolete ones. Syntax
// errors and unreadable files are returned as "FILE:LINE:COLUMN: text" in `errors`; the
// entries are then not to be used.
std::vector<CatalogEntry> ReadPoFile(const std::string& path, std::vector<std::string>& errors);

}  // namespace tamrel
