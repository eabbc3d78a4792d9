// Host objects of the terminal program: progress bars on standard error (one line per worker
// thread, redrawn in place) and a log that turns reports into lines naming the script.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/ErrorLog.h"
#include "host/HostObject.h"
#include "host/ProgressHost.h"

namespace tamrel::tool {

// The progress lines of all worker threads. Thread-safe; draws nothing unless enabled.
class ProgressBoard {
 public:
  explicit ProgressBoard(bool enabled) : enabled_(enabled) {}
  ~ProgressBoard() { Suspend(); }
  ProgressBoard(const ProgressBoard&) = delete;
  ProgressBoard& operator=(const ProgressBoard&) = delete;

  void SetSlots(unsigned count);
  // Replaces one slot's line; `force` redraws at once instead of at most every 50 ms.
  void Update(unsigned slot, std::string line, bool force);
  // Erases the board so that the caller can print; Resume draws it again.
  void Suspend();
  void Resume();

 private:
  void EraseLocked();
  void DrawLocked();

  bool enabled_;
  std::mutex mutex_;
  std::vector<std::string> lines_;
  unsigned drawn_ = 0;
  bool suspended_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// The host form of one document: its status text and progress as one line of the board.
class BoardProgress : public ProgressHost {
 public:
  BoardProgress(ProgressBoard& board, unsigned slot, std::string label)
      : board_(board), slot_(slot), label_(std::move(label)) {}

  void SetStatusText(std::string_view text) override;
  std::int32_t GetProgressMax() override { return max_; }
  void SetProgressMax(std::int32_t maximum) override { max_ = maximum; }
  void SetProgressValue(Int16 value) override;
  void Finish() { board_.Update(slot_, std::string(), true); }

 private:
  void Draw(bool force);

  ProgressBoard& board_;
  unsigned slot_;
  std::string label_;
  std::string status_;
  std::int32_t max_ = 0;
  std::int32_t value_ = 0;
  int percent_ = -1;
};

// Collects reports as "PATH: MESSAGE" lines, with "PATH:    at LOCATION" below when there is
// one; message boxes as "PATH: message box: TEXT".
class TextLog : public ErrorLog {
 public:
  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override;
  void MessageBox(std::string_view message, const std::string& path);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace tamrel::tool
