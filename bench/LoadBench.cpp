// Benchmarks of the hot paths: tokenizing statements, loading whole scripts (the bundled
// sample and a generated script of about 32,000 lines), writing them back and counting words.
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
