// Finding, decoding and encoding the quoted literals of script lines.
#include "translation/RcEscapes.h"

#include <algorithm>
#include <cctype>

#include "common/Utf8Text.h"

namespace tamrel {
namespace {

// Whether a byte opens a two-byte character in a double-byte code page.
bool IsLeadByte(unsigned char byte, int codePage) {
  switch (codePage) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950: return byte >= 0x81 && byte <= 0xFE;
    default: return false;
  }
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The end of the literal whose opening quote is at `quote` (one past its closing quote), or
// npos when the line ends first.
std::size_t LiteralEnd(std::string_view line, std::size_t quote, int codePage) {
  for (std::size_t i = quote + 1; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (IsLeadByte(c, codePage)) {
      ++i;
    } else if (c == '\\') {
      ++i;
    } else if (c == '"') {
      if (i + 1 < line.size() && line[i + 1] == '"') {
        ++i;
      } else {
        return i + 1;
      }
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::vector<LiteralSpan> FindLiterals(std::string_view line, int codePage) {
  std::vector<LiteralSpan> spans;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') break;
    if (IsLeadByte(c, codePage)) {
      ++i;
      continue;
    }
    if (c != '"') continue;
    const std::size_t end = LiteralEnd(line, i, codePage);
    if (end == std::string_view::npos) break;
    const bool wide = i > 0 && (line[i - 1] == 'L' || line[i - 1] == 'l') &&
                      (i == 1 || !(std::isalnum(static_cast<unsigned char>(line[i - 2])) || line[i - 2] == '_'));
    const std::size_t start = wide ? i - 1 : i;
    spans.push_back({start, end - start, wide});
    i = end - 1;
  }
  return spans;
}

std::optional<LiteralProblem> DecodeLiteral(std::string_view literal, int codePage,
                                             CodePageConverter& converter, std::string& text) {
  const bool wide = !literal.empty() && literal.front() != '"';
  std::string_view body = literal.substr(wide ? 2 : 1);
  if (!body.empty()) body.remove_suffix(1);
  // Bytes in the code page wait in `pending` until a character given by its code point (a wide
  // escape) or the end of the literal sends them through the converter.
  std::string pending;
  std::string out;
  auto flush = [&]() -> std::optional<LiteralProblem> {
    if (pending.empty()) return std::nullopt;
    if (auto error = converter.ToUtf8(pending, codePage, out)) return LiteralProblem{error->Describe(), true};
    pending.clear();
    return std::nullopt;
  };
  auto addValue = [&](std::uint32_t value) -> std::optional<LiteralProblem> {
    if (value == 0) return LiteralProblem{"the text holds a NUL character", false};
    if (!wide) {
      pending.push_back(static_cast<char>(value & 0xFF));
      return std::nullopt;
    }
    if (value >= 0xD800 && value <= 0xDFFF) return LiteralProblem{"the text holds a lone surrogate", false};
    if (auto problem = flush()) return problem;
    AppendUtf8(value, out);
    return std::nullopt;
  };
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (IsLeadByte(static_cast<unsigned char>(c), codePage) && i + 1 < body.size()) {
      pending.append(body.substr(i, 2));
      ++i;
      continue;
    }
    if (c == '"' && i + 1 < body.size() && body[i + 1] == '"') {
      pending.push_back('"');
      ++i;
      continue;
    }
    if (c != '\\' || i + 1 == body.size()) {
      pending.push_back(c);
      continue;
    }
    const char e = body[++i];
    std::optional<LiteralProblem> problem;
    switch (e) {
      case 'n': pending.push_back('\n'); break;
      case 't': pending.push_back('\t'); break;
      case 'r': pending.push_back('\r'); break;
      case 'a': pending.push_back('\b'); break;
      case '\\': pending.push_back('\\'); break;
      case '"': pending.push_back('"'); break;
      case 'x':
      case 'X': {
        const std::size_t most = wide ? 4 : 2;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (digits < most && i + 1 < body.size() && HexValue(body[i + 1]) >= 0) {
          value = value * 16 + static_cast<std::uint32_t>(HexValue(body[++i]));
          ++digits;
        }
        if (digits == 0) {
          pending.push_back('\\');
          pending.push_back(e);
        } else {
          problem = addValue(value);
        }
        break;
      }
      default:
        if (IsOctal(e)) {
          std::uint32_t value = static_cast<std::uint32_t>(e - '0');
          for (int digits = 1; digits < 3 && i + 1 < body.size() && IsOctal(body[i + 1]); ++digits)
            value = value * 8 + static_cast<std::uint32_t>(body[++i] - '0');
          problem = addValue(value);
        } else {
          pending.push_back('\\');
          pending.push_back(e);
        }
    }
    if (problem) return problem;
  }
  if (auto problem = flush()) return problem;
  // A NUL byte written as such ends the text in C strings just as an escaped one does.
  if (out.find('\0') != std::string::npos) return LiteralProblem{"the text holds a NUL character", false};
  // U+0004 separates a message's context from its text in gettext catalogs: no PO file can hold it.
  if (out.find('\x04') != std::string::npos)
    return LiteralProblem{"the text holds the control character U+0004, which a PO file cannot hold", false};
  text.append(out);
  return std::nullopt;
}

std::optional<ConversionError> EncodeLiteral(std::string_view text, bool wide, int codePage,
                                             CodePageConverter& converter, std::string& literal) {
  std::string out = wide ? "L\"" : "\"";
  std::size_t runStart = 0;  // the plain characters since the last escape, converted at once
  auto flush = [&](std::size_t end) -> std::optional<ConversionError> {
    if (end == runStart) return std::nullopt;
    std::string_view run = text.substr(runStart, end - runStart);
    auto error = converter.FromUtf8(run, codePage, out);
    if (error && wide &&
        (error->kind == ConversionError::Kind::Unrepresentable || error->kind == ConversionError::Kind::NoCodePage)) {
      // Wide literals can name any character: convert character by character, escaping the
      // ones the code page lacks.
      for (std::size_t at = 0; at < run.size();) {
        const Utf8Char c = NextUtf8(run, at);
        if (c.length == 0) return error;
        if (converter.FromUtf8(run.substr(at, c.length), codePage, out)) {
          if (c.codePoint > 0xFFFF) return error;
          static constexpr char kHex[] = "0123456789ABCDEF";
          out.append("\\x");
          for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c.codePoint >> shift) & 0xF]);
        }
        at += c.length;
      }
      error.reset();
    } else if (error) {
      error->offset += runStart;
    }
    return error;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::string_view escape;
    char octal[5] = {};
    switch (c) {
      case '"': escape = "\"\""; break;
      case '\\': escape = "\\\\"; break;
      case '\n': escape = "\\n"; break;
      case '\t': escape = "\\t"; break;
      case '\r': escape = "\\r"; break;
      case '\b': escape = "\\a"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          octal[0] = '\\';
          octal[1] = static_cast<char>('0' + (c >> 6));
          octal[2] = static_cast<char>('0' + ((c >> 3) & 7));
          octal[3] = static_cast<char>('0' + (c & 7));
          escape = std::string_view(octal, 4);
        }
    }
    if (escape.empty()) continue;
    if (auto error = flush(i)) return error;
    out.append(escape);
    runStart = i + 1;
  }
  if (auto error = flush(text.size())) return error;
  out.push_back('"');
  literal.append(out);
  return std::nullopt;
}

std::string AsTokenized(std::string_view literal) {
  std::string s(literal);
  std::replace(s.begin(), s.end(), '\t', ' ');
  return s;
}

}  // namespace tamrel
