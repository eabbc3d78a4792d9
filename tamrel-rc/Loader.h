// Loading many scripts at once: expanding the command line's files and directories into
// script paths, and loading them on worker threads (each document on its own thread with its
// own host objects and hooks) while the results are handed out in input order. Only a few
// results per thread wait at any time, so memory stays flat however many scripts there are.
// Diagnostics are written to standard error as they are made, in input order across scripts.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/clsRC.h"
#include "tamrel-rc/ConsoleHost.h"
#include "diagnostics/Diagnostics.h"

namespace tamrel::tool {

// The name "-" stands for standard input; its script is named kStdinName in output.
inline constexpr std::string_view kStdinName = "<stdin>";

enum class DiagnosticsFormat { Text, Json };

struct LoadSettings {
  bool force = false;  // load files that look like binary data all the same
  DiagnosticsFormat diagnostics = DiagnosticsFormat::Text;
  // One note per script naming the controls and resources the model holds no text of.
  bool noteUnread = false;
  // The tool reads relaxed unless --strict asks for the library's exact layout.
  LoadOptions options{Layout::Relaxed};
};

// The note on what a loaded model left unread: how many controls and resources, of which
// kinds, and the first line of each kind; nothing when everything was read.
std::optional<Diagnostic> UnreadNote(const std::string& path, const clsRC& rc);
// The note on a script with sections in several languages: the language taken and each run of
// sections not taken, with its lines. Empty when nothing was skipped.
std::optional<Diagnostic> LanguageNote(const std::string& path, const clsRC& rc);

// The script paths named by the arguments: files as given; directories' *.rc and *.dlg files
// (letter case ignored) in name order, walking subdirectories when `recursive`. Unreadable or
// missing arguments are kept as paths so that loading them reports the failure; "-" is kept.
std::vector<std::string> ExpandInputs(const std::vector<std::string>& arguments, bool recursive,
                                      std::vector<std::string>& errors);

struct LoadResult {
  std::string path;  // as the user named it; kStdinName for "-"
  std::unique_ptr<clsRC> rc;          // null once a summarising step has dropped the model
  bool loaded = false;
  bool refused = false;               // not read at all (binary data)
  int diagnostics = 0;                // diagnostics written for this script
  std::optional<Diagnostic> failure;  // when not loaded: the last error, or where loading stopped
  std::shared_ptr<ScriptLog> log;     // the document's log; later reports go to standard error
  std::any summary;                   // what a summarising step made of the script for the command
};

// How many scripts each worker thread may load ahead of the result being handed out.
inline constexpr std::size_t kAheadPerJob = 4;

// Writes one diagnostic of the current script to standard error, in input order.
using Report = std::function<void(const Diagnostic&)>;

// A command's work on a loaded script that needs the model: it runs on the worker thread that
// loaded the script, right after loading, and keeps what the command prints in
// LoadResult::summary; the model is dropped after it.
using Summarise = std::function<void(LoadResult& result, const Report& report)>;

// Loads every path with up to `jobs` threads (0: one per core). `done` is called on the
// calling thread for each result in input order, as soon as it and all before it are ready;
// an exception from `done` stops the loading (scripts being loaded are finished, no new one
// is started) and passes on. Loading runs at most a few scripts per thread ahead of `done`.
// With `summarise`, each result reaches `done` summarised and without its model.
//
// Meant as the last work of the program: the model of the last script is not destroyed (the
// system takes the memory back at exit at no cost), except in builds with a leak checker.
void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const LoadSettings& settings, const Summarise& summarise,
             const std::function<void(LoadResult&)>& done);
// The same without a summarising step: `done` receives each model.
void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const LoadSettings& settings, const std::function<void(LoadResult&)>& done);

// Writes one diagnostic to standard error in the chosen format. For use in `done`, where the
// script is the current one of the input order.
void WriteDiagnostic(const Diagnostic& diagnostic, DiagnosticsFormat format, ProgressBoard* board);

}  // namespace tamrel::tool
