// Benchmarks of the hot paths: tokenizing statements, loading whole scripts (the bundled
// sample and a generated script of about 32,000 lines, and a series of 1,000 to 32,000 lines
// with the time per line), writing them back and counting words.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchScripts.h"
#include "common/modCommonTools.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

using bench::GeneratedScript;
using bench::ScriptFile;
using bench::ScriptOfLines;

void Load(benchmark::State& state, const std::string& path) {
  std::int64_t lines = 0;
  for (auto _ : state) {
    clsRC rc;
    bool ok = rc.Init(path, std::make_shared<HostObjects>(), 2);
    if (!ok) state.SkipWithError("load failed");
    lines = rc.Lines.Count();
    benchmark::DoNotOptimize(rc);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadSample(benchmark::State& state) { Load(state, TAMREL_EXAMPLES "/sample.rc"); }
BENCHMARK(BM_LoadSample)->Unit(benchmark::kMicrosecond);

void BM_LoadLargeScript(benchmark::State& state) {
  ScriptFile file(GeneratedScript(400, 20000));  // about 32,000 lines
  Load(state, file.Path());
}
BENCHMARK(BM_LoadLargeScript)->Unit(benchmark::kMillisecond);

// Time per line of the script bench/make_script.py writes, at 1,000, 8,000 and 32,000 lines:
// the "s/line" counters of one series stay level when loading is linear.
void PerLine(benchmark::State& state, std::int64_t lines) {
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["s/line"] = benchmark::Counter(static_cast<double>(lines),
                                                benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LoadLines(benchmark::State& state) {
  ScriptFile file(ScriptOfLines(static_cast<int>(state.range(0))));
  std::int64_t lines = 0;
  for (auto _ : state) {
    clsRC rc;
    if (!rc.Init(file.Path(), std::make_shared<HostObjects>(), 2)) state.SkipWithError("load failed");
    lines = rc.Lines.Count();
    benchmark::DoNotOptimize(rc);
  }
  PerLine(state, lines);
}
BENCHMARK(BM_LoadLines)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The writer over the same scripts, loaded once; time per line of the script read.
void BM_PrintLinesLines(benchmark::State& state) {
  ScriptFile file(ScriptOfLines(static_cast<int>(state.range(0))));
  clsRC rc;
  if (!rc.Init(file.Path(), std::make_shared<HostObjects>(), 2)) state.SkipWithError("load failed");
  for (auto _ : state) benchmark::DoNotOptimize(rc.PrintLines());
  PerLine(state, rc.Lines.Count());
}
BENCHMARK(BM_PrintLinesLines)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_ParseLine(benchmark::State& state) {
  clsRC rc;
  const std::string statement =
      " CONTROL \"Match &whole word only\",IDC_WHOLE_WORD,\"Button\", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,6,30,100,10";
  for (auto _ : state) benchmark::DoNotOptimize(rc.ParseLine(statement, ' '));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * statement.size()));
}
BENCHMARK(BM_ParseLine);

// The same with a yield hook installed, to show what the yield points cost when a host uses them.
void BM_ParseLineWithYieldHook(benchmark::State& state) {
  static int calls = 0;
  SetYieldHook([](void*) { benchmark::DoNotOptimize(++calls); });
  BM_ParseLine(state);
  SetYieldHook(nullptr);
}
BENCHMARK(BM_ParseLineWithYieldHook);

void BM_ParseLongLine(benchmark::State& state) {
  clsRC rc;
  std::string statement;
  while (statement.size() < static_cast<std::size_t>(state.range(0))) statement += "WORD, \"quoted text\" | ";
  for (auto _ : state) benchmark::DoNotOptimize(rc.ParseLine(statement, ' '));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseLongLine)->RangeMultiplier(4)->Range(256, 16384)->Complexity(benchmark::oN);

void BM_SplitWords(benchmark::State& state) {
  std::string text;
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += "Insert the current date  and time\t";
  for (auto _ : state) benchmark::DoNotOptimize(SplitWords(text));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitWords)->RangeMultiplier(4)->Range(256, 16384)->Complexity(benchmark::oN);

}  // namespace
}  // namespace tamrel
