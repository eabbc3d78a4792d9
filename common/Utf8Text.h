// Walking UTF-8 text a character at a time, and writing code points as UTF-8: the small pieces
// of Unicode handling shared by code-page conversion, decoding and the translation layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamrel {

// The code point of the UTF-8 sequence at `at` and its length in bytes; length 0 when the bytes
// there are not valid UTF-8 (truncated, overlong, a surrogate or beyond U+10FFFF).
struct Utf8Char {
  std::uint32_t codePoint = 0;
  std::size_t length = 0;
};
Utf8Char NextUtf8(std::string_view text, std::size_t at) noexcept;

// Appends the code point as UTF-8.
void AppendUtf8(std::uint32_t codePoint, std::string& out);

// True when every byte of the text belongs to a valid UTF-8 sequence.
bool IsValidUtf8(std::string_view text) noexcept;

// The number of characters (code points) of valid UTF-8 text.
std::size_t CountUtf8(std::string_view text) noexcept;

}  // namespace tamrel
