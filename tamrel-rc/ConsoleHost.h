// Host objects of the terminal program: progress bars on standard error (one line per worker
// thread, redrawn in place, each cut to the terminal's width) and a log that turns reports
// into diagnostics as they come.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/ErrorLog.h"
#include "host/HostObject.h"
#include "host/ProgressHost.h"
#include "diagnostics/Diagnostics.h"

namespace tamrel::tool {

// The progress lines of all worker threads. Thread-safe; draws nothing unless enabled.
class ProgressBoard {
 public:
  explicit ProgressBoard(bool enabled) : enabled_(enabled) {}
  ~ProgressBoard() { Suspend(); }
  ProgressBoard(const ProgressBoard&) = delete;
  ProgressBoard& operator=(const ProgressBoard&) = delete;

  // Whether the board draws at all; a disabled board takes no progress lines.
  bool Enabled() const { return enabled_; }
  void SetSlots(unsigned count);
  // Replaces one slot's line; `force` redraws at once instead of at most every 50 ms.
  void Update(unsigned slot, std::string line, bool force);
  // Erases the board so that the caller can print; Resume draws it again.
  void Suspend();
  void Resume();
  // Writes text to standard error above the board (which is erased and drawn again).
  void Print(std::string_view text);

  // `line` cut to fit in `columns` terminal columns, less one so that the cursor never wraps.
  // A character outside ASCII is counted as two columns (wide characters take two); control
  // characters become "?".
  static std::string FitToWidth(std::string_view line, int columns);

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

// The host form of one document: its status text and progress as one line of the board (when
// there is one), and the line the walk last reached, which places reports that name none.
// Without a board it only follows the line and formats nothing.
class BoardProgress : public ProgressHost {
 public:
  BoardProgress(ProgressBoard* board, unsigned slot, std::string label)
      : board_(board), slot_(slot), label_(std::move(label)) {}

  void SetStatusText(std::string_view text) override;
  std::int32_t GetProgressMax() override { return max_; }
  void SetProgressMax(std::int32_t maximum) override {
    max_ = maximum;
    building_ = true;
  }
  void SetProgressValue(Int16 value) override;
  void Finish() {
    if (board_ != nullptr) board_->Update(slot_, std::string(), true);
  }
  // The last line the walk or a section reader reached: 1 at the start of the walk, 0 before.
  int Line() const { return line_ > 0 ? line_ : building_ ? 1 : 0; }

 private:
  void Draw(bool force);

  ProgressBoard* board_;
  unsigned slot_;
  std::string label_;
  std::string status_;
  std::int32_t max_ = 0;
  std::int32_t value_ = 0;
  int percent_ = -1;
  int line_ = 0;
  bool building_ = false;
};

// Turns each report of the library into a diagnostic and hands it on at once.
class ScriptLog : public ErrorLog {
 public:
  using Sink = std::function<void(Diagnostic)>;
  // `line` gives the line the walk has reached, for reports whose location names none.
  ScriptLog(std::string path, std::function<int()> line, Sink sink)
      : path_(std::move(path)), line_(std::move(line)), sink_(std::move(sink)) {}

  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override;
  // Where later reports go (those of PrintLines after loading, for example). Such reports are
  // about the model, not about a line the walk reached, so they name no line of their own.
  void SetSink(Sink sink) {
    sink_ = std::move(sink);
    line_ = [] { return 0; };
  }
  // Reports received so far.
  int Count() const { return count_; }

 private:
  std::string path_;
  std::function<int()> line_;
  Sink sink_;
  int count_ = 0;
};

}  // namespace tamrel::tool
