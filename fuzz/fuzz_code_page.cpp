// Fuzz target: code page conversions of arbitrary bytes. The first byte picks the code page.
// Text that converts to UTF-8 is valid UTF-8, converts back, and that gives the same UTF-8
// again; a failure points inside the input; the pragma reader and the line map take any line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/CodePage.h"

namespace {

constexpr int kCodePages[] = {0,    437,  850,  866,  874,  932,  936,   949,   950,   1250,  1251,
                              1252, 1253, 1255, 1256, 1258, 1361, 10000, 20866, 28591, 54936, 65001};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  thread_local tamrel::CodePageConverter converter;
  const int codePage = kCodePages[data[0] % std::size(kCodePages)];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string utf8;
  if (std::optional<tamrel::ConversionError> error = converter.ToUtf8(text, codePage, utf8)) {
    Check(error->offset < text.size() && utf8.empty() && !error->Describe().empty());
  } else {
    std::string bytes, again;
    Check(!converter.FromUtf8(utf8, tamrel::kUtf8CodePage, again) && again == utf8);  // valid UTF-8
    Check(!converter.FromUtf8(utf8, codePage, bytes));
    again.clear();
    Check(!converter.ToUtf8(bytes, codePage, again) && again == utf8);
  }
  // The other direction on the same bytes, taken as UTF-8 that may be invalid.
  std::string out;
  if (std::optional<tamrel::ConversionError> error = converter.FromUtf8(text, codePage, out))
    Check(error->offset < text.size() && out.empty());
  (void)converter.LooksLikeUtf8(text);

  tamrel::LineCollection lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.Add(std::string(text.substr(start, end - start)));
    start = end + 1;
  }
  tamrel::CodePageMap map(lines, codePage, false);
  for (int line = 0; line <= lines.Count() + 1; ++line) (void)map.At(line);
  (void)map.CodePagesUsed();
  return 0;
}
