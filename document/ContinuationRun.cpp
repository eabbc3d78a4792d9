// Continuation runs: the joined text, and the statements of its lines scanned from the last to
// the first, each one sharing the scan of a later statement from the first line boundary where
// both scans are in the same state.
#include "document/ContinuationRun.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "common/RCError.h"
#include "document/StatementScanner.h"

namespace tamrel {
namespace {

constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min() / 4;
constexpr std::int32_t kMaxLine = 32767;  // line numbers are 16-bit

// What the scan from a line boundary on adds, relative to the scanner's counters there.
struct Summary {
  std::int32_t count = 0;          // tokens emitted from the boundary to the end
  std::int32_t firstKeyword = 0;   // 1-based among them, 0 for none
  std::int16_t which = -1;
  std::int64_t currentGain = 0;    // characters the token being built at the boundary still gains
  std::int32_t firstLongAfterCurrent = 0;  // first later token that overflows, 0 for none
  std::int64_t max3 = kNone;       // largest position check after the boundary, minus the
  std::int64_t max4 = kNone;       // counter at the boundary
};

// A point of a scan: the line boundary it stands at and the scanner's counters there.
struct Mark {
  std::int32_t line = 0;
  std::int64_t out3 = 0, out4 = 0, tokenLength = 0;
  std::size_t records = 0, checks3 = 0, checks4 = 0;
};

struct MemoKey {
  std::int32_t line;
  StatementScanner::StateKey state;
  bool operator==(const MemoKey&) const = default;
};

struct MemoHash {
  std::size_t operator()(const MemoKey& k) const noexcept {
    const StatementScanner::StateKey& s = k.state;
    std::size_t h = std::hash<std::string>{}(s.Token) ^ (static_cast<std::size_t>(k.line) * 0x9E3779B97F4A7C15ULL);
    std::size_t bits = (s.InQuotes3 << 0) | (s.SkipNext << 1) | (s.ConsumeBlank << 2) | (s.HeldBlank3 << 3) |
                       (s.InQuotes4 << 4) | (s.InQuotes5 << 5) | (s.AfterSplit << 6) | (s.SplitHappened << 7) |
                       (s.TokenNonBlank << 8) | (s.TokenLong << 9);
    return h ^ (bits * 0xBF58476D1CE4E5B9ULL) ^ (static_cast<std::size_t>(s.HeldBlanks4) * 0x94D049BB133111EBULL);
  }
};

Mark MarkOf(const StatementScanner& scanner, std::int32_t line) {
  return Mark{line,
              scanner.Out3(),
              scanner.Out4(),
              scanner.TokenLength(),
              scanner.Records().size(),
              scanner.Checks3().size(),
              scanner.Checks4().size()};
}

// The summaries of every mark of one finished scan, from its records and the summary of what
// follows its end (`tail`, at `end`).
class ScanSummaries {
 public:
  void Reset(const StatementScanner& scanner, const Mark& end, const Summary& tail) {
    records_ = &scanner.Records();
    end_ = end;
    tail_ = tail;
    const std::vector<StatementScanner::TokenRecord>& records = *records_;
    const std::size_t n = end.records;
    nextKeyword_.assign(n + 1, n);
    nextLong_.assign(n + 1, n);
    for (std::size_t j = n; j-- > 0;) {
      nextKeyword_[j] = records[j].Keyword >= 0 ? j : nextKeyword_[j + 1];
      nextLong_[j] = records[j].Length >= StatementScanner::kMaxPosition ? j : nextLong_[j + 1];
    }
    SuffixMax(scanner.Checks3(), end.checks3, end.out3, tail.max3, max3_);
    SuffixMax(scanner.Checks4(), end.checks4, end.out4, tail.max4, max4_);
  }

  Summary At(const Mark& p) const {
    const std::size_t n = end_.records - p.records;  // tokens emitted between p and the end
    const auto rel = [&](std::size_t j) { return static_cast<std::int32_t>(j - p.records + 1); };
    Summary s;
    s.count = static_cast<std::int32_t>(n) + tail_.count;
    const std::vector<StatementScanner::TokenRecord>& records = *records_;
    s.currentGain = n > 0 ? records[p.records].Length - p.tokenLength
                          : end_.tokenLength - p.tokenLength + tail_.currentGain;
    if (std::size_t k = nextKeyword_[p.records]; k < end_.records) {
      s.firstKeyword = rel(k);
      s.which = records[k].Keyword;
    } else if (tail_.firstKeyword > 0) {
      s.firstKeyword = static_cast<std::int32_t>(n) + tail_.firstKeyword;
      s.which = tail_.which;
    }
    if (n > 1 && nextLong_[p.records + 1] < end_.records) {
      s.firstLongAfterCurrent = rel(nextLong_[p.records + 1]);
    } else if (n > 0) {
      // The token being built at the end started after p, so its length counts from empty.
      if (end_.tokenLength + tail_.currentGain >= StatementScanner::kMaxPosition && tail_.count > 0)
        s.firstLongAfterCurrent = static_cast<std::int32_t>(n) + 1;
      else if (tail_.firstLongAfterCurrent > 0)
        s.firstLongAfterCurrent = static_cast<std::int32_t>(n) + tail_.firstLongAfterCurrent;
    } else {
      s.firstLongAfterCurrent = tail_.firstLongAfterCurrent;
    }
    s.max3 = Relative(max3_[p.checks3], p.out3);
    s.max4 = Relative(max4_[p.checks4], p.out4);
    return s;
  }

 private:
  static std::int64_t Relative(std::int64_t value, std::int64_t base) { return value == kNone ? kNone : value - base; }

  static void SuffixMax(const std::vector<std::int64_t>& checks, std::size_t n, std::int64_t endOut,
                        std::int64_t tailMax, std::vector<std::int64_t>& out) {
    out.assign(n + 1, tailMax == kNone ? kNone : endOut + tailMax);
    for (std::size_t j = n; j-- > 0;) out[j] = std::max(out[j + 1], checks[j]);
  }

  const std::vector<StatementScanner::TokenRecord>* records_ = nullptr;
  Mark end_;
  Summary tail_;
  std::vector<std::size_t> nextKeyword_, nextLong_;
  std::vector<std::int64_t> max3_, max4_;
};

ContinuationRun::Outcome OutcomeOf(const Summary& s) {
  ContinuationRun::Outcome o;
  if (s.max3 != kNone && s.max3 >= StatementScanner::kMaxPosition) {
    o.Count = 1;
    o.OverflowStep = "03";
    o.OverflowStage = 3;
    return o;
  }
  if (s.max4 != kNone && s.max4 > StatementScanner::kMaxPosition) {
    o.Count = 1;
    o.OverflowStep = "04";
    o.OverflowStage = 4;
    return o;
  }
  std::int32_t overflowing = 0;
  if (s.count > 0 && s.currentGain >= StatementScanner::kMaxPosition) overflowing = 1;
  else overflowing = s.firstLongAfterCurrent;
  o.Count = s.count;
  if (overflowing > 0) {
    o.Count = overflowing;  // the tokens before it and "ERROR"
    o.OverflowStep = "04";
    o.OverflowStage = 5;
    o.OverflowToken = overflowing;
  }
  if (s.firstKeyword > 0 && (overflowing == 0 || s.firstKeyword < overflowing)) {
    o.Keyword = s.firstKeyword;
    o.Which = s.which;
  }
  return o;
}

}  // namespace

std::string_view ContinuationRun::TrimWhite(std::string_view text) noexcept {
  std::string_view blanksTrimmed = TrimBlanks(text);
  std::string_view s = blanksTrimmed;
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s.empty() ? blanksTrimmed : s;
}

bool ContinuationRun::Continues(std::string_view trimmed) noexcept {
  if (trimmed.empty()) return false;
  return trimmed.back() == '|' || trimmed.back() == ',' || trimmed.ends_with("NOT");
}

ContinuationRun::ContinuationRun(const LineCollection& lines, std::int32_t first,
                                 std::span<const std::string_view> keywords)
    : first_(first) {
  std::int32_t line = first;
  for (;;) {
    if (line < 1 || line > lines.Count()) Raise(err::OutOfRange);
    std::string_view trimmed = TrimWhite(lines.Item(line));
    offsets_.push_back(joined_.size());
    joined_.push_back(' ');
    joined_.append(trimmed);
    if (!Continues(trimmed)) break;
    if (line == kMaxLine) Raise(err::Overflow);
    ++line;
  }
  last_ = line;
  scanned_ = TrimBlanks(joined_).empty() ? 0 : joined_.find_last_not_of(' ') + 1;
  ScanAll(keywords);
}

std::string_view ContinuationRun::Statement(std::int32_t line) const {
  return std::string_view(joined_).substr(offsets_[Index(line)]);
}

void ContinuationRun::ScanAll(std::span<const std::string_view> keywords) {
  const std::size_t lines = offsets_.size();
  outcomes_.assign(lines, Outcome{});
  std::unordered_map<MemoKey, Summary, MemoHash> memo;
  const std::string_view text = std::string_view(joined_).substr(0, scanned_);
  const Summary end;  // nothing follows the end of the text

  StatementScanner scanner(' ', StatementScanner::Mode::Summary, keywords);
  ScanSummaries summaries;
  std::vector<Mark> marks;
  std::vector<StatementScanner::StateKey> keys;
  for (std::size_t i = lines; i-- > 0;) {
    std::size_t pos = offsets_[i];
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos >= text.size() || text.substr(pos).starts_with("//")) continue;  // no tokens

    scanner.Restart();
    marks.clear();
    keys.clear();
    const Summary* tail = &end;
    std::size_t boundary = i + 1;
    for (;;) {
      if (boundary < lines && pos == offsets_[boundary]) {
        MemoKey key{static_cast<std::int32_t>(boundary), scanner.State()};
        if (auto found = memo.find(key); found != memo.end()) {
          tail = &found->second;
          break;
        }
        marks.push_back(MarkOf(scanner, key.line));
        keys.push_back(std::move(key.state));
        ++boundary;
      }
      if (pos >= text.size()) {
        scanner.Finish();
        break;
      }
      scanner.Feed(text[pos++]);
    }

    const Mark endMark = MarkOf(scanner, 0);
    summaries.Reset(scanner, endMark, *tail);
    outcomes_[i] = OutcomeOf(summaries.At(Mark{}));
    for (std::size_t m = 0; m < marks.size(); ++m)
      memo.emplace(MemoKey{marks[m].line, std::move(keys[m])}, summaries.At(marks[m]));
  }
}

const ContinuationRun::Anchor& ContinuationRun::Anchor3() const {
  if (!anchor_) {
    anchor_ = std::make_unique<Anchor>();
    const std::string_view text = std::string_view(joined_).substr(0, scanned_);
    std::size_t pos = std::min(text.find_first_not_of(' '), text.size());
    anchor_->start = pos;
    anchor_->states.reserve(text.size() - pos);
    anchor_->flushed.reserve(text.size() - pos);
    StatementScanner scanner(' ', StatementScanner::Mode::Summary);
    scanner.StopAfterStage(3);
    scanner.KeepWholeHead3();
    for (; pos < text.size(); ++pos) {
      scanner.Feed(text[pos]);
      anchor_->states.push_back(scanner.State3());
      anchor_->flushed.push_back(static_cast<std::uint32_t>(scanner.Head3().size()));
    }
    anchor_->output = scanner.Head3();
  }
  return *anchor_;
}

std::string ContinuationRun::OverflowLocation(std::int32_t line) const {
  const Outcome& o = At(line);
  std::string_view s = TrimBlanks(Statement(line));
  const std::size_t first = static_cast<std::size_t>(s.data() - joined_.data());
  StatementScanner scanner(' ', StatementScanner::Mode::Text);
  scanner.StopAfterStage(o.OverflowStage);
  const std::size_t need = StatementScanner::kLocationBytes;
  const Anchor* anchor = o.OverflowStage == 3 ? &Anchor3() : nullptr;
  for (std::size_t k = 0; k < s.size(); ++k) {
    scanner.Feed(s[k]);
    if (anchor) {
      const std::string& head = scanner.Head3();
      if (head.size() >= need) return head;
      const std::size_t at = first + k - anchor->start;  // first >= anchor->start
      if (scanner.State3() == anchor->states[at])
        return head + anchor->output.substr(anchor->flushed[at], need - head.size());
    }
    if (o.OverflowStage == 4) {
      if (scanner.Overflowed4()) return scanner.Location4();
      if (scanner.Head4().size() >= need) return scanner.Head4();
    }
    if (o.OverflowStage == 5) {
      if (scanner.Overflowed5()) return scanner.Location5();
      if (scanner.TokensSoFar() + 1 == static_cast<std::size_t>(o.OverflowToken) &&
          scanner.CurrentToken().size() >= need)
        return scanner.CurrentToken().substr(0, need);
    }
  }
  scanner.Finish();
  return scanner.OverflowLocation();
}

}  // namespace tamrel
