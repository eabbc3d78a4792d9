// The commands of tamrel-rc. Each returns the program's exit status: 0 when every script
// loaded, 1 when any failed, 2 for a usage error.
#pragma once

#include <string>
#include <vector>

#include "tamrel-rc/Loader.h"
#include "tamrel-rc/ScriptText.h"

namespace tamrel::tool {

struct CommonOptions {
  std::vector<std::string> inputs;  // files and directories
  bool recursive = false;           // walk directories for *.rc and *.dlg
  unsigned jobs = 0;                // worker threads; 0 = one per core
  bool quiet = false;               // no progress bars
  LoadSettings loading;             // --force, --diagnostics
  CodePageOptions codePages;        // load: the code pages shown
};

struct PrintOptions {
  std::string file;
  std::string eol = "crlf";  // "crlf" or "lf"
  std::string encoding;      // "", "utf-8", "utf-16le" or "code-page"; "" keeps the script's own
  bool quiet = false;
  LoadSettings loading;
  CodePageOptions codePages;
};

struct CountOptions {
  CommonOptions common;
  bool words = false;          // count words instead of pieces
  std::string format = "table";  // "table" or "tsv"
};

struct DumpOptions {
  std::string file;
  bool json = false;
  bool quiet = false;
  LoadSettings loading;
  CodePageOptions codePages;
};

int RunLoad(const CommonOptions& options);
int RunPrint(const PrintOptions& options);
int RunCount(const CountOptions& options);
int RunDump(const DumpOptions& options);

}  // namespace tamrel::tool
