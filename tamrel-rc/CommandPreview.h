// tamrel-rc preview: an HTML page that draws a script's dialogs at real size with the fit
// check's findings on them.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct PreviewCommandOptions {
  TranslationLoadOptions load;
  std::string out;      // -o; standard output when empty
  std::string dialog;   // --dialog: only this dialog (its ID, letter case ignored)
  std::string fontMap;  // --font-map: a font table instead of the built-in one
  std::string before;   // --before: a script whose dialogs are drawn beside those of the same ID
};

int RunPreview(const PreviewCommandOptions& options);

}  // namespace tamrel::tool
