// Fuzz target: style expressions through AddStyles, as the dialog reader hands them over (each
// line of the input, trimmed, split at "|"), then rendered back. The set stays in ascending byte
// order without duplicates.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "FuzzSupport.h"
#include "styles/clsStyle.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamrel::clsRC& rc = tamrel::fuzz::LoggedDocument();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tamrel::clsStyle style;
  try {
    while (!text.empty()) {
      std::size_t end = text.find('\n');
      // An expression reaches AddStyles as a token of its statement: without outer blanks.
      std::string expression = tamrel::clsRC::TrimWhite(text.substr(0, end));
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      style.AddStyles(rc.ParseLine(expression, '|'));
    }
  } catch (const tamrel::RCError&) {  // a set or a position past the 16-bit limit
    return 0;
  }
  // Ascending byte order, no text twice, each member found by InStyle.
  const std::string* previous = nullptr;
  for (const std::string& flag : style.Items) {
    if (!style.InStyle(flag) || (previous != nullptr && !(*previous < flag))) std::abort();
    previous = &flag;
  }
  try {
    (void)style.ConvertLine();
    (void)style.PrintLines();
  } catch (const tamrel::RCError&) {
  }
  return 0;
}
