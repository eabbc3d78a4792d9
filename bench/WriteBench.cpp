// Benchmarks of the writer on a loaded model: PrintLines (a line collection) against Write (the
// lines streamed to a sink), on the generated script of about 32,000 lines and on a series of
// 1,000, 8,000 and 32,000 lines, whose time per line shows whether writing stays linear.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchScripts.h"
#include "document/clsRC.h"

namespace tamrel {
namespace {

using bench::GeneratedScript;
using bench::ScriptFile;

// A loaded model of about `lines` lines: dialogs take about 40% of them, the string table the rest.
std::unique_ptr<clsRC> LoadedModel(std::int64_t lines) {
  ScriptFile file(GeneratedScript(static_cast<int>(lines / 80), static_cast<int>(lines * 5 / 8)));
  auto rc = std::make_unique<clsRC>();
  if (!rc->Init(file.Path(), std::make_shared<HostObjects>(), 2)) return nullptr;
  return rc;
}

void Counters(benchmark::State& state, const clsRC& rc, std::int64_t written) {
  state.counters["script_lines"] = static_cast<double>(rc.Lines.Count());
  state.counters["written_lines"] = static_cast<double>(written);
  state.counters["ns/line"] = benchmark::Counter(static_cast<double>(written),
                                                 benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

void BM_PrintLinesLargeScript(benchmark::State& state) {
  std::unique_ptr<clsRC> rc = LoadedModel(32000);
  if (!rc) return state.SkipWithError("load failed");
  std::int64_t written = 0;
  for (auto _ : state) {
    LineCollection lines = rc->PrintLines();
    written = lines.Count();
    benchmark::DoNotOptimize(lines);
  }
  Counters(state, *rc, written);
}
BENCHMARK(BM_PrintLinesLargeScript)->Unit(benchmark::kMillisecond);

// Write into a sink that only adds up the bytes: the cost of the writer itself.
void WriteModel(benchmark::State& state, std::int64_t lines) {
  std::unique_ptr<clsRC> rc = LoadedModel(lines);
  if (!rc) return state.SkipWithError("load failed");
  std::int64_t written = 0, bytes = 0;
  for (auto _ : state) {
    written = 0;
    rc->Write([&](std::string_view text, std::int32_t) {
      bytes += static_cast<std::int64_t>(text.size());
      ++written;
    });
    benchmark::DoNotOptimize(bytes);
  }
  Counters(state, *rc, written);
}

void BM_WriteLargeScript(benchmark::State& state) { WriteModel(state, 32000); }
BENCHMARK(BM_WriteLargeScript)->Unit(benchmark::kMillisecond);

// The scaling series: ns/line at 32,000 lines should stay close to that at 1,000.
void BM_WriteScaling(benchmark::State& state) { WriteModel(state, state.range(0)); }
BENCHMARK(BM_WriteScaling)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tamrel
