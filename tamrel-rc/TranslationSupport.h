// What the translation commands (extract, merge, pseudo) share: loading one script with its
// file's bytes, the units of its model, messages on standard error, and writing a result to a
// file (replaced only once the whole result exists) or to standard output.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tamrel-rc/Loader.h"
#include "tamrel-rc/ScriptText.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"

namespace tamrel::tool {

struct TranslationLoadOptions {
  std::string command;  // "extract", "merge" or "pseudo", for messages
  std::string file;
  bool quiet = false;
  LoadSettings loading;
  CodePageOptions codePages;
};

// Loads the script and calls `use` with its document, the file's bytes and its units when it
// loaded. Returns 1 when it did not load (its diagnostics are on standard error), 2 when the
// path is a directory, else what `use` returns. Standard input ("-") can be read only when `needsBytes` is false: a merge
// needs the file's bytes a second time.
int WithLoadedScript(const TranslationLoadOptions& options, bool needsBytes,
                     const std::function<int(const LoadResult&, const std::string& bytes,
                                             const std::vector<TranslationUnit>& units, ProgressBoard& board)>& use);

// Writes "PATH: SEVERITY: TEXT" (or the diagnostic JSON) for each message.
void ReportMessages(std::string_view path, const std::vector<std::string>& messages, std::string_view severity,
                    const LoadSettings& settings, ProgressBoard& board);

// Writes "PATH:LINE: SEVERITY: TEXT" (or the diagnostic JSON) for each (line, message).
void ReportAtLines(std::string_view path, const std::vector<std::pair<int, std::string>>& messages,
                   std::string_view severity, const LoadSettings& settings, ProgressBoard& board);

// Writes the bytes to `path`, or to standard output when it is empty. A file is written under a
// temporary name beside it and renamed, so a failure leaves no partial file. Returns false
// (after a message) when the file cannot be written.
bool WriteResult(const std::string& path, std::string_view bytes);

// Reads a whole file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// What a merge into a file said: its warnings, its errors (then nothing was written) and
// whether the file was written.
struct MergeReport {
  std::vector<std::string> warnings;
  std::vector<std::string> errors;
  std::string merged;  // the merged script, when there are no errors
  bool written = false;
};

// Merges `entries`, reporting nothing: safe on worker threads that share the document.
// Translated entries none of which names a unit of the script are an error; some that name
// none are a warning each and a count at the end.
MergeReport MergeBytes(const clsRC& rc, const std::string& bytes, const std::vector<TranslationUnit>& units,
                       const std::vector<CatalogEntry>& entries, const MergeOptions& options);

// MergeBytes, then the result written to `out` unless there are errors.
MergeReport MergeToFile(const clsRC& rc, const std::string& bytes, const std::vector<TranslationUnit>& units,
                        const std::vector<CatalogEntry>& entries, const MergeOptions& options, const std::string& out);

// Merges `entries` (or the given translations, one per unit) and writes the result; the exit
// status. Translated entries none of which names a unit of the script are an error (nothing
// written); some that name none are a warning each and a count at the end. With `write`, the
// merged bytes go to it instead of to `out`, and its status is returned.
int MergeAndWrite(const LoadResult& result, const std::string& bytes, const std::vector<TranslationUnit>& units,
                  const std::vector<CatalogEntry>& entries, const MergeOptions& options, const std::string& out,
                  const LoadSettings& settings, ProgressBoard& board,
                  const std::function<int(const std::string& merged)>& write = {});

}  // namespace tamrel::tool
