// Fuzz target: tokenizing arbitrary bytes with each separator never fails or misbehaves.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/clsRC.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tamrel::clsRC rc;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char separator : {' ', '|', ','}) (void)rc.ParseLine(text, separator);
  return 0;
}
