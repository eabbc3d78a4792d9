// Scaling benchmarks of the input shapes that once made loading quadratic: each at N, 2N and 4N,
// so that the time per size shows whether the work stays linear (4N at most 2.5 times 2N).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "document/clsRC.h"
#include "host/ErrorLog.h"
#include "styles/clsStyle.h"

namespace tamrel {
namespace {

// Counts reports and their bytes, keeping none of them.
class CountingLog : public ErrorLog {
 public:
  void Log(const std::string& message, const std::optional<std::string>& location, const std::string&) override {
    ++reports;
    bytes += message.size() + (location ? location->size() : 0);
  }
  std::int64_t reports = 0, bytes = 0;
};

class TempFile {
 public:
  explicit TempFile(const std::string& text)
      : path_((std::filesystem::temp_directory_path() / ("tamrel_linear_" + std::to_string(::getpid()) + ".rc")).string()) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string Repeated(const std::string& line, std::int64_t lines, const std::string& last = "END") {
  std::string text;
  text.reserve(static_cast<std::size_t>(lines) * (line.size() + 2) + 8);
  for (std::int64_t i = 0; i < lines; ++i) text.append(line).append("\r\n");
  return text + last + "\r\n";
}

std::string NestedPopups(std::int64_t depth) {
  std::string text = "IDR_M MENU\r\nBEGIN\r\n";
  for (std::int64_t i = 0; i < depth; ++i) text += "POPUP \"P\"\r\nBEGIN\r\n";
  text += "MENUITEM \"x\", 1\r\n";
  for (std::int64_t i = 0; i <= depth; ++i) text += "END\r\n";
  return text;
}

// Loads the script (and writes it back when `print`), counting what the log received.
void LoadText(benchmark::State& state, const std::string& text, bool print) {
  TempFile file(text);
  auto log = std::make_shared<CountingLog>();
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(log, "Log");
  for (auto _ : state) {
    clsRC rc;
    rc.Init(file.Path(), hosts, 2);
    if (print) benchmark::DoNotOptimize(rc.PrintLines());
    benchmark::DoNotOptimize(rc);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["reports"] = static_cast<double>(log->reports) / static_cast<double>(state.iterations());
  state.counters["report_bytes"] = static_cast<double>(log->bytes) / static_cast<double>(state.iterations());
}

void BM_LinesEndingInComma(benchmark::State& state) { LoadText(state, Repeated("WS_X,", state.range(0)), false); }
BENCHMARK(BM_LinesEndingInComma)->Arg(3500)->Arg(7000)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_LinesEndingInNot(benchmark::State& state) { LoadText(state, Repeated("WS_X NOT", state.range(0)), false); }
BENCHMARK(BM_LinesEndingInNot)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LinesEndingInBar(benchmark::State& state) { LoadText(state, Repeated("WS_X |", state.range(0)), false); }
BENCHMARK(BM_LinesEndingInBar)->Arg(4100)->Arg(8200)->Arg(16400)->Unit(benchmark::kMillisecond);

void BM_NestedPopups(benchmark::State& state) { LoadText(state, NestedPopups(state.range(0)), false); }
BENCHMARK(BM_NestedPopups)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

// The nested popups loaded once and streamed with Write: the text grows with the square of the
// depth, the heap in use while it is written (heap_growth, bytes) stays that of one line.
void BM_WriteNestedPopups(benchmark::State& state) {
  TempFile file(NestedPopups(state.range(0)));
  clsRC rc;
  rc.Init(file.Path(), std::make_shared<HostObjects>(), 2);
  std::size_t peak = 0, bytes = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    std::int64_t lines = 0;
    bytes = 0;
    rc.Write([&](std::string_view text, std::int32_t) {
      bytes += text.size();
      if (++lines % 64 == 0) peak = std::max(peak, mallinfo2().uordblks - before);
    });
  }
  state.counters["text_bytes"] = static_cast<double>(bytes);
  state.counters["heap_growth"] = static_cast<double>(peak);
}
BENCHMARK(BM_WriteNestedPopups)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

// The longest script the walk accepts, every line ending in ",": loaded and written back.
void BM_CommaScriptAtLineLimit(benchmark::State& state) { LoadText(state, Repeated("WS_X,", 32765), true); }
BENCHMARK(BM_CommaScriptAtLineLimit)->Unit(benchmark::kMillisecond);

// One style expression of N flags in descending order: each name sorts before all the others.
void BM_StyleDescending(benchmark::State& state) {
  Tokens tokens;
  for (std::int64_t i = state.range(0); i > 0; --i) tokens.Add("FLAG_" + std::to_string(100000 + i));
  for (auto _ : state) {
    clsStyle style;
    style.AddStyles(tokens);
    benchmark::DoNotOptimize(style);
  }
}
BENCHMARK(BM_StyleDescending)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

// A keyed collection built by appending N members (as the string table and the style sets are),
// then every key looked up once, the collection copied, and every member of the copy removed by
// key from the back.
void BM_CollectionKeyed(benchmark::State& state) {
  std::vector<std::string> keys;
  for (std::int64_t i = 0; i < state.range(0); ++i) keys.push_back("IDS_STRING_" + std::to_string(i));
  for (auto _ : state) {
    Collection<std::string> c;
    for (const std::string& key : keys) c.Add(key, key);
    for (const std::string& key : keys) benchmark::DoNotOptimize(c.Item(key));
    Collection<std::string> copy = c;
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) copy.Remove(*key);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CollectionKeyed)->Arg(8000)->Arg(16000)->Arg(32000)->Unit(benchmark::kMillisecond);

// Unkeyed members, then as many keyed ones appended: the first key gives every earlier member an
// empty key slot, and the list of keys grows with every add after it.
void BM_CollectionKeyedAppendAfterUnkeyed(benchmark::State& state) {
  for (auto _ : state) {
    Collection<int> c;
    for (std::int64_t i = 0; i < state.range(0); ++i) c.Add(static_cast<int>(i));
    for (std::int64_t i = 0; i < state.range(0); ++i) c.Add(static_cast<int>(i), std::string("K").append(std::to_string(i)));
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(BM_CollectionKeyedAppendAfterUnkeyed)->Arg(8000)->Arg(16000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrel
