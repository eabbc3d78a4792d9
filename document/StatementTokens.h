// StatementTokens: a statement split into tokens that are views, not strings. It is the splitter
// behind ParseLine and the section readers; a reader keeps one and splits statement after
// statement into it, so its buffers are allocated once per section, not once per token.
//
// Tokens view the statement itself, or this object's own buffer when a step had to change the
// text (a tab, a "|" with blanks around it, a blank before a comma, a deleted semicolon). They
// stay valid until the next Split and as long as the statement's text does.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

class StatementTokens {
 public:
  static constexpr std::int32_t kMaxPosition = 32767;  // text positions are 16-bit

  // Splits `statement` at `separator` (a blank, "|" or ","), at commas, never inside double
  // quotes, replacing the tokens of the last split. `step` follows the step being run ("01",
  // "03", "04", "05"). A stretch that overflows the 16-bit positions raises error 6: the tokens
  // found before it stay, and `changed` holds the statement as far as the split had changed it.
  // With a yield hook installed, the host is called once per character of the token scan;
  // without one, runs of characters that neither split nor change are passed in one go.
  void Split(std::string_view statement, char separator, std::string_view& step, std::string& changed);

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(tokens_.size()); }
  bool Empty() const noexcept { return tokens_.empty(); }
  // The token at a 1-based position; error 9 outside 1..Count.
  std::string_view Item(std::int32_t index) const;
  std::span<const std::string_view> Views() const noexcept { return tokens_; }
  // Tokens `from` (1-based) to the last, joined by ", "; empty when there are none.
  std::string JoinFrom(std::int32_t from) const;
  // Appends a token whose text outlives this object (the "ERROR" behind an overflow).
  void Append(std::string_view token) { tokens_.push_back(token); }

 private:
  std::string_view RemoveBlanksAtBars(std::string_view text, std::string& changed);
  std::string_view RemoveBlanksBeforeCommas(std::string_view text, std::string& changed);
  template <bool kYield>
  void SplitTokens(std::string_view text, char separator, std::string& changed);

  std::vector<std::string_view> tokens_;
  // The text after the "|" step, after the comma step and without its semicolons, each used
  // only when that step changes something. Their capacity is kept from split to split.
  std::string bars_, commas_, kept_;
};

}  // namespace tamrel
