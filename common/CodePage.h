// Code pages of 8-bit script text: which code page is in force at each line (from
// "#pragma code_page(N)" lines and a default the host gives), and conversion of text between a
// code page and UTF-8 with the C library's iconv. The model keeps its lines byte for byte; hosts
// convert when they must write Unicode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Collection.h"

namespace tamrel {

// A Windows code page number. 0 means none: only ASCII text converts. 65001 is UTF-8.
inline constexpr int kNoCodePage = 0;
inline constexpr int kUtf8CodePage = 65001;
// The code page a "#pragma code_page" line names when its argument is not a number.
inline constexpr int kUnreadableCodePage = -1;

// The iconv name of a code page ("CP1252", "UTF-8", ...), or "" when it is not supported.
std::string_view IconvName(int codePage) noexcept;

// What a conversion stumbled on, at which byte of its input text.
struct ConversionError {
  enum class Kind {
    NoCodePage,       // a byte above 0x7F and no code page
    InvalidByte,      // a byte (sequence) the code page does not define
    Unrepresentable,  // a character the target code page cannot hold
    Unsupported,      // a code page number without a converter
  };
  Kind kind = Kind::InvalidByte;
  int codePage = kNoCodePage;
  std::size_t offset = 0;   // byte offset in the input text
  std::uint32_t value = 0;  // the byte, or the character's code point

  // "byte 0x81 is not valid in code page 1252", "character U+20AC cannot be written in code
  // page 437", "non-ASCII text and no code page: ...", "code page 12345 is not supported".
  std::string Describe() const;
};

// Converts text between code pages and UTF-8. Each code page's iconv descriptor (one for each
// direction) is opened once per thread, the first time the thread needs it, and kept until the
// thread ends; its shift state is reset for each conversion. So a converter costs nothing to
// make, and converting many scripts does not load and unload the C library's converter module
// again for each. One converter per thread.
class CodePageConverter {
 public:
  CodePageConverter() = default;
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  // Appends `text`, written in `codePage`, to `out` as UTF-8. On an error `out` is left as it
  // was and the error is returned.
  std::optional<ConversionError> ToUtf8(std::string_view text, int codePage, std::string& out);
  // Appends UTF-8 `text` to `out` written in `codePage`; same error contract.
  std::optional<ConversionError> FromUtf8(std::string_view text, int codePage, std::string& out);
  // True when the text has bytes above 0x7F and all of them form valid multi-byte UTF-8: text
  // that was probably saved as UTF-8 whatever code page it claims.
  bool LooksLikeUtf8(std::string_view text);

 private:
  std::optional<ConversionError> Transcode(std::string_view text, int codePage, bool toUtf8, std::string& out);
  std::optional<ConversionError> Convert(void* handle, std::string_view text, int codePage, bool toUtf8,
                                         std::string& out);
};

// One stretch of lines under the same code page, from `firstLine` to the next region.
struct CodePageRegion {
  int firstLine = 1;
  int codePage = kNoCodePage;
  int pragmaLine = 0;  // the "#pragma code_page" line that set it; 0 for the default
};

// The code page in force at each line of a script. A "#pragma code_page(N)" line applies from
// that line on, "#pragma code_page(DEFAULT)" returns to the default, and the default covers the
// lines before the first pragma. Pragmas are taken wherever they stand; conditional lines
// around them are not evaluated.
class CodePageMap {
 public:
  // Every line in the default code page.
  explicit CodePageMap(int defaultCodePage = kNoCodePage);
  // The regions of a script's lines; with `ignorePragmas` every line is in the default.
  CodePageMap(const LineCollection& lines, int defaultCodePage, bool ignorePragmas);

  int DefaultCodePage() const noexcept { return regions_.front().codePage; }
  // The region in force at a 1-based line; lines before 1 (text the writer made up) are in the
  // default.
  const CodePageRegion& RegionAt(int line) const noexcept;
  int At(int line) const noexcept { return RegionAt(line).codePage; }
  const std::vector<CodePageRegion>& Regions() const noexcept { return regions_; }
  // The code pages of the regions, each once, in order of first use; "none" is left out.
  std::vector<int> CodePagesUsed() const;

 private:
  std::vector<CodePageRegion> regions_;  // by firstLine, never empty
};

// What a "#pragma code_page(...)" line names: the number, kDefaultPragma for DEFAULT, or
// kUnreadableCodePage for an argument that is neither. Empty when the line is no such pragma.
inline constexpr int kDefaultPragma = -2;
std::optional<int> ParseCodePagePragma(std::string_view line);

}  // namespace tamrel
