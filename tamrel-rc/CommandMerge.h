// tamrel-rc merge: a script with the translations of a PO or XLIFF file put in place; with
// --language, in that language; with --po-dir, one script per catalog of a folder.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct MergeCommandOptions {
  TranslationLoadOptions load;
  std::string translations;  // a .po or .xlf/.xliff file (told apart by content when neither)
  std::string out;           // -o; standard output when empty; with poDir it holds "{lang}"
  bool useFuzzy = false;
  bool force = false;        // apply translations whose printf conversions differ
  std::string encoding;      // "", "utf-8" or "utf-16"
  bool fit = false;          // --fit: fit the merged script's dialogs before writing it
  double maxGrowth = 50.0;   // --max-growth with --fit
  std::string language;      // --language: a locale tag or LANGUAGE arguments; "" keeps the script's
  double threshold = 0;      // --threshold: percent of units a catalog must translate to be written
  std::string poDir;         // --po-dir: every LANG.po / LANG.xlf of the folder, one script each
  unsigned jobs = 0;         // -j with --po-dir; 0: one per core
};

int RunMerge(const MergeCommandOptions& options);

}  // namespace tamrel::tool
