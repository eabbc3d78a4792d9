// Fuzz target: SplitWords and IsWord on arbitrary text, and the leaf word count built on them.
// Pieces never hold a blank or a tab, and counting every piece counts what the split gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/modCommonTools.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tamrel::LineCollection pieces = tamrel::SplitWords(text);
  std::size_t words = 0;
  for (const std::string& piece : pieces) {
    if (piece.find_first_of(" \t") != std::string::npos) std::abort();
    words += tamrel::IsWord(piece);
  }
  try {
    if (tamrel::CountWords(text, {}) != pieces.Count()) std::abort();
    if (static_cast<std::size_t>(tamrel::CountWords(text, 1)) != words) std::abort();
  } catch (const tamrel::RCError&) {  // a count past 32,767
  }
  return 0;
}
