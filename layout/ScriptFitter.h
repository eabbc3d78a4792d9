// FitScript: every dialog of a loaded script whose texts do not fit, fitted (DialogFitter) and
// written back into the script's own bytes (PlacementRewriter), then checked again.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/CodePage.h"
#include "layout/DialogFitter.h"
#include "layout/FitChecker.h"

namespace tamrel {

class clsRC;
class FontMap;

struct ScriptFit {
  std::vector<FitChange> changes;     // in script order of the dialogs, each dialog's in the order made
  // The overflow and outside-dialog findings of the dialogs fitted, as the check gives them on
  // the fitted script, and how many there were before.
  std::vector<FitFinding> remaining;
  int findingsBefore = 0;
  // (line, message) for dialogs left as they were although they had findings to mend, and why.
  std::vector<std::pair<int, std::string>> skipped;
  std::string error;  // the file could not be rewritten (it no longer matches the model)
  std::string bytes;  // the fitted file; the given bytes when nothing changed

  bool Changed() const { return !changes.empty(); }
};

// Fits the dialogs of `rc` (only the one `dialogId` names, letter case ignored, when not empty),
// loaded from `fileBytes`, with its texts read in `codePages`. A font that is not installed
// raises FontError.
ScriptFit FitScript(const clsRC& rc, std::string_view fileBytes, const FontMap& fonts, const CodePageMap& codePages,
                    const FitOptions& options, std::string_view dialogId = {});

}  // namespace tamrel
