// Text encodings of script files. A script with a UTF-16 byte-order mark is decoded to UTF-8
// for the model and can be encoded back when it is written; a UTF-8 byte-order mark is
// skipped; anything else is taken byte for byte, so 8-bit code pages pass through untouched.
#pragma once

#include <string>
#include <string_view>

namespace tamrel {

enum class TextEncoding {
  Bytes,    // 8-bit text taken as it is (ASCII, Latin-1, Shift-JIS, UTF-8 without mark, ...)
  Utf8Bom,  // UTF-8 behind a byte-order mark
  Utf16LE,  // UTF-16 little endian behind a byte-order mark
  Utf16BE,  // UTF-16 big endian behind a byte-order mark
};

// "bytes", "utf-8-bom", "utf-16le", "utf-16be".
std::string_view EncodingName(TextEncoding encoding) noexcept;

// Detects the encoding from the byte-order mark and turns the file's bytes into the text the
// model holds (UTF-8 for the UTF-16 forms, the mark removed). Malformed UTF-16 (an odd number
// of bytes, a lone surrogate) raises error 321 with a description that says what is wrong.
std::string DecodeScript(std::string_view bytes, TextEncoding& encoding);

// The same without copying 8-bit text: the result views `bytes` past any mark, or, for UTF-16,
// views `decoded`, which receives the UTF-8 text (and is left alone otherwise).
std::string_view DecodeScript(std::string_view bytes, TextEncoding& encoding, std::string& decoded);

// Encodes model text for a file in the given encoding, with its byte-order mark when
// `withMark` (the mark belongs at the start of a file only). Bytes are written unchanged;
// for UTF-16 the text must be UTF-8 (invalid sequences become U+FFFD).
std::string EncodeText(std::string_view text, TextEncoding encoding, bool withMark);

}  // namespace tamrel
