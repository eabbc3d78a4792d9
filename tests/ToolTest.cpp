// tamrel-rc from the outside: exit statuses, output in input order, the regenerated script,
// counts as TSV, and the JSON dump.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace tamrel {
namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun Tool(const std::string& arguments) {
  const std::string errPath = std::filesystem::temp_directory_path() / ("tamrel_tool_err_" + std::to_string(::getpid()));
  const std::string command = std::string(TAMREL_RC) + " " + arguments + " 2>" + errPath;
  ToolRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errPath, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(in), {});
  std::remove(errPath.c_str());
  return run;
}

const std::string kSample = std::string(TAMREL_EXAMPLES) + "/sample.rc";

TEST(ToolTest, ExitStatuses) {
  EXPECT_EQ(Tool("load -q " + kSample).status, 0);
  EXPECT_EQ(Tool("load -q /nonexistent.rc").status, 1);
  EXPECT_EQ(Tool("").status, 2);
  EXPECT_EQ(Tool("load").status, 2);
  EXPECT_EQ(Tool("frobnicate x.rc").status, 2);
  EXPECT_EQ(Tool("print --eol cr x.rc").status, 2);
  ToolRun help = Tool("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"load", "print", "count", "dump"}) EXPECT_NE(help.out.find(command), std::string::npos);
  EXPECT_EQ(Tool("--version").status, 0);
}

// A full disk must not end in success with a cut file: every command checks its writes.
TEST(ToolTest, WriteErrorsFail) {
  for (const char* command : {"load -q ", "print -q ", "count -q ", "dump -q ", "dump -q --json "}) {
    ToolRun run = Tool(std::string(command) + kSample + " >/dev/full");
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("tamrel-rc: write error: No space left on device"), std::string::npos) << command << run.err;
  }
}

TEST(ToolTest, ParallelLoadKeepsInputOrder) {
  ToolRun run = Tool("load -q -j 4 /nonexistent.rc " + kSample + " /nonexistent.rc " + kSample);
  EXPECT_EQ(run.status, 1);
  std::size_t first = run.out.find("/nonexistent.rc: failed");
  std::size_t second = run.out.find("sample.rc: loaded");
  std::size_t third = run.out.find("/nonexistent.rc: failed", second);
  ASSERT_NE(third, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_NE(run.out.find("sample.rc: loaded", third), std::string::npos);
  EXPECT_NE(run.out.find("files 4, loaded 2, failed 2"), std::string::npos);
  EXPECT_NE(run.err.find("/nonexistent.rc: RCrrf-00: File not found (53)"), std::string::npos);
}

TEST(ToolTest, CorpusDirectory) {
  ToolRun run = Tool("load -q -r " + std::string(TAMREL_TEST_DATA) + "/corpus");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("files 98, loaded 82, failed 16"), std::string::npos);
  EXPECT_NE(run.err.find("message box: Unable to process: IDD_METHOD font information."), std::string::npos);
}

TEST(ToolTest, PrintWritesTheRegeneratedScript) {
  Loaded loaded = LoadText([] {
    std::ifstream in(kSample, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }());
  ASSERT_TRUE(loaded.result);
  std::string expected;
  for (const std::string& line : loaded.rc->PrintLines()) expected += line + "\r\n";
  ToolRun crlf = Tool("print -q " + kSample);
  EXPECT_EQ(crlf.status, 0);
  EXPECT_EQ(crlf.out, expected);
  ToolRun lf = Tool("print -q --eol lf " + kSample);
  EXPECT_EQ(lf.out.size() + loaded.rc->PrintLines().Count(), expected.size());

  ToolRun failed = Tool("print -q /nonexistent.rc");
  EXPECT_EQ(failed.status, 1);
  EXPECT_TRUE(failed.out.empty());
}

TEST(ToolTest, PrintKeepsTheScriptsEncoding) {
  TempScript utf16(EncodeText("#include \"a.h\"\r\n", TextEncoding::Utf16LE, true));
  ToolRun same = Tool("print -q " + utf16.Path());
  ASSERT_EQ(same.status, 0);
  EXPECT_TRUE(same.out.starts_with("\xFF\xFE"));
  ToolRun utf8 = Tool("print -q --encoding utf-8 " + utf16.Path());
  EXPECT_TRUE(utf8.out.starts_with("/////"));
  EXPECT_NE(utf8.out.find("#include  \"a.h\""), std::string::npos);
}

TEST(ToolTest, CountAsTsv) {
  ToolRun run = Tool("count -q --format tsv " + kSample);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(kSample + "\tdialog\tIDD_ABOUTBOX\t"), std::string::npos);
  EXPECT_NE(run.out.find(kSample + "\tmenu\tIDR_MAINFRAME\t"), std::string::npos);
  EXPECT_NE(run.out.find(kSample + "\tTotalAccelerators\t\t9\n"), std::string::npos);
  EXPECT_NE(run.out.find(kSample + "\tTotalMenuItems\t\t20\n"), std::string::npos);
  std::size_t document = run.out.find(kSample + "\tdocument\t\t");
  ASSERT_NE(document, std::string::npos);
  ToolRun words = Tool("count -q --words --format tsv " + kSample);
  EXPECT_NE(words.out, run.out);
}

TEST(ToolTest, DumpAsJson) {
  ToolRun run = Tool("dump -q --json " + kSample);
  ASSERT_EQ(run.status, 0);
  nlohmann::json model = nlohmann::json::parse(run.out);
  EXPECT_EQ(model["Dialogs"].size(), 3u);
  EXPECT_EQ(model["Dialogs"][0]["ID"], "IDD_ABOUTBOX");
  EXPECT_EQ(model["Menus"][0]["Items"][0]["Entry"], "popup");
  EXPECT_EQ(model["Lines"].size(), 252u);
  ToolRun text = Tool("dump -q " + kSample);
  EXPECT_NE(text.out.find("  - ID: IDD_ABOUTBOX"), std::string::npos);
}

}  // namespace
}  // namespace tamrel
