// tamrel-rc merge: a script with the translations of a PO or XLIFF file put in place.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct MergeCommandOptions {
  TranslationLoadOptions load;
  std::string translations;  // a .po or .xlf/.xliff file (told apart by content when neither)
  std::string out;           // -o; standard output when empty
  bool useFuzzy = false;
  bool force = false;        // apply translations whose printf conversions differ
  std::string encoding;      // "", "utf-8" or "utf-16"
  bool fit = false;          // --fit: fit the merged script's dialogs before writing it
  double maxGrowth = 50.0;   // --max-growth with --fit
};

int RunMerge(const MergeCommandOptions& options);

}  // namespace tamrel::tool
