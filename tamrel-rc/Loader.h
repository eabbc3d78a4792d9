// Loading many scripts at once: expanding the command line's files and directories into
// script paths, and loading them on worker threads (each document on its own thread with its
// own host objects and hooks) while the results are handed out in input order. Diagnostics
// are written to standard error as they are made, in input order across scripts.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/clsRC.h"
#include "tamrel-rc/ConsoleHost.h"
#include "tamrel-rc/Diagnostics.h"

namespace tamrel::tool {

// The name "-" stands for standard input; its script is named kStdinName in output.
inline constexpr std::string_view kStdinName = "<stdin>";

enum class DiagnosticsFormat { Text, Json };

struct LoadSettings {
  bool force = false;  // load files that look like binary data all the same
  DiagnosticsFormat diagnostics = DiagnosticsFormat::Text;
};

// The script paths named by the arguments: files as given; directories' *.rc and *.dlg files
// (letter case ignored) in name order, walking subdirectories when `recursive`. Unreadable or
// missing arguments are kept as paths so that loading them reports the failure; "-" is kept.
std::vector<std::string> ExpandInputs(const std::vector<std::string>& arguments, bool recursive,
                                      std::vector<std::string>& errors);

struct LoadResult {
  std::string path;  // as the user named it; kStdinName for "-"
  std::unique_ptr<clsRC> rc;
  bool loaded = false;
  int diagnostics = 0;                // diagnostics written for this script
  std::optional<Diagnostic> failure;  // when not loaded: the last error, or where loading stopped
  std::shared_ptr<ScriptLog> log;     // the document's log; later reports go to standard error
  std::string codePages;              // the code pages the script's text is in, as `load` shows them
};

// Whether the first bytes of a file show binary data rather than a script: a NUL byte, unless
// the file starts with a UTF-16 byte-order mark. Sets `utf16` when the NULs fall in the pattern
// of UTF-16 text without a mark.
bool LooksBinary(std::string_view head, bool& utf16);

// Loads every path with up to `jobs` threads (0: one per core). `done` is called on the
// calling thread for each result in input order, as soon as it and all before it are ready;
// an exception from `done` stops the loading (scripts being loaded are finished, no new one
// is started) and passes on.
void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const LoadSettings& settings, const std::function<void(LoadResult&)>& done);

// Writes one diagnostic to standard error in the chosen format. For use in `done`, where the
// script is the current one of the input order.
void WriteDiagnostic(const Diagnostic& diagnostic, DiagnosticsFormat format, ProgressBoard* board);

}  // namespace tamrel::tool
