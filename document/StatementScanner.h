// StatementScanner: the tokenizer behind ParseLine as one pass over a statement's characters.
// Three stages run as a pipeline, each holding back only what a later character may still
// delete: tabs become blanks and the blanks next to "|" go, blanks before a comma go, and the
// text is split into tokens. Each stage keeps its own 16-bit position check, and an earlier
// stage's overflow outranks a later one's wherever it happens in the statement.
//
// In Text mode it collects the tokens as strings (ParseLine). In Summary mode it keeps only
// what the walk needs of each token (its length and whether it is a section keyword) and every
// position check it makes, so that the walk can share the tail of a continuation run between
// the statements that start on its lines; State() then says everything the rest of the scan
// depends on apart from those counters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// A statement without its outer blanks (tabs stay): the first step of splitting a statement.
inline std::string_view TrimBlanks(std::string_view s) noexcept {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

class StatementScanner {
 public:
  static constexpr std::int32_t kMaxPosition = 32767;  // text positions are 16-bit
  // Bytes kept of any text that may become a report location: one more than a location may
  // hold, so that shortening it gives the same result as shortening the whole text.
  static constexpr std::size_t kLocationBytes = 1025;
  // Tokens longer than this are never a keyword; Summary mode keeps no more of their text.
  static constexpr std::size_t kShortToken = 12;

  enum class Mode { Text, Summary };

  // A token as Summary mode records it: its length as far as the scan got, and the position
  // in `keywords` of the keyword it equals (-1 for none).
  struct TokenRecord {
    std::int64_t Length;
    std::int16_t Keyword;
  };

  // Everything the rest of a scan depends on, apart from the stages' output counters and the
  // length of a token too long to be a keyword.
  struct StateKey {
    bool InQuotes3, SkipNext, ConsumeBlank, HeldBlank3, InQuotes4, InQuotes5, AfterSplit,
        SplitHappened, TokenNonBlank, TokenLong;
    std::int64_t HeldBlanks4;
    std::string Token;  // the whole token when short, else its last three characters
    bool operator==(const StateKey&) const = default;
  };

  StatementScanner(char separator, Mode mode, std::span<const std::string_view> keywords = {});

  // Runs only the stages up to `stage` (3, 4 or 5): enough to learn what an earlier stage's
  // overflow report names.
  void StopAfterStage(int stage) noexcept { lastStage_ = stage; }
  // Keeps the whole output of the "|" stage in Head3, in either mode.
  void KeepWholeHead3() noexcept { wholeHead3_ = true; }
  // The state of the "|" stage: two scans in the same state at the same character give the
  // same output from there on.
  std::uint8_t State3() const noexcept {
    return static_cast<std::uint8_t>(inQuotes3_ | (skipNext_ << 1) | (consumeBlank_ << 2) | (heldBlank3_ << 3));
  }

  // Starts a new statement, keeping the memory of the last one.
  void Restart();

  // Scans the next character of the statement (after its outer blanks have been removed).
  void Feed(char c);
  // Scans the end of the statement: held blanks, and the last token.
  void Finish();

  // Results in Text mode, after Finish.
  // The step whose overflow decides the result ("03" or "04"), if any.
  std::optional<std::string_view> OverflowStep() const;
  // The text a report names on an overflow, as far as a location can hold it.
  std::string OverflowLocation() const;
  // The tokens, with "ERROR" behind those found before an overflow.
  std::vector<std::string> TakeTokens();

  // Text mode, while scanning: what a report location of each overflow would begin with.
  const std::string& Head3() const { return head3_; }
  const std::string& Head4() const { return head4_; }
  std::size_t TokensSoFar() const { return tokens_.size(); }
  const std::string& CurrentToken() const { return token_; }
  bool Overflowed4() const { return overflow4_.has_value(); }
  bool Overflowed5() const { return overflow5_.has_value(); }
  std::string Location4() const { return overflow4_.value_or(""); }
  std::string Location5() const { return overflow5_.value_or(""); }

  // Summary mode.
  StateKey State() const;
  std::int64_t Out3() const { return out3_; }
  std::int64_t Out4() const { return out4_; }
  std::int64_t TokenLength() const { return tokenLength_; }
  const std::vector<TokenRecord>& Records() const { return records_; }
  const std::vector<std::int64_t>& Checks3() const { return checks3_; }  // output size at each
  const std::vector<std::int64_t>& Checks4() const { return checks4_; }  // position check

 private:
  void Emit3(char c);
  void Flush3(char c);
  void Feed4(char c);
  void Flush4(char c);
  void Feed5(char c);
  void PushToken(char c);
  void EmitToken(bool trimmed);
  std::int16_t KeywordOf(std::string_view token) const;

  const char separator_;
  const Mode mode_;
  const std::span<const std::string_view> keywords_;
  int lastStage_ = 5;
  bool wholeHead3_ = false;

  // "|" and tabs.
  bool inQuotes3_ = false;
  bool skipNext_ = true;       // the first character is never taken as a "|"
  bool consumeBlank_ = false;  // a blank right after a "|" goes
  bool heldBlank3_ = false;    // a blank that a following "|" deletes
  std::int64_t out3_ = 0;
  std::string head3_;

  // Blanks before commas.
  bool inQuotes4_ = false;
  std::int64_t heldBlanks4_ = 0;  // trailing blanks that a following comma deletes
  std::int64_t out4_ = 0;
  std::string head4_;

  // Tokens.
  bool inQuotes5_ = false;
  bool afterSplit_ = false;
  bool splitHappened_ = false;
  std::string token_;  // Text: the token; Summary: its first kShortToken characters
  std::int64_t tokenLength_ = 0;
  char last3_[3] = {0, 0, 0};
  bool tokenNonBlank_ = false;

  bool overflow3_ = false;
  std::optional<std::string> overflow4_, overflow5_;  // the location of each, once it happened
  std::vector<std::string> tokens_;  // Text mode; those before a token overflow only
  std::vector<TokenRecord> records_;
  std::vector<std::int64_t> checks3_, checks4_;
};

}  // namespace tamrel
