// Number recognition and conversion shared by every reader and the word counter.
#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace tamrel {
namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// Length of the longest number at the start of `s` (sign, digits, fraction, exponent), or 0
// when `s` does not start with one.
std::size_t NumberPrefix(std::string_view s) noexcept {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

std::string_view TrimBlanks(std::string_view s) noexcept {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Parses a prefix found by NumberPrefix.
double ParsePrefix(std::string_view s) noexcept {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  double value = 0;
  auto result = std::from_chars(s.data(), s.data() + s.size(), value);
  if (result.ec == std::errc::result_out_of_range) value = HUGE_VAL;
  return negative ? -value : value;
}

}  // namespace

bool ReadsAsNumber(std::string_view text) noexcept {
  std::string_view s = TrimBlanks(text);
  return !s.empty() && NumberPrefix(s) == s.size();
}

double LeadingNumber(std::string_view text) noexcept {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  std::size_t n = NumberPrefix(text);
  return n == 0 ? 0.0 : ParsePrefix(text.substr(0, n));
}

double NumberValue(std::string_view text) noexcept { return ParsePrefix(TrimBlanks(text)); }

double RoundHalfEven(double value) noexcept {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

Int16 ToInt16(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= -32768.0 && r <= 32767.0)) Raise(err::Overflow);
  return Int16(static_cast<int>(r));
}

namespace {

// A plain decimal integer of at most five digits, optionally signed ("-1", "320"), without
// going through a floating-point parse; nullopt for any other text.
std::optional<std::int32_t> ShortInteger(std::string_view s) noexcept {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 5) return std::nullopt;
  std::int32_t value = 0;
  for (char c : s) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

}  // namespace

Int16 ToInt16(std::string_view token) {
  if (std::optional<std::int32_t> value = ShortInteger(TrimBlanks(token))) {
    if (*value < -32768 || *value > 32767) Raise(err::Overflow);
    return Int16(*value);
  }
  if (!ReadsAsNumber(token)) Raise(err::TypeMismatch);
  return ToInt16(NumberValue(token));
}

}  // namespace tamrel
