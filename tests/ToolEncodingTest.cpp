// tamrel-rc from the outside: code pages in Unicode output (print, dump --json), conversion
// errors, the UTF-16 round trip of the corpus, deep menus in dump, and print refusing output
// it cannot stand behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TestSupport.h"
#include "common/CodePage.h"

namespace tamrel {
namespace {

bool IsScript(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  return extension == ".rc" || extension == ".Rc" || extension == ".RC";
}

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun Shell(const std::string& command) {
  const std::string errPath =
      std::filesystem::temp_directory_path() / ("tamrel_encoding_err_" + std::to_string(::getpid()));
  ToolRun run;
  FILE* pipe = ::popen((command + " 2>" + errPath).c_str(), "r");
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

ToolRun Tool(const std::string& arguments) { return Shell(std::string(TAMREL_RC) + " " + arguments); }

// A string table per section, each section under its own pragma.
const std::string kTwoCodePages = Crlf({
    "#pragma code_page(1252)",  // 1
    "STRINGTABLE",              // 2
    "BEGIN",                    // 3
    "  IDS_DE \"Gr\xFC\xDF"
    "e\"",                        // 4
    "END",                        // 5
    "#pragma code_page(1251)",    // 6
    "STRINGTABLE",                // 7
    "BEGIN",                      // 8
    "  IDS_RU \"\xCF\xF0\xE8\"",  // 9
    "END",                        // 10
});

TEST(ToolEncodingTest, UnicodeOutputConvertsEachItemByTheCodePageOfItsLine) {
  TempScript script(kTwoCodePages);
  ToolRun utf8 = Tool("print -q --eol lf --encoding utf-8 " + script.Path());
  ASSERT_EQ(utf8.status, 0) << utf8.err;
  EXPECT_NE(utf8.out.find("\"Gr\u00FC\u00DFe\"\n"), std::string::npos);
  EXPECT_NE(utf8.out.find("\"\u041F\u0440\u0438\"\n"), std::string::npos);

  ToolRun utf16 = Tool("print -q --eol lf --encoding utf-16le " + script.Path());
  ASSERT_EQ(utf16.status, 0);
  EXPECT_EQ(utf16.out, EncodeText(utf8.out, TextEncoding::Utf16LE, true));

  ToolRun json = Tool("dump -q --json " + script.Path());
  ASSERT_EQ(json.status, 0) << json.err;
  nlohmann::json model = nlohmann::json::parse(json.out);
  EXPECT_EQ(model["StringTable"]["Entries"][0]["Text"], "\"Gr\u00FC\u00DFe\"");
  EXPECT_EQ(model["StringTable"]["Entries"][1]["Text"], "\"\u041F\u0440\u0438\"");
  EXPECT_EQ(model["Lines"][8], "  IDS_RU \"\u041F\u0440\u0438\"");
  EXPECT_EQ(model["CodePages"], nlohmann::json::parse(R"([{"Line": 1, "CodePage": null},
      {"Line": 1, "CodePage": 1252}, {"Line": 6, "CodePage": 1251}])"));

  ToolRun load = Tool("load -q " + script.Path());
  EXPECT_NE(load.out.find("encoding bytes, code pages 1252 1251\n"), std::string::npos) << load.out;
  // Without a target code page the bytes pass through unchanged, as they were read.
  EXPECT_NE(Tool("print -q " + script.Path())
                .out.find("\"Gr\xFC\xDF"
                          "e\"\r\n"),
            std::string::npos);
}

TEST(ToolEncodingTest, TextThatDoesNotConvertIsAnErrorAndNothingIsWritten) {
  struct Case {
    std::string script;
    std::string arguments;
    std::string message;  // after the script's path
  };
  const std::string table = "STRINGTABLE\r\nBEGIN\r\n";
  const Case cases[] = {
      {table + "  IDS_A \"caf\xE9\"\r\nEND\r\n", "print --encoding utf-8",
       ":3:13: error: non-ASCII text and no code page: add #pragma code_page(N) or give --code-page N\n"},
      {table + "  IDS_A \"caf\xE9\"\r\nEND\r\n", "dump --json",
       ":3:13: error: non-ASCII text and no code page: add #pragma code_page(N) or give --code-page N\n"},
      {"#pragma code_page(1252)\r\n" + table +
           "  IDS_A \"ab\x81"
           "c\"\r\nEND\r\n",
       "print --encoding utf-16le", ":4:12: error: byte 0x81 is not valid in code page 1252\n"},
      {"#pragma code_page(1252)\r\n" + table +
           "  IDS_A \"ab\x81"
           "c\"\r\nEND\r\n",
       "dump --json", ":4:12: error: byte 0x81 is not valid in code page 1252\n"},
      {"#pragma code_page(54321)\r\n" + table + "  IDS_A \"\xE9\"\r\nEND\r\n", "print --encoding utf-8",
       ":1: error: code page 54321 is not supported\n"},
      {table + "  IDS_A \"caf\xC3\"\r\nEND\r\n", "print --encoding utf-8 --code-page 65001",
       ":3:13: error: byte 0xC3 is not valid in code page 65001\n"},
      // A UTF-16 script written as 8-bit text in the code page in force at each item.
      {EncodeText("#pragma code_page(437)\r\n" + table + "  IDS_A \"5 \u20AC\"\r\nEND\r\n",
                  TextEncoding::Utf16LE, true),
       "print --encoding code-page", ":4:12: error: character U+20AC cannot be written in code page 437\n"},
      {EncodeText(table + "  IDS_A \"\u00E9\"\r\nEND\r\n", TextEncoding::Utf16LE, true),
       "print --encoding code-page",
       ":3:10: error: non-ASCII text and no code page: add #pragma code_page(N) or give --code-page N\n"},
  };
  for (const Case& c : cases) {
    TempScript script(c.script);
    ToolRun run = Tool(c.arguments + " -q " + script.Path());
    EXPECT_EQ(run.status, 1) << c.arguments << c.message;
    EXPECT_TRUE(run.out.empty()) << c.arguments << c.message;
    EXPECT_EQ(run.err, script.Path() + c.message);
  }
}

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

// Code-page errors and warnings are diagnostics like any other: with --diagnostics json each is
// one object with its path, line, column and severity, and the message text of the text form.
TEST(ToolEncodingTest, CodePageDiagnosticsAsJson) {
  struct Case {
    std::string script;
    std::string arguments;
    int status;
    int line;
    nlohmann::json column;
    std::string severity;
    std::string message;
  };
  const std::string table = "STRINGTABLE\r\nBEGIN\r\n";
  const Case cases[] = {
      {table + "  IDS_A \"caf\xE9\"\r\nEND\r\n", "print --encoding utf-8", 1, 3, 13, "error",
       "non-ASCII text and no code page: add #pragma code_page(N) or give --code-page N"},
      {"#pragma code_page(1252)\r\n" + table + "  IDS_A \"ab\x81\"\r\nEND\r\n", "dump --json", 1, 4, 12, "error",
       "byte 0x81 is not valid in code page 1252"},
      {"#pragma code_page(54321)\r\n" + table + "  IDS_A \"\xE9\"\r\nEND\r\n", "print --encoding utf-16le", 1, 1,
       nullptr, "error", "code page 54321 is not supported"},
      {"#pragma code_page(1251)\r\n" + table + "  IDS_A \"\xD0\x9F\"\r\nEND\r\n", "dump --json", 0, 4, nullptr,
       "warning", "text looks like UTF-8 but code page 1251 is in force"},
  };
  for (const Case& c : cases) {
    TempScript script(c.script);
    ToolRun run = Tool(c.arguments + " -q --diagnostics json " + script.Path());
    EXPECT_EQ(run.status, c.status) << c.message;
    std::vector<nlohmann::json> lines = JsonLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0]["path"], script.Path());
    EXPECT_EQ(lines[0]["line"], c.line) << c.message;
    EXPECT_EQ(lines[0]["column"], c.column) << c.message;
    EXPECT_EQ(lines[0]["severity"], c.severity);
    EXPECT_EQ(lines[0]["message"], c.message);
    EXPECT_TRUE(lines[0]["code"].is_null());
  }
}

// A script that was read but failed to load dumps its model with the failure under "Error",
// the same object --diagnostics json writes; a script that loaded has null there.
TEST(ToolEncodingTest, DumpCarriesTheFailure) {
  TempScript failing(Crlf({"A BITMAP \"a.bmp\"", "A BITMAP \"b.bmp\""}));
  ToolRun run = Tool("dump -q --json --diagnostics json " + failing.Path());
  EXPECT_EQ(run.status, 1);
  std::vector<nlohmann::json> reports = JsonLines(run.err);
  ASSERT_EQ(reports.size(), 1u) << run.err;
  const nlohmann::json model = nlohmann::json::parse(run.out);
  EXPECT_EQ(model["Error"], reports[0]);
  EXPECT_EQ(model["Error"]["line"], 2);
  EXPECT_EQ(model["Error"]["number"], 457);
  EXPECT_EQ(model["Error"]["statement"], "A BITMAP \"b.bmp\"");
  EXPECT_FALSE(model["Initialized"]);

  ToolRun text = Tool("dump -q " + failing.Path());
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.out.find("\nError:\n  path: " + failing.Path() + "\n  line: 2\n  column: null\n  severity: error\n"
                          "  code: RCpB-00\n  number: 457\n"),
            std::string::npos)
      << text.out;

  TempScript loading(Crlf({"A BITMAP \"a.bmp\""}));
  ToolRun loaded = Tool("dump -q --json " + loading.Path());
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_TRUE(nlohmann::json::parse(loaded.out)["Error"].is_null());
  EXPECT_NE(Tool("dump -q " + loading.Path()).out.find("\nError: null\n"), std::string::npos);
}

TEST(ToolEncodingTest, Utf16ScriptWrittenInTheCodePagesOfItsPragmas) {
  TempScript script(EncodeText(
      Crlf({"#pragma code_page(1252)", "STRINGTABLE", "BEGIN", "  IDS_DE \"Gr\u00FC\u00DFe\"", "END",
            "#pragma code_page(1251)", "STRINGTABLE", "BEGIN", "  IDS_RU \"\u041F\u0440\u0438\"", "END"}),
      TextEncoding::Utf16LE, true));
  ToolRun run = Tool("print -q --eol lf --encoding code-page " + script.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"Gr\xFC\xDF"
                         "e\"\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"\xCF\xF0\xE8\"\n"), std::string::npos);
  EXPECT_NE(Tool("load -q " + script.Path()).out.find("encoding utf-16le, code pages 65001\n"),
            std::string::npos);
}

// Files converted to UTF-8 whose pragma stayed: warn, follow the pragma, and let the options
// read the file as UTF-8.
TEST(ToolEncodingTest, Utf8TextUnderAnotherCodePage) {
  TempScript script(Crlf({"#pragma code_page(1251)", "STRINGTABLE", "BEGIN",
                          "  IDS_A \"\xD0\x9F\xD1\x80\xD0\xB8\"", "  IDS_B \"\xD0\x9F\"", "END"}));
  ToolRun followed = Tool("print -q --eol lf --encoding utf-8 " + script.Path());
  EXPECT_EQ(followed.status, 0);
  EXPECT_EQ(followed.err,
            script.Path() + ":4: warning: text looks like UTF-8 but code page 1251 is in force\n");
  EXPECT_NE(followed.out.find("\"\u0420\u045F\u0421\u0402\u0420\u0451\""), std::string::npos);
  ToolRun asUtf8 =
      Tool("print -q --eol lf --encoding utf-8 --code-page 65001 --ignore-pragmas " + script.Path());
  EXPECT_EQ(asUtf8.status, 0);
  EXPECT_EQ(asUtf8.err, "");
  EXPECT_NE(asUtf8.out.find("\"\u041F\u0440\u0438\""), std::string::npos);
  EXPECT_EQ(Tool("load -q --code-page 12345 " + script.Path()).status, 2);
}

TEST(ToolEncodingTest, DumpOfAScriptThatCannotBeReadPrintsNothing) {
  for (const char* command : {"dump -q /nonexistent.rc", "dump -q --json /nonexistent.rc"}) {
    ToolRun run = Tool(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_NE(run.err.find("File not found"), std::string::npos) << command;
  }
}

std::string DeepMenu(int depth) {
  std::string script = "IDR_M MENU\r\nBEGIN\r\n";
  for (int i = 0; i < depth; ++i) script += "POPUP \"P" + std::to_string(i) + "\"\r\nBEGIN\r\n";
  script += "MENUITEM \"Deepest\", ID_X\r\n";
  for (int i = 0; i <= depth; ++i) script += "END\r\n";
  return script;
}

// The walk keeps its own stack: 10,000 levels dump (their indentation alone makes gigabytes,
// so only the exit status is checked there), and the nesting is right where it can be read.
TEST(ToolEncodingTest, DeepMenusDump) {
  TempScript deep(DeepMenu(10000));
  for (const char* command : {"dump -q ", "dump -q --json "}) {
    ToolRun run = Shell(std::string(TAMREL_RC) + " " + command + deep.Path() + " >/dev/null");
    EXPECT_EQ(run.status, 0) << command << run.err.substr(0, 500);
    EXPECT_EQ(run.err, "") << command;
  }

  constexpr int kDepth = 150;
  TempScript file(DeepMenu(kDepth));
  ToolRun text = Tool("dump -q " + file.Path());
  ASSERT_EQ(text.status, 0);
  const std::size_t indent = 2 + 4 * (kDepth + 1);  // two blanks more for each object and its "Items"
  EXPECT_NE(text.out.find("\n" + std::string(indent, ' ') + "- ID: \n" + std::string(indent + 2, ' ') +
                          "ItemType: MENUITEM\n"),
            std::string::npos);
  ToolRun json = Tool("dump -q --json " + file.Path());
  ASSERT_EQ(json.status, 0);
  const nlohmann::json model = nlohmann::json::parse(json.out);
  const nlohmann::json* menu = &model["Menus"][0];
  for (int level = 0; level < kDepth; ++level) {
    ASSERT_EQ((*menu)["Items"].size(), 1u) << level;
    menu = &(*menu)["Items"][0];
    ASSERT_EQ((*menu)["Entry"], "popup") << level;
    ASSERT_EQ((*menu)["Text"], "\"P" + std::to_string(level) + "\"");
  }
  EXPECT_EQ((*menu)["Items"][0]["Text"], "\"Deepest\"");
}

TEST(ToolEncodingTest, PrintRefusesAScriptItCannotStandBehind) {
  std::string controls =
      "IDD_X DIALOG DISCARDABLE 0, 0, 100, 100\r\nSTYLE WS_POPUP\r\nFONT 8, \"A\"\r\nBEGIN\r\n";
  for (int i = 0; i < 16381; ++i)
    controls += "  CONTROL \"x\", IDC_X" + std::to_string(i) + ", \"Button\", 0, 1, 1, 1, 1\r\n";
  controls += "END\r\n";
  TempScript overflow(controls);
  ToolRun failed = Tool("print -q " + overflow.Path());
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  // The writer's report and the refusal, each a diagnostic in the chosen format.
  // The writer's report is about the model, so it names no line.
  EXPECT_NE(failed.err.find(overflow.Path() + ": error: RCpl-06: Overflow (6)\n"), std::string::npos) << failed.err;
  EXPECT_NE(failed.err.find(overflow.Path() + ": error: the script could not be regenerated; nothing written\n"),
            std::string::npos)
      << failed.err;
  ToolRun json = Tool("print -q --diagnostics json " + overflow.Path());
  EXPECT_EQ(json.status, 1);
  std::vector<nlohmann::json> reports;
  std::istringstream lines(json.err);
  for (std::string line; std::getline(lines, line);) reports.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(reports.size(), 2u) << json.err;
  EXPECT_EQ(reports[0]["code"], "RCpl-06");
  EXPECT_TRUE(reports[0]["line"].is_null()) << json.err;
  EXPECT_EQ(reports[1]["message"], "the script could not be regenerated; nothing written");

  std::string dialogs;
  for (int i = 0; i < 5460; ++i)
    dialogs += "IDD_" + std::to_string(i) +
               " DIALOG 0, 0, 1, 1\r\nSTYLE WS_POPUP\r\nFONT 8, \"A\"\r\nBEGIN\r\nEND\r\n";
  TempScript tooLong(dialogs);
  ToolRun refused = Tool("print -q " + tooLong.Path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("32774 lines"), std::string::npos) << refused.err;
}

// Every corpus script that loads: written as UTF-16 and that read back and written as UTF-8
// gives what the iconv program makes of the script's own regenerated text (as the library
// writes it, in the encoding the script was read in).
TEST(ToolEncodingTest, CorpusRoundTripThroughUtf16AgreesWithIconv) {
  const std::string temp =
      std::filesystem::temp_directory_path() / ("tamrel_round_" + std::to_string(::getpid()));
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(TAMREL_TEST_DATA) + "/corpus")) {
    if (!IsScript(entry.path())) continue;
    const std::string path = entry.path().string();
    std::ifstream in(path, std::ios::binary);
    Loaded loaded = LoadText(std::string(std::istreambuf_iterator<char>(in), {}));
    if (!loaded.result) continue;
    ++checked;
    const clsRC& rc = *loaded.rc;
    const std::vector<int> codePages = CodePageMap(rc.Lines, kNoCodePage, false).CodePagesUsed();
    const bool utf16 = rc.SourceEncoding == TextEncoding::Utf16LE;
    ASSERT_TRUE(utf16 || rc.SourceEncoding == TextEncoding::Bytes) << path;
    ASSERT_TRUE(utf16 || codePages.empty() || codePages == std::vector<int>{1252}) << path;
    std::string regenerated;
    for (const std::string& line : rc.PrintLines()) regenerated += line + "\r\n";
    std::ofstream(temp, std::ios::binary) << EncodeText(regenerated, rc.SourceEncoding, true);
    ToolRun expected = Shell("iconv -f " +
                             std::string(utf16               ? "UTF-16"
                                         : codePages.empty() ? "ASCII"
                                                             : "CP1252") +
                             " -t UTF-8 " + temp);
    ASSERT_EQ(expected.status, 0) << path << expected.err;

    ASSERT_EQ(Shell(std::string(TAMREL_RC) + " print -q --encoding utf-16le '" + path + "' >" + temp).status,
              0);
    ToolRun back = Tool("print -q --encoding utf-8 " + temp);
    ASSERT_EQ(back.status, 0) << path << back.err;
    EXPECT_EQ(back.out, expected.out) << path;
  }
  std::remove(temp.c_str());
  EXPECT_GE(checked, 80);
}

}  // namespace
}  // namespace tamrel
