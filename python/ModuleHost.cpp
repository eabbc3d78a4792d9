// The module's host log: library reports as diagnostics.
#include "python/ModuleHost.h"

namespace tamrel::python {

void ModuleLog::Log(const std::string& message, const std::optional<std::string>& location,
                    const std::string&) {
  // The path the library names may be a file descriptor of a script given in memory; the
  // diagnostic names the script as the caller did.
  std::lock_guard lock(mutex_);
  diagnostics_.push_back(tool::DiagnosticFromReport(name_, message, location, line_ ? line_() : 0));
}

void ModuleLog::Add(tool::Diagnostic diagnostic) {
  std::lock_guard lock(mutex_);
  diagnostics_.push_back(std::move(diagnostic));
}

void ModuleLog::LoadingDone() {
  std::lock_guard lock(mutex_);
  line_ = nullptr;
}

std::vector<tool::Diagnostic> ModuleLog::Diagnostics() const {
  std::lock_guard lock(mutex_);
  return diagnostics_;
}

std::size_t ModuleLog::Count() const {
  std::lock_guard lock(mutex_);
  return diagnostics_.size();
}

}  // namespace tamrel::python
