// Byte-order-mark detection, UTF-16 decoding to UTF-8 and encoding back.
#include "common/TextEncoding.h"

#include <cstdint>

#include "common/RCError.h"
#include "common/Utf8Text.h"

namespace tamrel {
namespace {

void AppendUtf16(std::string& out, std::uint32_t unit, bool bigEndian) {
  char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
  if (bigEndian) {
    out.push_back(hi);
    out.push_back(lo);
  } else {
    out.push_back(lo);
    out.push_back(hi);
  }
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0)
    Raise(err::BadFileFormat, "Malformed UTF-16: odd number of bytes (" + std::to_string(bytes.size() + 2) + ")");
  auto unitAt = [&](std::size_t i) -> std::uint32_t {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  std::string out;
  out.reserve(bytes.size() / 2 + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    std::uint32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      std::uint32_t low = i + 2 < bytes.size() ? unitAt(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF)
        Raise(err::BadFileFormat, "Malformed UTF-16: lone high surrogate at byte " + std::to_string(i + 2));
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
      i += 2;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      Raise(err::BadFileFormat, "Malformed UTF-16: lone low surrogate at byte " + std::to_string(i + 2));
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

// Next code point of UTF-8 text; invalid sequences give U+FFFD and advance one byte.
std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = byte(i);
  int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (length == 1) {
    ++i;
    return b;
  }
  if (length == 0 || i + length > s.size()) {
    ++i;
    return 0xFFFD;
  }
  std::uint32_t cp = b & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = cp << 6 | (byte(i + k) & 0x3F);
  }
  static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += static_cast<std::size_t>(length);
  return cp;
}

}  // namespace

std::string_view EncodingName(TextEncoding encoding) noexcept {
  switch (encoding) {
    case TextEncoding::Bytes: return "bytes";
    case TextEncoding::Utf8Bom: return "utf-8-bom";
    case TextEncoding::Utf16LE: return "utf-16le";
    case TextEncoding::Utf16BE: return "utf-16be";
  }
  return "bytes";
}

std::string_view DecodeScript(std::string_view bytes, TextEncoding& encoding, std::string& decoded) {
  if (bytes.starts_with("\xFF\xFE")) {
    encoding = TextEncoding::Utf16LE;
    decoded = DecodeUtf16(bytes.substr(2), false);
    return decoded;
  }
  if (bytes.starts_with("\xFE\xFF")) {
    encoding = TextEncoding::Utf16BE;
    decoded = DecodeUtf16(bytes.substr(2), true);
    return decoded;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    encoding = TextEncoding::Utf8Bom;
    return bytes.substr(3);
  }
  encoding = TextEncoding::Bytes;
  return bytes;
}

std::string DecodeScript(std::string_view bytes, TextEncoding& encoding) {
  std::string decoded;
  std::string_view text = DecodeScript(bytes, encoding, decoded);
  if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) return decoded;
  return std::string(text);
}

std::string EncodeText(std::string_view text, TextEncoding encoding, bool withMark) {
  std::string out;
  switch (encoding) {
    case TextEncoding::Bytes:
      return std::string(text);
    case TextEncoding::Utf8Bom:
      if (withMark) out = "\xEF\xBB\xBF";
      return out.append(text);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      bool bigEndian = encoding == TextEncoding::Utf16BE;
      out.reserve(text.size() * 2 + 2);
      if (withMark) AppendUtf16(out, 0xFEFF, bigEndian);
      for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp = NextCodePoint(text, i);
        if (cp >= 0x10000) {
          cp -= 0x10000;
          AppendUtf16(out, 0xD800 + (cp >> 10), bigEndian);
          AppendUtf16(out, 0xDC00 + (cp & 0x3FF), bigEndian);
        } else {
          AppendUtf16(out, cp, bigEndian);
        }
      }
      return out;
    }
  }
  return out;
}

}  // namespace tamrel
