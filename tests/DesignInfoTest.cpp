// DESIGNINFO sections written with the most entries a line count holds. Reading, writing and
// failing are golden scripts (tests/data/golden/designinfo-*.rc).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

TEST(DesignInfoTest, WriterCountsEntriesInSixteenBits) {
  clsDesignInfo info{"GUIDELINES", "DISCARDABLE", "DESIGNINFO", {}, 1};
  for (int i = 0; i < 32767; ++i) info.Items.Add(" TOPMARGIN, 7");
  LineCollection lines = info.PrintLines();
  EXPECT_EQ(lines.Count(), 32770);
  EXPECT_EQ(lines.Item(32769), "\t TOPMARGIN, 7");
  EXPECT_EQ(lines.Item(32770), "END");
  info.Items.Add(" TOPMARGIN, 7");
  try {
    info.PrintLines();
    FAIL() << "expected 32768 entries to overflow";
  } catch (const RCError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
}

}  // namespace
}  // namespace tamrel
