// Drawing the progress board and formatting log reports for the terminal.
#include "tamrel-rc/ConsoleHost.h"

#include <cstdio>

namespace tamrel::tool {

void ProgressBoard::SetSlots(unsigned count) {
  std::lock_guard lock(mutex_);
  lines_.assign(count, std::string());
}

void ProgressBoard::Update(unsigned slot, std::string line, bool force) {
  if (!enabled_) return;
  std::lock_guard lock(mutex_);
  if (slot >= lines_.size()) lines_.resize(slot + 1);
  lines_[slot] = std::move(line);
  auto now = std::chrono::steady_clock::now();
  if (suspended_ || (!force && now - lastDraw_ < std::chrono::milliseconds(50))) return;
  lastDraw_ = now;
  EraseLocked();
  DrawLocked();
}

void ProgressBoard::Suspend() {
  if (!enabled_) return;
  std::lock_guard lock(mutex_);
  EraseLocked();
  suspended_ = true;
}

void ProgressBoard::Resume() {
  if (!enabled_) return;
  std::lock_guard lock(mutex_);
  suspended_ = false;
  DrawLocked();
}

void ProgressBoard::EraseLocked() {
  if (drawn_ == 0) return;
  std::fprintf(stderr, "\033[%uA\r\033[J", drawn_);
  drawn_ = 0;
}

void ProgressBoard::DrawLocked() {
  for (const std::string& line : lines_) {
    if (line.empty()) continue;
    std::fprintf(stderr, "%s\033[K\n", line.c_str());
    ++drawn_;
  }
  std::fflush(stderr);
}

void BoardProgress::SetStatusText(std::string_view text) {
  status_ = std::string(text);
  Draw(true);
}

void BoardProgress::SetProgressValue(Int16 value) {
  value_ = value;
  Draw(false);
}

void BoardProgress::Draw(bool force) {
  int percent = max_ > 0 ? static_cast<int>(100LL * value_ / max_) : 0;
  if (!force && percent == percent_) return;  // redraw only when the bar moves
  percent_ = percent;
  constexpr int kWidth = 30;
  std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
  bar.resize(kWidth, '.');
  char text[64];
  std::snprintf(text, sizeof text, "  %-20s [%s] %3d%%", status_.c_str(), bar.c_str(), percent);
  board_.Update(slot_, label_ + text, force);
}

void TextLog::Log(const std::string& message, const std::optional<std::string>& location,
                  const std::string& path) {
  text_ += path + ": " + message + "\n";
  if (location) text_ += path + ":    at " + *location + "\n";
}

void TextLog::MessageBox(std::string_view message, const std::string& path) {
  text_ += path + ": message box: ";
  text_.append(message).append("\n");
}

}  // namespace tamrel::tool
