// Drawing the progress line and formatting log reports for the terminal.
#include "tamrel-rc/ConsoleHost.h"

#include <cstdio>

namespace tamrel::tool {

TerminalProgress::~TerminalProgress() { Finish(); }

void TerminalProgress::SetStatusText(std::string_view text) {
  status_ = std::string(text);
  Draw(true);
}

void TerminalProgress::SetProgressMax(std::int32_t maximum) {
  max_ = maximum;
  lastPercent_ = -1;
}

void TerminalProgress::SetProgressValue(Int16 value) {
  value_ = value;
  Draw(false);
}

void TerminalProgress::Draw(bool force) {
  if (!enabled_) return;
  int percent = max_ > 0 ? static_cast<int>(100LL * value_ / max_) : 0;
  if (!force && percent == lastPercent_) return;  // redraw only when the bar moves
  lastPercent_ = percent;
  constexpr int kWidth = 30;
  int filled = percent * kWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '.');
  std::fprintf(stderr, "\r\033[K%s  %-22s [%s] %3d%%", label_.c_str(), status_.c_str(), bar.c_str(), percent);
  std::fflush(stderr);
  drawn_ = true;
}

void TerminalProgress::Finish() {
  if (!drawn_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

void TextLog::Log(const std::string& message, const std::optional<std::string>& location,
                  const std::string& path) {
  text_ += path + ": " + message + "\n";
  if (location) text_ += "    at " + *location + "\n";
}

}  // namespace tamrel::tool
