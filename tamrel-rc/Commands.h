// The commands of tamrel-rc. Each returns the program's exit status: 0 when every script
// loaded, 1 when any failed, 2 for a usage error.
#pragma once

#include <string>
#include <vector>

namespace tamrel::tool {

struct CommonOptions {
  std::vector<std::string> inputs;  // files and directories
  bool recursive = false;           // walk directories for *.rc and *.dlg
  unsigned jobs = 0;                // worker threads; 0 = one per core
  bool quiet = false;               // no progress bars
};

int RunLoad(const CommonOptions& options);

}  // namespace tamrel::tool
