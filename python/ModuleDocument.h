// ModuleDocument: one script as the Python module holds it. The model, the file's bytes as they
// were loaded (the merge puts translations back into them), the code page of each line, and the
// diagnostics of the load. Python objects for items share ownership of it, so an item never
// outlives its document. Calls that run without the interpreter lock read under a shared lock;
// assigning a text takes it exclusively, so a text never changes while another thread writes or
// counts the model.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "document/clsRC.h"
#include "diagnostics/Diagnostics.h"

namespace tamrel::python {

class ModuleLog;

class ModuleDocument {
 public:
  // What a load gives: the document when the script loaded, and every diagnostic made.
  struct LoadOutcome {
    std::shared_ptr<ModuleDocument> document;  // null when the load failed
    std::vector<tool::Diagnostic> diagnostics;
  };

  // Loads the script at `path`. `codePage` is the code page of the lines of an 8-bit script
  // that no "#pragma code_page" covers (none: only ASCII text converts there).
  // `options` chooses the exact or the relaxed reading.
  static LoadOutcome Load(const std::string& path, std::optional<int> codePage, const LoadOptions& options);
  // Loads a script held in memory; `name` is its path in the model and in diagnostics.
  static LoadOutcome LoadBytes(std::string bytes, const std::string& name, std::optional<int> codePage,
                               const LoadOptions& options);

  const clsRC& Model() const noexcept { return rc_; }
  clsRC& Model() noexcept { return rc_; }
  // The file as it was loaded.
  const std::string& FileBytes() const noexcept { return bytes_; }
  std::optional<int> DefaultCodePage() const noexcept { return defaultCodePage_; }
  // The code page a script line is in: the one in force there for an 8-bit script, 65001 for a
  // script held as UTF-8 (read from UTF-16 or behind a UTF-8 mark). Line 0 (text the writer
  // makes up) is in the default.
  int CodePageAt(int line) const;

  // Every report the document's log received (a model the writer cannot write reports there),
  // oldest first.
  std::vector<tool::Diagnostic> Reports() const;

  // Readers (writing, counting, extracting) hold it shared; assigning a text holds it alone.
  std::shared_mutex& Lock() const noexcept { return mutex_; }

  ModuleDocument() = default;
  ModuleDocument(const ModuleDocument&) = delete;
  ModuleDocument& operator=(const ModuleDocument&) = delete;

 private:
  static LoadOutcome LoadFrom(const std::string& openPath, const std::string& name,
                              std::optional<int> codePage, const std::string* bytes, const LoadOptions& options);

  clsRC rc_;
  std::string bytes_;
  std::optional<int> defaultCodePage_;
  std::optional<CodePageMap> codePages_;
  std::shared_ptr<ModuleLog> log_;
  mutable std::shared_mutex mutex_;
};

}  // namespace tamrel::python
