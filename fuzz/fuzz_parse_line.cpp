// Fuzz target: tokenizing arbitrary bytes with each separator never throws and never
// misbehaves. The document has a host log, as every loaded document has, so an overflow is
// reported through the normal path and the tokens end in "ERROR".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "FuzzSupport.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamrel::clsRC& rc = tamrel::fuzz::LoggedDocument();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char separator : {' ', '|', ','}) {
    tamrel::Tokens tokens = rc.ParseLine(text, separator);
    // No token is longer than the statement it came from.
    for (const std::string& token : tokens)
      if (token.size() > size && token != "ERROR") std::abort();
  }
  return 0;
}
