// The straightforward line services and walk as they were before the linear rewrite, kept as
// the oracle of the differential tests: one ParseLine per statement over the whole statement
// text, and a walk that joins, splits and searches the rest of a continuation run at every line.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"

namespace tamrel::reference {

// What ParseLine produced: the tokens and, on an overflow, the step and the location text
// before any shortening.
struct Split {
  std::vector<std::string> tokens;
  std::optional<std::string> step;
  std::string changed;
  bool operator==(const Split&) const = default;
};

namespace detail {
constexpr std::int32_t kMaxPosition = 32767;
inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}
struct Overflowed {};
}  // namespace detail

// `examined`, when given, counts the characters the token scan looks at: the yields of a split
// with a yield hook installed.
inline Split ParseLine(std::string_view statement, char separator, std::size_t* examined = nullptr) {
  using detail::kMaxPosition;
  using detail::TrimBlanks;
  Split result;
  std::string step = "01";
  auto overflow = [&](std::string_view done, std::string_view rest) {
    result.changed.assign(done).append(rest);
    throw detail::Overflowed{};
  };
  try {
    std::string_view s1 = TrimBlanks(statement);
    if (s1.empty() || s1.starts_with("//")) return result;
    step = "03";
    std::string s3Buffer;
    std::string_view s3 = s1;
    bool inQuotes = false;
    if (std::any_of(s1.begin(), s1.end(), [](char c) { return c == '|' || c == '\t'; })) {
      std::string& out = s3Buffer;
      bool skipNext = true;
      for (std::size_t i = 0; i < s1.size(); ++i) {
        char c = s1[i] == '\t' ? ' ' : s1[i];
        if (c == '"') inQuotes = !inQuotes;
        if (c != '|' || skipNext || inQuotes) {
          skipNext = false;
          out.push_back(c);
          continue;
        }
        if (out.size() + 1 > kMaxPosition) {
          std::string rest(s1.substr(i));
          for (char& r : rest) r = r == '\t' ? ' ' : r;
          overflow(out, rest);
        }
        out.push_back('|');
        if (i + 1 < s1.size() && (s1[i + 1] == ' ' || s1[i + 1] == '\t')) ++i;
        bool blankBefore = out.size() >= 2 && out[out.size() - 2] == ' ';
        if (blankBefore) out.erase(out.size() - 2, 1);
        skipNext = blankBefore;
      }
      s3 = s3Buffer;
    }
    step = "04";
    std::string s4Buffer;
    std::string_view s4 = s3;
    if (s3.find(" ,") != std::string_view::npos) {
      std::string& out = s4Buffer;
      inQuotes = false;
      for (std::size_t i = 0; i < s3.size(); ++i) {
        if (s3[i] == '"') inQuotes = !inQuotes;
        if (s3[i] == ',' && !inQuotes && !out.empty() && out.back() == ' ') {
          if (out.size() > kMaxPosition) overflow(out, s3.substr(i));
          while (!out.empty() && out.back() == ' ') out.pop_back();
        }
        out.push_back(s3[i]);
      }
      s4 = s4Buffer;
    }
    std::size_t end = s4.size();
    std::size_t trailing = s4.find_last_not_of(' ') + 1;
    std::string token;
    inQuotes = false;
    bool afterSplit = false;
    for (std::size_t i = 0; i < end; ++i) {
      char c = s4[i];
      if (examined) ++*examined;
      if (afterSplit && c == ' ') continue;
      afterSplit = false;
      bool split = false;
      if (!inQuotes) {
        if (c == ' ' && separator == ' ') split = !(token.size() >= 3 && token.ends_with("NOT"));
        else if (c == ',') split = true;
        else if (c == '|' && separator == '|') split = true;
      }
      if (split) {
        result.tokens.push_back(std::move(token));
        token.clear();
        afterSplit = true;
        end = std::max(trailing, i + 1);
        continue;
      }
      if (c == ';' && !inQuotes) continue;
      if (c == '"') inQuotes = !inQuotes;
      if (token.size() + 1 >= kMaxPosition) overflow(token, s4.substr(i));
      token.push_back(c);
    }
    std::string_view last = TrimBlanks(token);
    if (!last.empty()) result.tokens.emplace_back(last);
  } catch (const detail::Overflowed&) {
    result.tokens.push_back("ERROR");
    result.step = step;
  }
  return result;
}

// The location a report carries once shortened: at most 1,024 bytes, ending in an ellipsis when
// cut, never inside a UTF-8 sequence.
inline std::string Shortened(const std::string& text) {
  if (text.size() <= 1024) return text;
  std::size_t cut = 1021;
  for (int back = 0; back < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
  return text.substr(0, cut) + "\xE2\x80\xA6";
}

}  // namespace tamrel::reference
