// Loading many scripts at once: expanding the command line's files and directories into
// script paths, and loading them on worker threads (each document on its own thread with its
// own host objects and hooks) while the results are handed out in input order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/clsRC.h"
#include "tamrel-rc/ConsoleHost.h"

namespace tamrel::tool {

// The script paths named by the arguments: files as given; directories' *.rc and *.dlg files
// (letter case ignored) in name order, walking subdirectories when `recursive`. Unreadable or
// missing arguments are kept as paths so that loading them reports the failure.
std::vector<std::string> ExpandInputs(const std::vector<std::string>& arguments, bool recursive,
                                      std::vector<std::string>& errors);

struct LoadResult {
  std::string path;
  std::unique_ptr<clsRC> rc;
  bool loaded = false;
  std::string reports;  // log reports and message boxes, one "PATH: ..." line each
  std::string codePages;  // the code pages the script's text is in, as `load` shows them
  std::shared_ptr<TextLog> log;  // the document's host log, which later calls (PrintLines) report to
};

// Loads every path with up to `jobs` threads (0: one per core). `done` is called on the
// calling thread for each result in input order, as soon as it and all before it are ready.
void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const std::function<void(LoadResult&)>& done);

}  // namespace tamrel::tool
