// Fuzz target: tokenizing arbitrary bytes with each separator never throws and never
// misbehaves. The document has a host log, as every loaded document has, so an overflow is
// reported through the normal path and the tokens end in "ERROR".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "document/clsRC.h"

namespace {
class NullLog : public tamrel::ErrorLog {
 public:
  void Log(const std::string&, const std::optional<std::string>&, const std::string&) override {}
};

tamrel::clsRC& Document() {
  static tamrel::clsRC rc = [] {
    tamrel::clsRC document;
    auto hosts = std::make_shared<tamrel::HostObjects>();
    hosts->Add(std::make_shared<NullLog>(), "Log");
    document.Init("fuzz.rc", hosts);  // no operation: keeps the host objects, reads nothing
    return document;
  }();
  return rc;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamrel::clsRC& rc = Document();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char separator : {' ', '|', ','}) {
    tamrel::Tokens tokens = rc.ParseLine(text, separator);
    // No token is longer than the statement it came from.
    for (const std::string& token : tokens)
      if (token.size() > size && token != "ERROR") std::abort();
  }
  return 0;
}
