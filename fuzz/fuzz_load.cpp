// Fuzz target: loading arbitrary bytes as a script, then writing and counting the model,
// never crashes; every failure is a report or an RCError from the writers and counters. A
// load that fails always says so: Init false implies at least one report or message box.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "host/HostHooks.h"

namespace {
int g_reports = 0;  // reports and message boxes of the current input

class CountingLog : public tamrel::ErrorLog {
 public:
  void Log(const std::string&, const std::optional<std::string>&, const std::string&) override {
    ++g_reports;
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tamrel::fuzz::ScratchFile script("load", ".rc");
  if (!script.Write({reinterpret_cast<const char*>(data), size})) return 0;
  g_reports = 0;
  tamrel::SetMessageBoxHook([](std::string_view) { ++g_reports; });
  auto hosts = std::make_shared<tamrel::HostObjects>();
  hosts->Add(std::make_shared<CountingLog>(), "Log");
  tamrel::clsRC rc;
  if (!rc.Init(script.path, hosts, 2) && g_reports == 0) {
    std::fprintf(stderr, "Init returned false without a report or message\n");
    std::abort();
  }
  // Both writers report their own failures; when the streaming one writes, it writes the same.
  const tamrel::LineCollection printed = rc.PrintLines();
  std::int32_t at = 0;
  bool same = true;
  const bool written = rc.Write(
      [&](std::string_view line, std::int32_t) { same = same && at < printed.Count() && printed.Item(++at) == line; },
      {});
  if (written && (!same || at != printed.Count())) {
    std::fprintf(stderr, "Write and PrintLines differ at line %d\n", at);
    std::abort();
  }
  try {
    (void)rc.DisplayWordCount();
    (void)rc.DisplayWordCount(1);
    (void)rc.TotalControls();
    (void)rc.TotalAccelerators();
  } catch (const tamrel::RCError&) {  // a count past 32,767
  }
  return 0;
}
