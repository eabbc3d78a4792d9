// tamrel-rc from the outside: the UTF-16 round trip of the corpus, deep menus in dump, and print
// refusing output it cannot stand behind. Code pages in Unicode output and conversion errors are
// in the transcript (tests/data/commands.txt).
#include <gtest/gtest.h>

#include "ToolSupport.h"
#include "common/CodePage.h"

namespace tamrel {
namespace {

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
