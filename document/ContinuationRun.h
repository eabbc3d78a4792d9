// ContinuationRun: the statements that start on the lines of one continuation run (lines that
// end in ",", "|" or "NOT", and the line that ends them), as the walk splits them with a blank
// separator. The statement that starts on a line is a suffix of the one that starts on the line
// before, so the run's text is joined once and each line's statement is a view into it; and
// once the scan of one statement reaches a line boundary in the same state as the scan of a
// later statement did, everything after it is shared. That keeps the whole run linear instead
// of joining, splitting and searching the rest of the run again at every line.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Collection.h"

namespace tamrel {

class ContinuationRun {
 public:
  // What splitting one line's statement gives, as far as the walk needs it.
  struct Outcome {
    std::int32_t Count = 0;     // tokens, "ERROR" included
    std::int32_t Keyword = 0;   // 1-based position of the first keyword token, 0 for none
    std::int16_t Which = -1;    // that keyword's position in the keyword list
    std::optional<std::string_view> OverflowStep;  // "03" or "04" when the split overflowed
    int OverflowStage = 0;      // the pipeline stage that overflowed (3, 4 or 5)
    std::int32_t OverflowToken = 0;  // stage 5: the token that overflowed
  };

  // The run that starts at the 1-based line `first` of `lines`. Raises what joining the run
  // line by line raises: error 9 when it runs past the last line, error 6 past line 32,767.
  ContinuationRun(const LineCollection& lines, std::int32_t first,
                  std::span<const std::string_view> keywords);

  // A line without outer blanks and tabs; a line of blanks and tabs only keeps what removing
  // its outer blanks left.
  static std::string_view TrimWhite(std::string_view text) noexcept;
  // Whether a trimmed line continues its statement on the next line.
  static bool Continues(std::string_view trimmed) noexcept;

  bool Contains(std::int32_t line) const noexcept { return line >= first_ && line <= last_; }
  // The statement that starts at `line`, exactly as GetFullLine gives it.
  std::string_view Statement(std::int32_t line) const;
  const Outcome& At(std::int32_t line) const { return outcomes_[Index(line)]; }
  // The location of the overflow report of the statement at `line`, as far as a report keeps it.
  std::string OverflowLocation(std::int32_t line) const;

 private:
  std::size_t Index(std::int32_t line) const noexcept { return static_cast<std::size_t>(line - first_); }
  void ScanAll(std::span<const std::string_view> keywords);

  std::int32_t first_ = 0, last_ = 0;
  std::string joined_;                 // " " + each trimmed line, as GetFullLine joins them
  std::size_t scanned_ = 0;            // joined_ without its trailing blanks
  std::vector<std::size_t> offsets_;   // where each line's statement starts in joined_
  std::vector<Outcome> outcomes_;

  // The "|" stage run once over the whole run, built when a report first needs it: its output,
  // and after each character its state and how much output it had flushed. A statement whose
  // own scan reaches the same state at the same character names the rest from here.
  struct Anchor {
    std::size_t start = 0;
    std::string output;
    std::vector<std::uint8_t> states;
    std::vector<std::uint32_t> flushed;
  };
  mutable std::unique_ptr<Anchor> anchor_;
  const Anchor& Anchor3() const;
};

}  // namespace tamrel
