// Loading many scripts: results and diagnostics in input order whatever the number of threads,
// at most a few scripts per thread loaded ahead of the one handed out, and models dropped on
// the worker thread once summarised.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "ToolSupport.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"

namespace tamrel {
namespace {

using tool::LoadAll;
using tool::LoadResult;
using tool::Report;

// Scripts that differ in their number of bitmaps; every third one fails at its second line.
std::vector<std::unique_ptr<TempScript>> Scripts(int count) {
  std::vector<std::unique_ptr<TempScript>> scripts;
  for (int i = 0; i < count; ++i) {
    std::string text = i % 3 == 2 ? Crlf({"A BITMAP \"a.bmp\"", "A BITMAP \"b.bmp\""}) : "";
    for (int b = 0; b <= i % 5; ++b) text += "B" + std::to_string(b) + " BITMAP \"b.bmp\"\r\n";
    scripts.push_back(std::make_unique<TempScript>(text));
  }
  return scripts;
}

std::vector<std::string> PathsOf(const std::vector<std::unique_ptr<TempScript>>& scripts) {
  std::vector<std::string> paths;
  for (const auto& script : scripts) paths.push_back(script->Path());
  return paths;
}

// Each thread loads no more than its share of the window ahead of the result being handed out,
// however long the hand-out takes; results come in input order, summarised and without models.
TEST(ToolBatchTest, LoadsAFewScriptsAheadAndHandsThemOutInOrder) {
  const auto scripts = Scripts(40);
  const std::vector<std::string> paths = PathsOf(scripts);
  for (unsigned jobs : {1u, 2u, 3u}) {
    const std::size_t window = jobs == 1 ? 1 : jobs * tool::kAheadPerJob;
    std::mutex mutex;
    std::condition_variable summarisedMore;
    std::size_t handedOut = 0, summarised = 0, furthestAhead = 0;
    std::vector<std::string> order;
    auto summarise = [&](LoadResult& result, const Report&) {
      result.summary = result.rc->Bitmaps.Count();
      std::lock_guard lock(mutex);
      const auto index = static_cast<std::size_t>(std::find(paths.begin(), paths.end(), result.path) - paths.begin());
      furthestAhead = std::max(furthestAhead, index - std::min(index, handedOut));
      ++summarised;
      summarisedMore.notify_all();
    };
    testing::internal::CaptureStderr();
    LoadAll(paths, jobs, nullptr, {}, summarise, [&](LoadResult& result) {
      EXPECT_EQ(result.rc, nullptr);
      const std::size_t i = order.size();
      EXPECT_EQ(std::any_cast<int>(result.summary), i % 3 == 2 ? 1 : int(i % 5) + 1) << i;
      EXPECT_EQ(result.loaded, i % 3 != 2) << i;
      order.push_back(result.path);
      std::unique_lock lock(mutex);
      // A slow hand-out: give the workers the time to run as far ahead as they are let.
      if (i == 0) summarisedMore.wait_for(lock, std::chrono::milliseconds(300), [&] { return summarised > window + 1; });
      ++handedOut;
    });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(order, paths) << jobs;
    EXPECT_LE(furthestAhead, window) << jobs;
  }
}

// An exception from the hand-out (a write error) ends the batch: no new script is started.
TEST(ToolBatchTest, AFailedHandOutStopsLoading) {
  const auto scripts = Scripts(40);
  const std::vector<std::string> paths = PathsOf(scripts);
  for (unsigned jobs : {1u, 2u, 4u}) {
    std::atomic<std::size_t> summarised = 0;
    std::size_t handedOut = 0;
    auto summarise = [&](LoadResult&, const Report&) { ++summarised; };
    testing::internal::CaptureStderr();
    EXPECT_THROW(LoadAll(paths, jobs, nullptr, {}, summarise,
                         [&](LoadResult&) {
                           if (++handedOut == 3) throw tool::WriteError("disk full");
                         }),
                 tool::WriteError);
    testing::internal::GetCapturedStderr();
    EXPECT_LE(summarised.load(), 3 + jobs * tool::kAheadPerJob + 1) << jobs;
  }
}

// Summaries, failures, diagnostics and the final counts interleave the same way at any number
// of threads; more scripts than the window of held-back diagnostics, each with a report.
TEST(ToolBatchTest, OutputIsTheSameAtAnyNumberOfJobs) {
  const auto scripts = Scripts(45);
  std::string files;
  for (const auto& script : scripts) files += " " + script->Path() + " " + kSample;
  const char* commands[] = {"load -q", "count -q", "count -q --words --format tsv", "load -q --diagnostics json"};
  for (const char* command : commands) {
    ToolRun one = Tool(std::string(command) + " -j 1 /nonexistent.rc" + files + " 2>&1 | cat");
    EXPECT_NE(one.out.find("RCpB-00"), std::string::npos) << command;
    for (const char* jobs : {"2", "3", "8"}) {
      ToolRun many = Tool(std::string(command) + " -j " + jobs + " /nonexistent.rc" + files + " 2>&1 | cat");
      EXPECT_EQ(many.out, one.out) << command << " -j " << jobs;
    }
  }
}

}  // namespace
}  // namespace tamrel
