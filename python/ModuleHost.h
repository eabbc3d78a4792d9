// The host objects the Python module hands to a document while it loads: a form that only
// follows the line the walk has reached, and a log that turns each report into a diagnostic.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ErrorLog.h"
#include "host/ProgressHost.h"
#include "diagnostics/Diagnostics.h"

namespace tamrel::python {

// The line the walk or a section reader last reached: 1 once the build has started, 0 before.
class ModuleProgress : public ProgressHost {
 public:
  void SetStatusText(std::string_view) override {}
  std::int32_t GetProgressMax() override { return max_; }
  void SetProgressMax(std::int32_t maximum) override {
    max_ = maximum;
    building_ = true;
  }
  void SetProgressValue(Int16 value) override { line_ = value; }
  int Line() const { return line_ > 0 ? line_.load() : building_ ? 1 : 0; }

 private:
  std::atomic<std::int32_t> max_ = 0;
  std::atomic<int> line_ = 0;
  std::atomic<bool> building_ = false;
};

// Collects the reports of one document as diagnostics named after the script. Reports made
// while the model is written (on any thread) are collected too.
class ModuleLog : public ErrorLog {
 public:
  ModuleLog(std::string name, std::function<int()> line) : name_(std::move(name)), line_(std::move(line)) {}

  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override;
  // Adds a diagnostic made outside the library (a message box, a load that stopped silently).
  void Add(tool::Diagnostic diagnostic);
  // Stops naming the walk's line: later reports are about the model, not a line reached.
  void LoadingDone();
  std::vector<tool::Diagnostic> Diagnostics() const;
  std::size_t Count() const;

 private:
  std::string name_;
  std::function<int()> line_;
  mutable std::mutex mutex_;
  std::vector<tool::Diagnostic> diagnostics_;
};

}  // namespace tamrel::python
