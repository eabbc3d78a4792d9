// tamrel-rc check: the fit check of every dialog and menu of each script, reported as warnings
// in the diagnostics format (text or JSON lines) on standard output.
#pragma once

#include <string>

#include "tamrel-rc/Commands.h"

namespace tamrel::tool {

struct CheckOptions {
  CommonOptions common;
  std::string format = "text";  // "text" or "json"
  long maxWarnings = 0;         // findings allowed before the exit status is 1
  std::string fontMap;          // a font table replacing the built-in one; empty for the default
};

// 0 when every script loaded and there are no more findings than allowed, 1 otherwise.
int RunCheck(const CheckOptions& options);

}  // namespace tamrel::tool
