// Drawing the progress board and turning log reports into diagnostics.
#include "tamrel-rc/ConsoleHost.h"

#include <sys/ioctl.h>
#include <unistd.h>

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

void ProgressBoard::Print(std::string_view text) {
  std::lock_guard lock(mutex_);
  if (enabled_ && !suspended_) EraseLocked();
  std::fwrite(text.data(), 1, text.size(), stderr);
  if (enabled_ && !suspended_) DrawLocked();
  std::fflush(stderr);
}

std::string ProgressBoard::FitToWidth(std::string_view line, int columns) {
  const int room = columns - 1;
  std::string out;
  int used = 0;
  for (std::size_t i = 0; i < line.size();) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    std::size_t length = 1;
    if (c >= 0x80)
      while (i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) ++length;
    const int width = c >= 0x80 ? 2 : 1;
    if (used + width > room) break;
    used += width;
    // A control character (a line end or an escape in a file name) would move the cursor.
    if (c < 0x20 || c == 0x7F) out += '?';
    else out.append(line.substr(i, length));
    i += length;
  }
  return out;
}

void ProgressBoard::EraseLocked() {
  if (drawn_ == 0) return;
  std::fprintf(stderr, "\033[%uA\r\033[J", drawn_);
  drawn_ = 0;
}

void ProgressBoard::DrawLocked() {
  // The width is asked for at every draw, so a resized terminal is followed at the next update.
  winsize size{};
  const int columns = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
  for (const std::string& line : lines_) {
    if (line.empty()) continue;
    std::fprintf(stderr, "%s\033[K\n", FitToWidth(line, columns).c_str());
    ++drawn_;
  }
  std::fflush(stderr);
}

void BoardProgress::SetStatusText(std::string_view text) {
  if (board_ == nullptr) return;
  status_ = std::string(text);
  Draw(true);
}

void BoardProgress::SetProgressValue(Int16 value) {
  value_ = value;
  if (value > 0) line_ = value;
  Draw(false);
}

void BoardProgress::Draw(bool force) {
  if (board_ == nullptr) return;
  int percent = max_ > 0 ? static_cast<int>(100LL * value_ / max_) : 0;
  if (!force && percent == percent_) return;  // redraw only when the bar moves
  percent_ = percent;
  constexpr int kWidth = 30;
  std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
  bar.resize(kWidth, '.');
  char text[64];
  std::snprintf(text, sizeof text, "  %-20s [%s] %3d%%", status_.c_str(), bar.c_str(), percent);
  board_->Update(slot_, label_ + text, force);
}

void ScriptLog::Log(const std::string& message, const std::optional<std::string>& location,
                    const std::string&) {
  ++count_;
  sink_(DiagnosticFromReport(path_, message, location, line_()));
}

}  // namespace tamrel::tool
