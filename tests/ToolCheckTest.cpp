// tamrel-rc check: the seeded faults of a test script exactly, a clean sample, the controls a
// 40 % pseudo-translation clips, the JSON format, --max-warnings and usage errors.
#include <gtest/gtest.h>

#include <fstream>

#include "ToolSupport.h"

namespace tamrel {
namespace {

const std::string kOverflow = std::string(TAMREL_TEST_DATA) + "/layout/overflow.rc";

TEST(ToolCheck, ReportsExactlyTheSeededFaults) {
  ToolRun run = Tool("check -q " + kOverflow);
  const std::string p = kOverflow + ":";
  EXPECT_EQ(run.out,
            p + "9: warning: IDR_MENU/ID_FILE_OPEN \"Datei \xC3\xB6""ffnen...\" has the mnemonic 'd' of ID_FILE_PRINT "
                "\"Drucken\" (line 8)\n" +
            p + "22: warning: IDD_SEEDED/CAPTION \"Eigenschaften der Verbindung bearbeiten\" needs 189 du, has 100 (89%)\n" +
            p + "27: warning: IDD_SEEDED/IDC_CASE \"Gro\xC3\x9F-/Kleinschreibung beachten\" needs 113 du, has 80 (41%)\n" +
            p + "28: warning: IDD_SEEDED/IDC_NOTE \"Ein Text, der in zwei Zeilen nicht ganz hineinpasst, weil er lang "
                "ist.\" needs 32 du of height, has 16 (100%)\n" +
            p + "32: warning: IDD_SEEDED/IDOK \"Speichern\" has the mnemonic 's' of IDC_STATIC \"Suchen nach:\" (line 25)\n" +
            p + "33: warning: IDD_SEEDED/IDCANCEL \"Abbrechen\" needs 39 du, has 30 (29%)\n" +
            p + "34: warning: IDD_SEEDED/IDHELP at 80, 4, 30, 14 lies outside the dialog (100 x 96)\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
}

TEST(ToolCheck, MaxWarningsDecidesTheExitStatus) {
  struct Case {
    const char* option;
    int status;
  };
  for (const Case& c : {Case{"", 1}, Case{"--max-warnings 6", 1}, Case{"--max-warnings 7", 0}, Case{"--max-warnings 100", 0}}) {
    SCOPED_TRACE(c.option);
    EXPECT_EQ(Tool("check -q " + std::string(c.option) + " " + kOverflow).status, c.status);
  }
}

TEST(ToolCheck, JsonLinesCarryTheKindAsCode) {
  ToolRun run = Tool("check -q --format json " + kOverflow);
  std::vector<nlohmann::json> lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 7u);
  std::vector<std::string> codes;
  for (const nlohmann::json& line : lines) {
    EXPECT_EQ(line["severity"], "warning");
    EXPECT_EQ(line["path"], kOverflow);
    codes.push_back(line["code"]);
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"duplicate-mnemonic", "overflow", "overflow", "overflow",
                                             "duplicate-mnemonic", "overflow", "outside-dialog"}));
  EXPECT_EQ(lines[5]["line"], 33);
}

TEST(ToolCheck, TheSampleIsClean) {
  ToolRun run = Tool("check " + kSample);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "tamrel-rc: 0 findings in 1 file\n");
}

// A 40 % pseudo-translation clips the labels, check boxes, radio buttons and the default button
// of the Find dialog and two labels of the Options dialog; the About dialog's texts have room
// to spare, and so have the Cancel buttons (50 du for 6 characters).
TEST(ToolCheck, PseudoTranslationOfTheSampleReportsTheClippedControls) {
  TempScript pseudo("");
  ASSERT_EQ(Tool("pseudo -q --expand 40 -o " + pseudo.Path() + " " + kSample).status, 0);
  ToolRun run = Tool("check -q --format json " + pseudo.Path());
  EXPECT_EQ(run.status, 1);
  std::vector<std::string> found;
  for (const nlohmann::json& line : JsonLines(run.out)) {
    EXPECT_EQ(line["code"], "overflow");
    const std::string message = line["message"];
    found.push_back(message.substr(0, message.find(' ')));
  }
  EXPECT_EQ(found, (std::vector<std::string>{"IDD_FIND/IDC_STATIC", "IDD_FIND/IDC_WHOLE_WORD", "IDD_FIND/IDC_MATCH_CASE",
                                             "IDD_FIND/IDC_UP", "IDD_FIND/IDC_DOWN", "IDD_FIND/IDOK",
                                             "IDD_OPTIONS/IDC_STATIC", "IDD_OPTIONS/IDC_WORD_WRAP"}));
}

TEST(ToolCheck, UsageErrorsAndFontTables) {
  EXPECT_EQ(Tool("check --format xml " + kSample).status, 2);
  EXPECT_EQ(Tool("check --max-warnings -1 " + kSample).status, 2);
  EXPECT_EQ(Tool("check").status, 2);

  ToolRun missingTable = Tool("check --font-map /nonexistent/fonts.json " + kSample);
  EXPECT_EQ(missingTable.status, 2);
  EXPECT_NE(missingTable.err.find("/nonexistent/fonts.json"), std::string::npos);

  // A table whose family is not installed: the script is reported, nothing crashes.
  TempScript table(R"({"faces": {}, "fallback": "No Such Family 4711"})");
  ToolRun missingFont = Tool("check -q --font-map " + table.Path() + " " + kSample);
  EXPECT_EQ(missingFont.status, 1);
  EXPECT_NE(missingFont.err.find("No Such Family 4711"), std::string::npos);
  EXPECT_EQ(missingFont.out, "");

  // A table of its own decides the measurement: with a monospaced font for MS Shell Dlg (6.4 px
  // a character at 8 points, still 6 px of average width, so 1.5 px a unit) "Find what:" needs
  // 10 * 6.4 / 1.5 = 42.7 du of the 42 it has, and the check box 21 * 6.4 + 18 px = 102 du.
  TempScript mono(R"({"faces": {"MS Shell Dlg": "Liberation Mono"}, "fallback": "Liberation Sans"})");
  ToolRun monoRun = Tool("check -q --font-map " + mono.Path() + " " + kSample);
  EXPECT_EQ(monoRun.status, 1);
  EXPECT_NE(monoRun.out.find("IDD_FIND/IDC_STATIC \"Find what:\" needs 43 du, has 42 (2%)"), std::string::npos);
  EXPECT_NE(monoRun.out.find("IDD_FIND/IDC_WHOLE_WORD \"Match whole word only\" needs 102 du, has 100 (2%)"),
            std::string::npos);
}

TEST(ToolCheck, LoadFailuresAreReportedAsForEveryCommand) {
  ToolRun run = Tool("check -q /nonexistent/script.rc");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("/nonexistent/script.rc"), std::string::npos);
}

}  // namespace
}  // namespace tamrel
