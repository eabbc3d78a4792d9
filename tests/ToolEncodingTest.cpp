// tamrel-rc from the outside: code pages in Unicode output (print, dump --json), conversion
// errors, the UTF-16 round trip of the corpus, deep menus in dump, and print refusing output
// it cannot stand behind.
#include <gtest/gtest.h>

#include "ToolSupport.h"
#include "common/CodePage.h"

namespace tamrel {
namespace {

// A string table per section, each section under its own pragma: the German text is on line
// 4, the Russian on line 9.
std::string TwoCodePages(const std::string& german, const std::string& russian) {
  return Crlf({"#pragma code_page(1252)", "STRINGTABLE", "BEGIN", "  IDS_DE \"" + german + "\"", "END",
               "#pragma code_page(1251)", "STRINGTABLE", "BEGIN", "  IDS_RU \"" + russian + "\"", "END"});
}
const std::string kGerman8 = "Gr\xFC\xDF" "e", kRussian8 = "\xCF\xF0\xE8";
const std::string kGerman = "Gr\u00FC\u00DFe", kRussian = "\u041F\u0440\u0438";

TEST(ToolEncodingTest, UnicodeOutputConvertsEachItemByTheCodePageOfItsLine) {
  TempScript script(TwoCodePages(kGerman8, kRussian8));
  ToolRun utf8 = Tool("print -q --eol lf --encoding utf-8 " + script.Path());
  ASSERT_EQ(utf8.status, 0) << utf8.err;
  EXPECT_NE(utf8.out.find("\"" + kGerman + "\"\n"), std::string::npos);
  EXPECT_NE(utf8.out.find("\"" + kRussian + "\"\n"), std::string::npos);
  ToolRun utf16 = Tool("print -q --eol lf --encoding utf-16le " + script.Path());
  ASSERT_EQ(utf16.status, 0);
  EXPECT_EQ(utf16.out, EncodeText(utf8.out, TextEncoding::Utf16LE, true));

  ToolRun json = Tool("dump -q --json " + script.Path());
  ASSERT_EQ(json.status, 0) << json.err;
  nlohmann::json model = nlohmann::json::parse(json.out);
  EXPECT_EQ(model["StringTable"]["Entries"][0]["Text"], "\"" + kGerman + "\"");
  EXPECT_EQ(model["StringTable"]["Entries"][1]["Text"], "\"" + kRussian + "\"");
  EXPECT_EQ(model["Lines"][8], "  IDS_RU \"" + kRussian + "\"");
  EXPECT_EQ(model["CodePages"], nlohmann::json::parse(R"([{"Line": 1, "CodePage": null},
      {"Line": 1, "CodePage": 1252}, {"Line": 6, "CodePage": 1251}])"));
  EXPECT_NE(Tool("load -q " + script.Path()).out.find("encoding bytes, code pages 1252 1251\n"), std::string::npos);
  // Without a target code page the bytes pass through unchanged, as they were read.
  EXPECT_NE(Tool("print -q " + script.Path()).out.find("\"" + kGerman8 + "\"\r\n"), std::string::npos);

  // The same script in UTF-16, written as 8-bit text in the code pages of its pragmas.
  TempScript wide(EncodeText(TwoCodePages(kGerman, kRussian), TextEncoding::Utf16LE, true));
  ToolRun narrow = Tool("print -q --eol lf --encoding code-page " + wide.Path());
  ASSERT_EQ(narrow.status, 0) << narrow.err;
  EXPECT_NE(narrow.out.find("\"" + kGerman8 + "\"\n"), std::string::npos);
  EXPECT_NE(narrow.out.find("\"" + kRussian8 + "\"\n"), std::string::npos);
  EXPECT_NE(Tool("load -q " + wide.Path()).out.find("encoding utf-16le, code pages 65001\n"), std::string::npos);
}

// Text that does not convert is an error and nothing is written; in the text form the
// diagnostic reads PATH:LINE[:COLUMN]: SEVERITY: MESSAGE, with --diagnostics json it is one
// object with the same fields and no library code.
TEST(ToolEncodingTest, CodePageDiagnostics) {
  struct Case {
    std::string script;
    std::string arguments;
    int line;
    nlohmann::json column;
    std::string message;
    std::string severity = "error";
  };
  const std::string table = "STRINGTABLE\r\nBEGIN\r\n", end = "\"\r\nEND\r\n";
  const std::string noCodePage = table + "  IDS_A \"caf\xE9" + end;
  const std::string badByte = "#pragma code_page(1252)\r\n" + table + "  IDS_A \"ab\x81" "c" + end;
  const std::string noPage = "non-ASCII text and no code page: add #pragma code_page(N) or give --code-page N";
  const Case cases[] = {
      {noCodePage, "print --encoding utf-8", 3, 13, noPage},
      {noCodePage, "dump --json", 3, 13, noPage},
      {badByte, "print --encoding utf-16le", 4, 12, "byte 0x81 is not valid in code page 1252"},
      {badByte, "dump --json", 4, 12, "byte 0x81 is not valid in code page 1252"},
      {"#pragma code_page(54321)\r\n" + table + "  IDS_A \"\xE9" + end, "print --encoding utf-8", 1, nullptr,
       "code page 54321 is not supported"},
      {table + "  IDS_A \"caf\xC3" + end, "print --encoding utf-8 --code-page 65001", 3, 13,
       "byte 0xC3 is not valid in code page 65001"},
      // A UTF-16 script written as 8-bit text in the code page in force at each item.
      {EncodeText("#pragma code_page(437)\r\n" + table + "  IDS_A \"5 \u20AC" + end, TextEncoding::Utf16LE, true),
       "print --encoding code-page", 4, 12, "character U+20AC cannot be written in code page 437"},
      {EncodeText(table + "  IDS_A \"\u00E9" + end, TextEncoding::Utf16LE, true), "print --encoding code-page", 3,
       10, noPage},
      {"#pragma code_page(1251)\r\n" + table + "  IDS_A \"\xD0\x9F" + end, "dump --json", 4, nullptr,
       "text looks like UTF-8 but code page 1251 is in force", "warning"},
  };
  for (const Case& c : cases) {
    TempScript script(c.script);
    const bool error = c.severity == "error";
    ToolRun text = Tool(c.arguments + " -q " + script.Path());
    EXPECT_EQ(text.status, error ? 1 : 0) << c.arguments << c.message;
    EXPECT_EQ(text.out.empty(), error) << c.arguments << c.message;
    EXPECT_EQ(text.err, script.Path() + ":" + std::to_string(c.line) +
                            (c.column.is_null() ? "" : ":" + c.column.dump()) + ": " + c.severity + ": " + c.message +
                            "\n");
    ToolRun json = Tool(c.arguments + " -q --diagnostics json " + script.Path());
    EXPECT_EQ(json.status, text.status) << c.message;
    std::vector<nlohmann::json> lines = JsonLines(json.err);
    ASSERT_EQ(lines.size(), 1u) << json.err;
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
  EXPECT_EQ(model["Error"], reports[0]);  // its fields are checked in ToolTest.DiagnosticsAsJsonLines
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
    ToolRun run = Tool(command + deep.Path() + " >/dev/null");
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
  std::vector<nlohmann::json> reports = JsonLines(json.err);
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
  const std::string temp = std::filesystem::temp_directory_path() / ("tamrel_round_" + std::to_string(::getpid()));
  int checked = ForEachLoadedCorpusScript([&](const std::filesystem::path& file, const clsRC& rc) {
    const std::string path = file.string();
    const std::vector<int> codePages = CodePageMap(rc.Lines, kNoCodePage, false).CodePagesUsed();
    const bool utf16 = rc.SourceEncoding == TextEncoding::Utf16LE;
    ASSERT_TRUE(utf16 || rc.SourceEncoding == TextEncoding::Bytes) << path;
    ASSERT_TRUE(utf16 || codePages.empty() || codePages == std::vector<int>{1252}) << path;
    std::string regenerated;
    for (const std::string& line : rc.PrintLines()) regenerated += line + "\r\n";
    std::ofstream(temp, std::ios::binary) << EncodeText(regenerated, rc.SourceEncoding, true);
    const char* from = utf16 ? "UTF-16" : codePages.empty() ? "ASCII" : "CP1252";
    ToolRun expected = Shell(std::string("iconv -f ") + from + " -t UTF-8 " + temp);
    ASSERT_EQ(expected.status, 0) << path << expected.err;
    ASSERT_EQ(Tool("print -q --strict --encoding utf-16le '" + path + "' >" + temp).status, 0);
    ToolRun back = Tool("print -q --strict --encoding utf-8 " + temp);
    ASSERT_EQ(back.status, 0) << path << back.err;
    EXPECT_EQ(back.out, expected.out) << path;
  });
  std::remove(temp.c_str());
  EXPECT_GE(checked, 80);
}

}  // namespace
}  // namespace tamrel
