// Host objects of the terminal program: a host form drawn on standard error and a log that
// prints every report there, each line naming the script.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/ErrorLog.h"
#include "host/HostObject.h"
#include "host/ProgressHost.h"

namespace tamrel::tool {

// Status text and a progress bar on one line of standard error, redrawn in place. Draws
// nothing unless `enabled` (standard error is a terminal and --quiet was not given).
class TerminalProgress : public ProgressHost {
 public:
  TerminalProgress(std::string label, bool enabled) : label_(std::move(label)), enabled_(enabled) {}
  ~TerminalProgress() override;

  void SetStatusText(std::string_view text) override;
  std::int32_t GetProgressMax() override { return max_; }
  void SetProgressMax(std::int32_t maximum) override;
  void SetProgressValue(Int16 value) override;

  // Clears the line drawn so far.
  void Finish();

 private:
  void Draw(bool force);

  std::string label_;
  std::string status_;
  bool enabled_;
  bool drawn_ = false;
  std::int32_t max_ = 0;
  std::int32_t value_ = 0;
  int lastPercent_ = -1;
};

// Collects reports as "PATH: MESSAGE" lines, with "    at LOCATION" below when there is one.
class TextLog : public ErrorLog {
 public:
  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace tamrel::tool
