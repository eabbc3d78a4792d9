// tamrel-rc extract: the translatable units of a script as a gettext catalog or template, or
// as an XLIFF 2.0 document; with --stats, a table of units, words and characters per kind.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct ExtractCommandOptions {
  TranslationLoadOptions load;
  std::string out;             // -o; standard output when empty
  std::string format;          // "po", "pot" or "xliff"; empty: by the name of -o, else pot
  std::string sourceLanguage = "en";
  std::string targetLanguage;
  bool stats = false;
  bool skipUnconvertible = false;  // leave out units whose bytes do not convert, with a warning
};

int RunExtract(const ExtractCommandOptions& options);

}  // namespace tamrel::tool
