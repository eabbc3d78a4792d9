// Fitting a generated dialog: 25 rows of controls, each row's first label too narrow for its
// text, so that every row pushes all the controls after it. At 500, 1000 and 2000 controls the
// time per size shows that the work grows with controls times rows, not with their square.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "document/clsRC.h"
#include "host/ErrorLog.h"
#include "layout/FontMap.h"
#include "layout/ScriptFitter.h"

namespace tamrel {
namespace {

constexpr int kRows = 25;

std::string RowsOfControls(int controls) {
  const int perRow = controls / kRows;
  std::string text = "IDD_BIG DIALOGEX 0, 0, " + std::to_string(40 + perRow * 24) + ", " +
                     std::to_string(14 + kRows * 16) +
                     "\r\nSTYLE DS_SETFONT | WS_POPUP\r\nFONT 8, \"MS Shell Dlg\"\r\nBEGIN\r\n";
  int id = 100;
  for (int row = 0; row < kRows; ++row) {
    const std::string y = std::to_string(7 + row * 16);
    text += "    LTEXT \"A label much too long for it\"," + std::to_string(id++) + ",7," + y + ",20,8\r\n";
    for (int k = 1; k < perRow; ++k)
      text += "    PUSHBUTTON \"B\"," + std::to_string(id++) + "," + std::to_string(30 + k * 24) + "," + y + ",20,14\r\n";
  }
  return text + "END\r\n";
}

void BM_FitRowsOfControls(benchmark::State& state) {
  const std::string text = RowsOfControls(static_cast<int>(state.range(0)));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tamrel_fit_" + std::to_string(::getpid()) + ".rc")).string();
  std::ofstream(path, std::ios::binary) << text;
  clsRC rc;
  rc.Init(path, std::make_shared<HostObjects>(), 2);
  std::remove(path.c_str());
  const CodePageMap codePages(rc.Lines, kNoCodePage, false);
  std::size_t changes = 0, remaining = 0;
  for (auto _ : state) {
    const ScriptFit fit = FitScript(rc, text, FontMap::Default(), codePages, FitOptions{1000.0});
    changes = fit.changes.size();
    remaining = fit.remaining.size();
    benchmark::DoNotOptimize(fit.bytes);
  }
  state.counters["changes"] = static_cast<double>(changes);
  state.counters["remaining"] = static_cast<double>(remaining);
}
BENCHMARK(BM_FitRowsOfControls)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrel
