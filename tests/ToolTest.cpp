// tamrel-rc from the outside: exit statuses, output in input order, the regenerated script,
// counts as TSV, and the JSON dump.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>


#include "ToolSupport.h"

namespace tamrel {
namespace {

TEST(ToolTest, HelpAndVersion) {
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

TEST(ToolTest, CorpusDirectory) {
  ToolRun run = Tool("load -q --strict -r " + std::string(TAMREL_TEST_DATA) + "/corpus");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("files 98, loaded 82, failed 16"), std::string::npos);
  EXPECT_NE(run.err.find("TstCon.rc:352: error: Unable to process: IDD_METHOD font information (found EXSTYLE;"),
            std::string::npos);
  ToolRun relaxed = Tool("load -q -r " + std::string(TAMREL_TEST_DATA) + "/corpus");
  EXPECT_EQ(relaxed.status, 0) << relaxed.err;
  EXPECT_NE(relaxed.out.find("files 98, loaded 98, failed 0"), std::string::npos);
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

// Scripts that fail in different ways, and the first diagnostic line each must give: the
// position in the form editors and CI annotators read, then the library's own text.
TEST(ToolTest, DiagnosticsNameTheLine) {
  struct Case {
    std::string script;
    std::string expected;  // after "PATH"
  };
  const Case cases[] = {
      {Crlf({"// c", "A BITMAP \"a.bmp\"", "A BITMAP \"b.bmp\""}),
       ":3: error: RCpB-00: Key is already associated with an element of this collection (457)\n"},
      {Crlf({"IDD_X DIALOGEX 0, 0, 10, 10", "STYLE WS_POPUP", "EXSTYLE WS_EX_APPWINDOW", "FONT 8, \"A\"", "BEGIN",
             "END"}),
       ":3: error: Unable to process: IDD_X font information (found EXSTYLE; the reader accepts STYLE, an optional "
       "CAPTION, then FONT)\n"},
      {Crlf({"IDD_X DIALOG 0, 0, 10, 10", "CAPTION \"c\"", "FONT 8, \"A\"", "BEGIN", "END"}),
       ":2: error: Unable to process: IDD_X style information (found CAPTION; the reader accepts STYLE"},
      {Crlf({"IDR_A ACCELERATORS", "", "BEGIN", "END"}),
       ":2: error: Unable to process accelerator section (found a blank line; the reader accepts BEGIN on the line "
       "after the header)\n"},
      {Crlf({"STRINGTABLE", "{", "END"}), ":2: error: Unable to process string table section (found {;"},
  };
  for (const Case& c : cases) {
    TempScript script(c.script);
    ToolRun run = Tool("load -q --strict " + script.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with(script.Path() + c.expected)) << run.err;
  }
  // Every failure says why, with a line even when the library made no report of its own.
  for (const char* text : {"IDR_M MENU\r\n\r\nBEGIN\r\nEND\r\n", "// c\n\rIDR_M MENU\n\rBEGIN\n\rEND\n\r"}) {
    TempScript script(text);
    ToolRun run = Tool("load -q " + script.Path());
    EXPECT_EQ(run.status, 1);
    // PATH:LINE: error: ...
    const std::string prefix = script.Path() + ":";
    ASSERT_TRUE(run.err.starts_with(prefix)) << run.err;
    const std::size_t digits = run.err.find_first_not_of("0123456789", prefix.size());
    EXPECT_GT(digits, prefix.size()) << run.err;
    EXPECT_EQ(run.err.compare(digits, 9, ": error: "), 0) << run.err;
  }
}

TEST(ToolTest, DiagnosticsAsJsonLines) {
  TempScript duplicate(Crlf({"A BITMAP \"a.bmp\"", "A BITMAP \"b.bmp\""}));
  for (const char* command : {"load", "print", "count", "dump", "dump --json"}) {
    ToolRun run = Tool(std::string(command) + " -q --diagnostics json /nonexistent.rc " +
                       (std::string_view(command) == "load" ? duplicate.Path() : ""));
    EXPECT_EQ(run.status, 1) << command;
    if (command[0] == 'p' || command[0] == 'd') {
      EXPECT_EQ(run.out, "") << command;  // nothing read, nothing written
    }
    std::vector<nlohmann::json> lines = JsonLines(run.err);
    ASSERT_FALSE(lines.empty()) << command;
    std::vector<std::string> keys;
    for (const auto& [key, value] : lines[0].items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"code", "column", "line", "message", "number", "path", "severity",
                                               "statement"}));  // in the parser's sorted order
    EXPECT_EQ(lines[0]["path"], "/nonexistent.rc");
    EXPECT_TRUE(lines[0]["line"].is_null());
    EXPECT_EQ(lines[0]["code"], "RCrrf-00");
    EXPECT_EQ(lines[0]["number"], 53);
    EXPECT_EQ(lines[0]["severity"], "error");
    if (std::string_view(command) != "load") continue;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]["line"], 2);
    EXPECT_EQ(lines[1]["number"], 457);
    EXPECT_EQ(lines[1]["statement"], "A BITMAP \"b.bmp\"");
  }
}

// Diagnostics and summaries come in input order when scripts load in parallel, each
// diagnostic before the summary of its script on standard output.
TEST(ToolTest, DiagnosticsInInputOrder) {
  std::vector<std::unique_ptr<TempScript>> scripts;
  std::string arguments = "load -q -j 4 /nonexistent.rc";
  for (int i = 0; i < 8; ++i) {
    scripts.push_back(std::make_unique<TempScript>(Crlf({"A BITMAP \"a.bmp\"", "A BITMAP \"b.bmp\""})));
    arguments += " " + scripts.back()->Path() + " " + kSample;
  }
  ToolRun run = Tool(arguments + " 2>&1 | cat");
  EXPECT_TRUE(run.out.starts_with("/nonexistent.rc: error: RCrrf-00: File not found (53)\n")) << run.out;
  EXPECT_TRUE(run.out.ends_with("files 17, loaded 8, failed 9\n")) << run.out;
  std::size_t at = 0;
  for (const auto& script : scripts) {
    std::size_t diagnostic = run.out.find(script->Path() + ":2: error: RCpB-00", at);
    std::size_t summary = run.out.find(script->Path() + ": failed", at);
    ASSERT_NE(summary, std::string::npos);
    EXPECT_LT(diagnostic, summary);
    at = run.out.find("sample.rc: loaded", summary);
    ASSERT_NE(at, std::string::npos);
  }
}

TEST(ToolTest, CountRowsFailuresAndTotals) {
  ToolRun tsv = Tool("count -q --format tsv /nonexistent.rc " + kSample + " " + kSample);
  EXPECT_EQ(tsv.status, 1);
  for (const std::string& row : std::vector<std::string>{kSample + "\tdialog\tIDD_ABOUTBOX\t", kSample + "\tmenu\tIDR_MAINFRAME\t",
                                kSample + "\tTotalAccelerators\t\t9\n", kSample + "\tTotalMenuItems\t\t20\n",
                                kSample + "\tdocument\t\t", "/nonexistent.rc\tfailed\t\tRCrrf-00: File not found (53)\n",
                                "TOTAL\tdocument\t\t274\n", "TOTAL\tTotalControls\t\t40\n"})
    EXPECT_NE(tsv.out.find(row), std::string::npos) << row;
  EXPECT_TRUE(tsv.out.ends_with("TOTAL\tfiles\t\t3\nTOTAL\tloaded\t\t2\nTOTAL\tfailed\t\t1\n"));
  // Every row has four columns, so a column sum never drops a script silently.
  std::istringstream rows(tsv.out);
  for (std::string row; std::getline(rows, row);) EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 3) << row;
  EXPECT_NE(Tool("count -q --words --format tsv " + kSample).out, Tool("count -q --format tsv " + kSample).out);

  ToolRun table = Tool("count -q /nonexistent.rc " + kSample + " " + kSample);
  EXPECT_NE(table.out.find("/nonexistent.rc: failed: RCrrf-00: File not found (53)\n"), std::string::npos);
  EXPECT_NE(table.out.find("TOTAL of 2 loaded: pieces\n  document "), std::string::npos);
  EXPECT_TRUE(table.out.ends_with("files 3, loaded 2, failed 1\n"));
  EXPECT_EQ(Tool("count -q " + kSample).out.find("TOTAL"), std::string::npos);
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

TEST(ToolTest, RefusesBinaryData) {
  TempScript nul(std::string("STRINGTABLE\r\n\0\0", 15));
  TempScript utf16(std::string("/\0/\0 \0c\0\r\0\n\0", 12));
  TempScript marked(EncodeText("// c\r\n", TextEncoding::Utf16LE, true));
  struct Case {
    std::string path;
    std::string expected;  // "" when the file loads
  };
  const Case cases[] = {
      {TAMREL_RC, ": error: not a resource script (binary data)\n"},
      {nul.Path(), ": error: not a resource script (binary data)\n"},
      {utf16.Path(), ": error: not a resource script (binary data); it looks like UTF-16 without a byte-order mark"},
      {marked.Path(), ""},
  };
  for (const Case& c : cases) {
    ToolRun run = Tool("load -q " + c.path);
    EXPECT_EQ(run.status, c.expected.empty() ? 0 : 1) << c.path;
    if (c.expected.empty()) EXPECT_EQ(run.err, "");
    else EXPECT_TRUE(run.err.starts_with(c.path + c.expected)) << run.err;
  }
  EXPECT_EQ(Tool("load -q --force " + nul.Path()).err.find("binary data"), std::string::npos);
}

TEST(ToolTest, UsageErrorsSayWhatIsWrong) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "A subcommand is required"},
      {"load", "FILE is required"},
      {"print --eol cr x.rc", "--eol: cr not in {crlf,lf}"},
      {"frob x.rc", "tamrel-rc: unknown command 'frob' (commands: load, print, count, dump"},
      {"load -j abc x.rc", "tamrel-rc: -j: not a number"},
      {"count -j 0 x.rc", "tamrel-rc: -j: 0 is not between 1 and 256"},
      {"load --diagnostics xml x.rc", "--diagnostics"},
  };
  for (const auto& [arguments, expected] : cases) {
    ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
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
