// Code page regions of a script and iconv conversions between code pages and UTF-8.
#include "common/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "common/Utf8Text.h"

namespace tamrel {
namespace {

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

std::size_t FirstNonAscii(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return i;
  return std::string_view::npos;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Consumes blanks and then `word` at the start of `text`.
bool Take(std::string_view& text, std::string_view word) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  if (!text.starts_with(word)) return false;
  text.remove_prefix(word.size());
  return true;
}

}  // namespace

std::string_view IconvName(int codePage) noexcept {
  // clang-format off
  switch (codePage) {
    case 437: return "CP437";
    case 737: return "CP737";
    case 775: return "CP775";
    case 850: return "CP850";
    case 852: return "CP852";
    case 855: return "CP855";
    case 857: return "CP857";
    case 860: return "CP860";
    case 861: return "CP861";
    case 862: return "CP862";
    case 863: return "CP863";
    case 864: return "CP864";
    case 865: return "CP865";
    case 866: return "CP866";
    case 869: return "CP869";
    case 874: return "CP874";
    case 932: return "CP932";  // Shift-JIS with the Windows extensions
    case 936: return "CP936";  // GBK
    case 949: return "CP949";  // Unified Hangul Code
    case 950: return "CP950";  // Big5 with the Windows extensions
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 20932: return "EUC-JP";
    case 21866: return "KOI8-U";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 51949: return "EUC-KR";
    case 54936: return "GB18030";
    case kUtf8CodePage: return "UTF-8";
    default: return "";
  }
  // clang-format on
}

std::string ConversionError::Describe() const {
  char text[96];
  switch (kind) {
    case Kind::NoCodePage:
      return "non-ASCII text and no code page";
    case Kind::InvalidByte:
      std::snprintf(text, sizeof text, "byte 0x%02X is not valid in code page %d", unsigned(value), codePage);
      return text;
    case Kind::Unrepresentable:
      std::snprintf(text, sizeof text, "character U+%04X cannot be written in code page %d", unsigned(value),
                    codePage);
      return text;
    case Kind::Unsupported:
      if (codePage == kUnreadableCodePage) return "#pragma code_page names no code page number";
      std::snprintf(text, sizeof text, "code page %d is not supported", codePage);
      return text;
  }
  return {};
}

namespace {

// The iconv descriptors of one thread, by code page and direction, each opened once. A code page
// iconv does not have is remembered too, so it is not looked for again.
class ThreadDescriptors {
 public:
  ThreadDescriptors() = default;
  ThreadDescriptors(const ThreadDescriptors&) = delete;
  ThreadDescriptors& operator=(const ThreadDescriptors&) = delete;
  ~ThreadDescriptors() {
    for (const Entry& e : entries_)
      if (e.handle != kNoHandle) iconv_close(e.handle);
  }

  // The descriptor for one direction, or nullptr when iconv has no such code page.
  void* Open(int codePage, bool toUtf8) {
    for (const Entry& e : entries_)
      if (e.codePage == codePage && e.toUtf8 == toUtf8) return e.handle == kNoHandle ? nullptr : e.handle;
    const std::string name(IconvName(codePage));
    iconv_t handle = kNoHandle;
    if (!name.empty()) handle = toUtf8 ? iconv_open("UTF-8", name.c_str()) : iconv_open(name.c_str(), "UTF-8");
    entries_.push_back({codePage, toUtf8, handle});
    return handle == kNoHandle ? nullptr : handle;
  }

 private:
  static inline const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);
  struct Entry {
    int codePage;
    bool toUtf8;
    iconv_t handle;
  };
  std::vector<Entry> entries_;
};

thread_local ThreadDescriptors threadDescriptors;

}  // namespace

std::optional<ConversionError> CodePageConverter::Convert(void* handle, std::string_view text, int codePage,
                                                          bool toUtf8, std::string& out) {
  auto cd = static_cast<iconv_t>(handle);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
  const std::size_t start = out.size();
  std::size_t produced = start;
  out.resize(start + text.size() * 2 + 16);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  bool flushing = false;  // the input is done; stateful code pages may still owe output
  for (;;) {
    char* dst = out.data() + produced;
    std::size_t dstLeft = out.size() - produced;
    std::size_t result =
        flushing ? iconv(cd, nullptr, nullptr, &dst, &dstLeft) : iconv(cd, &in, &inLeft, &dst, &dstLeft);
    produced = static_cast<std::size_t>(dst - out.data());
    if (result != kFailed) {
      if (flushing) break;
      flushing = true;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ (an invalid or unconvertible sequence) or EINVAL (a sequence cut off at the end).
    out.resize(start);
    ConversionError error;
    error.codePage = codePage;
    error.offset = text.size() - inLeft;
    error.value = static_cast<unsigned char>(text[error.offset]);
    if (!toUtf8) {
      const Utf8Char character = NextUtf8(text, error.offset);
      if (character.length != 0) {
        error.kind = ConversionError::Kind::Unrepresentable;
        error.value = character.codePoint;
      } else {
        error.codePage = kUtf8CodePage;  // the input itself is not UTF-8
      }
    }
    return error;
  }
  out.resize(produced);
  return std::nullopt;
}

std::optional<ConversionError> CodePageConverter::ToUtf8(std::string_view text, int codePage,
                                                         std::string& out) {
  return Transcode(text, codePage, true, out);
}

std::optional<ConversionError> CodePageConverter::FromUtf8(std::string_view text, int codePage,
                                                           std::string& out) {
  return Transcode(text, codePage, false, out);
}

// ASCII is the same in every code page and in UTF-8, so it is copied; anything else needs a
// code page and its converter.
std::optional<ConversionError> CodePageConverter::Transcode(std::string_view text, int codePage, bool toUtf8,
                                                            std::string& out) {
  std::size_t nonAscii = FirstNonAscii(text);
  if (nonAscii == std::string_view::npos) {
    out.append(text);
    return std::nullopt;
  }
  if (codePage == kNoCodePage)
    return ConversionError{ConversionError::Kind::NoCodePage, codePage, nonAscii,
                           static_cast<unsigned char>(text[nonAscii])};
  void* handle = threadDescriptors.Open(codePage, toUtf8);
  if (handle == nullptr) return ConversionError{ConversionError::Kind::Unsupported, codePage, 0, 0};
  return Convert(handle, text, codePage, toUtf8, out);
}

bool CodePageConverter::LooksLikeUtf8(std::string_view text) {
  std::size_t i = FirstNonAscii(text);
  if (i == std::string_view::npos) return false;
  while (i < text.size()) {
    const std::size_t length = NextUtf8(text, i).length;
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::optional<int> ParseCodePagePragma(std::string_view line) {
  if (!Take(line, "#") || !Take(line, "pragma") || line.empty() || !IsBlank(line.front()) ||
      !Take(line, "code_page"))
    return std::nullopt;
  if (!Take(line, "(")) return kUnreadableCodePage;
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end]) && line[end] != ')') ++end;
  std::string_view argument = line.substr(0, end);
  line.remove_prefix(end);
  if (!Take(line, ")")) return kUnreadableCodePage;
  if (argument == "DEFAULT") return kDefaultPragma;
  if (argument.empty() || argument.size() > 6 ||
      !std::all_of(argument.begin(), argument.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return kUnreadableCodePage;
  int number = 0;
  for (char c : argument) number = number * 10 + (c - '0');
  return number;
}

CodePageMap::CodePageMap(int defaultCodePage) : regions_{{1, defaultCodePage, 0}} {}

CodePageMap::CodePageMap(const LineCollection& lines, int defaultCodePage, bool ignorePragmas)
    : CodePageMap(defaultCodePage) {
  if (ignorePragmas) return;
  int lineNumber = 0;
  for (const std::string& line : lines) {
    ++lineNumber;
    if (line.find("code_page") == std::string::npos) continue;
    std::optional<int> named = ParseCodePagePragma(line);
    if (!named) continue;
    regions_.push_back({lineNumber, *named == kDefaultPragma ? defaultCodePage : *named, lineNumber});
  }
}

const CodePageRegion& CodePageMap::RegionAt(int line) const noexcept {
  auto after = std::upper_bound(regions_.begin(), regions_.end(), line,
                                [](int l, const CodePageRegion& region) { return l < region.firstLine; });
  return after == regions_.begin() ? regions_.front() : *(after - 1);
}

std::vector<int> CodePageMap::CodePagesUsed() const {
  std::vector<int> used;
  for (std::size_t i = 0; i < regions_.size(); ++i) {
    const CodePageRegion& region = regions_[i];
    bool coversNoLine = i + 1 < regions_.size() && regions_[i + 1].firstLine == region.firstLine;
    if (!coversNoLine && region.codePage != kNoCodePage &&
        std::find(used.begin(), used.end(), region.codePage) == used.end())
      used.push_back(region.codePage);
  }
  return used;
}

}  // namespace tamrel
