// Benchmarks of the hot paths: tokenizing statements, loading whole scripts (the bundled
// sample and a generated script of about 32,000 lines), writing them back and counting words.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/modCommonTools.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// A script as a resource editor writes it, scaled to `dialogs` dialogs of 12 controls and
// `strings` string-table entries.
std::string GeneratedScript(int dialogs, int strings) {
  std::string s = "// generated\r\n#include \"resource.h\"\r\n#include \"afxres.h\"\r\n\r\n";
  s += "IDR_MAINFRAME ICON DISCARDABLE \"res\\\\app.ico\"\r\n\r\n";
  s += "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n";
  for (int i = 0; i < 40; ++i) s += "        MENUITEM \"Command &" + std::to_string(i) + "\", ID_CMD_" + std::to_string(i) + "\r\n";
  s += "    END\r\nEND\r\n\r\n";
  for (int d = 0; d < dialogs; ++d) {
    std::string id = "IDD_PAGE_" + std::to_string(d);
    s += id + " DIALOG DISCARDABLE 0, 0, 320, 200\r\n";
    s += "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\nCAPTION \"Settings page\"\r\n";
    s += "FONT 8, \"MS Sans Serif\"\r\nBEGIN\r\n";
    for (int c = 0; c < 3; ++c) {
      std::string n = std::to_string(c);
      s += "    LTEXT           \"Label number " + n + ":\",IDC_STATIC,7,7,80,8\r\n";
      s += "    EDITTEXT        IDC_EDIT" + n + ",90,7,120,14,ES_AUTOHSCROLL\r\n";
      s += "    CONTROL         \"Enable option " + n + "\",IDC_CHECK" + n + ",\"Button\",\r\n";
      s += "                    BS_AUTOCHECKBOX | WS_TABSTOP,7,30,100,10\r\n";
    }
    s += "    DEFPUSHBUTTON   \"OK\",IDOK,209,179,50,14\r\n    PUSHBUTTON      \"Cancel\",IDCANCEL,263,179,50,14\r\nEND\r\n\r\n";
  }
  s += "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 0; i < strings; ++i)
    s += "    IDS_STRING_" + std::to_string(i) + "    \"Text of string " + std::to_string(i) + "; with \"\"quotes\"\" and words\"\r\n";
  s += "END\r\n";
  return s;
}

class ScriptFile {
 public:
  explicit ScriptFile(const std::string& text)
      : path_((std::filesystem::temp_directory_path() / ("tamrel_bench_" + std::to_string(::getpid()) + ".rc")).string()) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~ScriptFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

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
