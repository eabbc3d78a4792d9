// Fuzz target: loading arbitrary bytes as a script, then writing and counting the model,
// never crashes; every failure is a report or an RCError from the writers and counters.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace {
class NullLog : public tamrel::ErrorLog {
 public:
  void Log(const std::string&, const std::optional<std::string>&, const std::string&) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/tamrel_fuzz_" + std::to_string(::getpid()) + ".rc";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  tamrel::SetMessageBoxHook([](std::string_view) {});
  auto hosts = std::make_shared<tamrel::HostObjects>();
  hosts->Add(std::make_shared<NullLog>(), "Log");
  tamrel::clsRC rc;
  rc.Init(path, hosts, 2);
  (void)rc.PrintLines();  // reports its own failures
  try {
    (void)rc.DisplayWordCount();
    (void)rc.DisplayWordCount(1);
    (void)rc.TotalControls();
    (void)rc.TotalAccelerators();
  } catch (const tamrel::RCError&) {  // a count past 32,767
  }
  return 0;
}
