// tamrel-rc fit: a script with the dialogs whose texts do not fit resized in place, and
// merge --fit, which fits the merged script before writing it.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct FitCommandOptions {
  TranslationLoadOptions load;
  std::string format;           // --format text|json: the reports' format, as --diagnostics
  std::string out;              // -o; standard output when empty
  double maxGrowth = 50.0;      // --max-growth: percent the dialog may grow by
  std::string dialog;           // --dialog: only this dialog (its ID, letter case ignored)
  bool dryRun = false;          // report the changes, write nothing
  std::string fontMap;          // --font-map
};

// Exit status 0 when every text fits afterwards, 1 when findings remain or a step failed, 2 for
// a font table that cannot be read or a path that is a directory.
int RunFit(const FitCommandOptions& options);

// Fits a script made in memory (`bytes`, say a merge's result) and writes it as RunFit does;
// reports name the script `name`. The script is loaded again from a temporary file.
int FitAndWrite(const std::string& name, const std::string& bytes, const FitCommandOptions& options,
                ProgressBoard& board);

}  // namespace tamrel::tool
