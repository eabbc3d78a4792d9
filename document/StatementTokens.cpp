// The statement splitter: outer blanks, then tabs and the blanks next to "|", then blanks before
// commas, then tokens. Each step copies the text only when it changes something, and the token
// scan records where each token starts and ends instead of building it character by character.
#include "document/StatementTokens.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/RCError.h"
#include "document/StatementScanner.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

[[noreturn]] void Overflow(std::string& changed, std::string_view done, std::string_view rest) {
  changed.assign(done).append(rest);
  Raise(err::Overflow);
}

bool Contains(std::string_view text, char c) noexcept {
  return !text.empty() && std::memchr(text.data(), c, text.size()) != nullptr;
}

// Whether a blank stands directly before a comma somewhere in the text.
bool HasBlankBeforeComma(std::string_view text) noexcept {
  for (std::size_t at = text.find(','); at != std::string_view::npos; at = text.find(',', at + 1))
    if (at > 0 && text[at - 1] == ' ') return true;
  return false;
}

// The characters outside double quotes at which the token scan must stop and decide, for each
// separator: a quote, a semicolon, a comma, and the separator itself.
using StopTable = std::array<bool, 256>;
constexpr StopTable MakeStops(char separator) {
  StopTable stops{};
  for (char c : {'"', ';', ',', separator}) stops[static_cast<unsigned char>(c)] = true;
  return stops;
}
constexpr StopTable kStopsBlank = MakeStops(' ');
constexpr StopTable kStopsBar = MakeStops('|');
constexpr StopTable kStopsComma = MakeStops(',');

const StopTable& StopsFor(char separator) noexcept {
  if (separator == ' ') return kStopsBlank;
  if (separator == '|') return kStopsBar;
  return kStopsComma;  // any other separator splits at commas only
}

}  // namespace

std::string_view StatementTokens::Item(std::int32_t index) const {
  if (index < 1 || index > Count()) Raise(err::OutOfRange);
  return tokens_[static_cast<std::size_t>(index - 1)];
}

void StatementTokens::Split(std::string_view statement, char separator, std::string_view& step,
                            std::string& changed) {
  tokens_.clear();
  // "01": outer blanks; a comment or an empty statement has no tokens.
  std::string_view text = TrimBlanks(statement);
  if (text.empty() || text.starts_with("//")) return;
  tokens_.reserve(8);

  step = "03";
  if (Contains(text, '|') || Contains(text, '\t')) text = RemoveBlanksAtBars(text, changed);
  step = "04";
  if (HasBlankBeforeComma(text)) text = RemoveBlanksBeforeCommas(text, changed);
  if (YieldHookInstalled()) SplitTokens<true>(text, separator, changed);
  else SplitTokens<false>(text, separator, changed);
  step = "05";
}

// "02" and "03": tabs become blanks; outside double quotes, at most one blank is removed after
// and before each "|" that the search reaches. The search for the next "|" starts one past the
// previous one's original position, so it never looks at the first character, and it skips the
// character after a "|" that lost the blank in front of it.
std::string_view StatementTokens::RemoveBlanksAtBars(std::string_view text, std::string& changed) {
  std::string& out = bars_;
  out.clear();
  out.reserve(text.size());
  bool inQuotes = false;
  bool skipNext = true;  // the first character is never examined
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i] == '\t' ? ' ' : text[i];
    if (c == '"') inQuotes = !inQuotes;
    if (c != '|' || skipNext || inQuotes) {
      skipNext = false;
      out.push_back(c);
      continue;
    }
    if (out.size() + 1 > kMaxPosition) {
      std::string rest(text.substr(i));
      std::replace(rest.begin(), rest.end(), '\t', ' ');
      Overflow(changed, out, rest);
    }
    out.push_back('|');
    if (i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) ++i;
    bool blankBefore = out.size() >= 2 && out[out.size() - 2] == ' ';
    if (blankBefore) out.erase(out.size() - 2, 1);
    skipNext = blankBefore;
  }
  return out;
}

// "04": outside double quotes, every blank directly before a comma goes.
std::string_view StatementTokens::RemoveBlanksBeforeCommas(std::string_view text, std::string& changed) {
  std::string& out = commas_;
  out.clear();
  out.reserve(text.size());
  bool inQuotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (text[i] == ',' && !inQuotes && !out.empty() && out.back() == ' ') {
      if (out.size() > kMaxPosition) Overflow(changed, out, text.substr(i));
      while (!out.empty() && out.back() == ' ') out.pop_back();
    }
    out.push_back(text[i]);
  }
  return out;
}

// "04" continued: tokens. A token is the run of characters taken since the last split; outside
// double quotes, semicolons are dropped from it, and then the token is kept, compacted, in
// kept_. The rest after a split loses its leading and trailing blanks: the trailing run is
// scanned until the first split and not after it.
template <bool kYield>
void StatementTokens::SplitTokens(std::string_view text, char separator, std::string& changed) {
  const StopTable& stops = StopsFor(separator);
  const bool compact = Contains(text, ';');
  char* kept = nullptr;
  if (compact) {
    kept_.resize(text.size());
    kept = kept_.data();
  }
  const char* base = compact ? kept : text.data();
  std::size_t written = 0;  // characters taken into kept_ so far

  std::size_t tokenStart = 0, tokenLength = 0;
  auto token = [&] { return std::string_view(base + tokenStart, tokenLength); };
  auto endsWithNot = [&] { return tokenLength >= 3 && std::memcmp(base + tokenStart + tokenLength - 3, "NOT", 3) == 0; };

  std::size_t end = text.size();
  const std::size_t trailing = text.find_last_not_of(' ') + 1;  // npos + 1 == 0: all blanks
  bool inQuotes = false;
  bool afterSplit = false;
  std::size_t i = 0;
  while (i < end) {
    const char c = text[i];
    if constexpr (kYield) YieldToHost();
    if (afterSplit && c == ' ') {
      ++i;
      if constexpr (!kYield)
        while (i < end && text[i] == ' ') ++i;
      continue;
    }
    afterSplit = false;
    if (!inQuotes) {
      const bool split = (c == ' ' && separator == ' ' && !endsWithNot()) || c == ',' || (c == '|' && separator == '|');
      if (split) {
        tokens_.push_back(token());
        tokenLength = 0;
        afterSplit = true;
        end = std::max(trailing, i + 1);
        ++i;
        continue;
      }
      if (c == ';') {
        ++i;
        continue;
      }
    }
    if (c == '"') inQuotes = !inQuotes;
    // `c` joins the token, and without a hook so does the run behind it that would join too.
    std::size_t runEnd = i + 1;
    if constexpr (!kYield) {
      if (inQuotes) {
        const void* quote = std::memchr(text.data() + runEnd, '"', end - runEnd);
        runEnd = quote ? static_cast<std::size_t>(static_cast<const char*>(quote) - text.data()) : end;
      } else {
        while (runEnd < end && !stops[static_cast<unsigned char>(text[runEnd])]) ++runEnd;
      }
    }
    // A token may hold at most kMaxPosition - 1 characters.
    const std::size_t room = static_cast<std::size_t>(kMaxPosition - 1) - tokenLength;
    const std::size_t taken = std::min(runEnd - i, room);
    if (tokenLength == 0) tokenStart = compact ? written : i;
    if (compact) {
      std::memmove(kept + written, text.data() + i, taken);
      written += taken;
    }
    tokenLength += taken;
    if (taken < runEnd - i) Overflow(changed, token(), text.substr(i + taken));
    i = runEnd;
  }

  // "05": what is left after the last split is the last token.
  std::string_view last = TrimBlanks(token());
  if (!last.empty()) tokens_.push_back(last);
}

std::string StatementTokens::JoinFrom(std::int32_t from) const {
  std::string joined;
  for (std::int32_t k = from; k <= Count(); ++k) joined.append(k > from ? ", " : "").append(tokens_[static_cast<std::size_t>(k - 1)]);
  return joined;
}

}  // namespace tamrel
