// tamrel-rc check: the controls a 40 % pseudo-translation of the sample clips. The seeded faults
// of tests/data/layout/overflow.rc, the formats, --max-warnings, font tables and usage errors are
// in the transcript (tests/data/commands.txt).
#include <gtest/gtest.h>

#include <fstream>

#include "ToolSupport.h"

namespace tamrel {
namespace {


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

}  // namespace
}  // namespace tamrel
