// tamrel-rc from the outside: the regenerated script whole and in its encoding, standard input,
// write errors that stop a batch, and the progress board. Exit statuses and messages are in the
// transcript (tests/data/commands.txt).
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>


#include "ToolSupport.h"

namespace tamrel {
namespace {

TEST(ToolTest, PrintKeepsTheScriptsEncoding) {
  TempScript utf16(EncodeText("#include \"a.h\"\r\n", TextEncoding::Utf16LE, true));
  ToolRun same = Tool("print -q " + utf16.Path());
  ASSERT_EQ(same.status, 0);
  EXPECT_TRUE(same.out.starts_with("\xFF\xFE"));
  ToolRun utf8 = Tool("print -q --encoding utf-8 " + utf16.Path());
  EXPECT_TRUE(utf8.out.starts_with("/////"));
  EXPECT_NE(utf8.out.find("#include  \"a.h\""), std::string::npos);
}

// Print writes the regenerated script, with CR LF unless told otherwise. Plain output goes out in
// chunks as it is written: a script of many chunks, with and without a UTF-8 byte-order mark,
// comes out whole and in order.
TEST(ToolTest, PrintWritesTheRegeneratedScriptWhole) {
  std::string script = "STRINGTABLE\r\nBEGIN\r\n";
  for (int i = 0; i < 6000; ++i)
    script += "  IDS_" + std::to_string(i) + " \"String number " + std::to_string(i) + " of a long table\"\r\n";
  script += "END\r\n";
  const std::string mark = "\xEF\xBB\xBF";
  // The script, the option and the line end it asks for.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {ReadBytes(kSample), "", "\r\n"}, {script, "--eol lf ", "\n"}, {mark + script, "--eol lf ", "\n"}};
  for (const auto& [text, option, eol] : cases) {
    TempScript file(text);
    Loaded loaded = LoadText(text);
    ASSERT_TRUE(loaded.result);
    std::string expected = text.starts_with(mark) ? mark : "";
    ASSERT_TRUE(loaded.rc->Write([&](std::string_view line, std::int32_t) { expected.append(line); }, eol));
    ToolRun run = Tool("print -q --strict " + option + file.Path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected) << option << text.size();
  }
}

TEST(ToolTest, StandardInput) {
  for (const char* command : {"load -q", "print -q", "count -q --format tsv", "dump -q --json"}) {
    ToolRun fromFile = Tool(std::string(command) + " " + kSample);
    ToolRun fromStdin = Tool(std::string(command) + " - <" + kSample);
    EXPECT_EQ(fromStdin.status, 0) << command << fromStdin.err;
    std::string expected = fromFile.out;
    for (std::size_t at; (at = expected.find(kSample)) != std::string::npos;) expected.replace(at, kSample.size(), "<stdin>");
    EXPECT_EQ(fromStdin.out, expected) << command;
  }
}

// Output that cannot be written stops the batch: the script after the first is a FIFO that
// nobody writes, so loading it would block until the timeout.
TEST(ToolTest, WriteErrorStopsLoading) {
  const std::string fifo = std::filesystem::temp_directory_path() / ("tamrel_fifo_" + std::to_string(::getpid()));
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const char* command : {"load -q -j 1 ", "count -q -j 1 "}) {
    ToolRun run = Tool(command + kSample + " " + fifo + " >/dev/full", "timeout 20 ");
    EXPECT_EQ(run.status, 1) << command;  // 124: timed out
  }
  std::remove(fifo.c_str());
}

// The progress board in a pseudo-terminal: every drawn line fits the terminal's width.
TEST(ToolTest, ProgressLinesFitTheTerminal) {
  const std::string corpus = std::string(TAMREL_TEST_DATA) + "/corpus";
  for (unsigned short columns : {40, 200}) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    int master = -1;
    pid_t child = ::forkpty(&master, nullptr, nullptr, &size);
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::freopen("/dev/null", "w", stdout);
      ::execl(TAMREL_RC, "tamrel-rc", "load", "-j", "2", corpus.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::string screen;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) screen.append(buffer, static_cast<std::size_t>(n));
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    // Board lines end in "erase to the end of the line"; what precedes one on its row is drawn.
    std::size_t longest = 0, drawn = 0;
    for (std::size_t end = 0; (end = screen.find("\033[K", end)) != std::string::npos; ++end, ++drawn) {
      std::size_t start = screen.find_last_of("\n\r", end);
      start = start == std::string::npos ? 0 : start + 1;
      std::string line = screen.substr(start, end - start);
      if (std::size_t erase = line.rfind("\033[J"); erase != std::string::npos) line.erase(0, erase + 3);
      longest = std::max(longest, line.size());
    }
    EXPECT_GT(drawn, 0u);
    EXPECT_LT(longest, columns) << columns;
    if (columns == 200) {
      EXPECT_GT(longest, 40u);
    }
  }
}

}  // namespace
}  // namespace tamrel
