// tamrel-rc check: the fit check of every dialog and menu of each script, reported as warnings
// in the diagnostics format (text or JSON lines) on standard output.
#pragma once

#include <optional>
#include <string>

#include "layout/FontMap.h"

#include "tamrel-rc/Commands.h"

namespace tamrel::tool {

struct CheckOptions {
  CommonOptions common;
  std::string format = "text";  // "text" or "json"
  long maxWarnings = 0;         // findings allowed before the exit status is 1
  std::string fontMap;          // a font table replacing the built-in one; empty for the default
};

// The font table of `--font-map` (loaded into `own`), or the built-in one when `path` is empty;
// null after reporting a table that cannot be read on standard error.
const FontMap* ChooseFontMap(const std::string& path, std::optional<FontMap>& own);

// 0 when every script loaded and there are no more findings than allowed, 1 otherwise.
int RunCheck(const CheckOptions& options);

}  // namespace tamrel::tool
