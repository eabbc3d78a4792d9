// DESIGNINFO sections: the header, the body kept as statements, where the walk goes on, and
// the written form. Their failures are in SectionFailureTest (FileReferenceTest.cpp).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// A statement over two lines is one entry; the reader leaves the cursor on the closing END, so
// the walk reads the next line (here a header without memory option, which reads with an
// empty Disposition).
TEST(DesignInfoTest, BodyKeptAndWrittenAndTheWalkGoesOnAfterEnd) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded =
      LoadText(Crlf({"GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "    IDD_ABOUT, DIALOG", "    BEGIN",
                     "        LEFTMARGIN,", "            7", "\tTOPMARGIN, 7", "        BOTTOMMARGIN, 88  ",
                     "    END", "END", "PLAIN DESIGNINFO", "BEGIN", "END", "IDI_A ICON \"a.ico\""}),
               form);
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  ASSERT_EQ(loaded.rc->DesignInfos.Count(), 2);
  EXPECT_EQ(loaded.rc->Icons.Count(), 1);
  EXPECT_EQ(loaded.rc->DesignInfos.Item(1).Disposition, "DISCARDABLE");
  EXPECT_EQ(loaded.rc->DesignInfos.Item(2).Disposition, "");
  EXPECT_EQ(int(loaded.rc->DesignInfos.Item(2).Line), 11);
  EXPECT_EQ(ToVector(loaded.rc->DesignInfos.Item(1).PrintLines()),
            (V{"GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "\t IDD_ABOUT, DIALOG", "\t BEGIN",
               "\t LEFTMARGIN, 7", "\t TOPMARGIN, 7", "\t BOTTOMMARGIN, 88", "\t END", "END"}));
  EXPECT_EQ(ToVector(loaded.rc->DesignInfos.Item(2).PrintLines()), (V{"PLAIN DESIGNINFO ", "BEGIN", "END"}));
  // One progress value per body statement, then the walk's value for the line after each END.
  EXPECT_EQ(V(form->calls.begin() + 5, form->calls.end()),
            (V{"value=4", "value=5", "value=7", "value=8", "value=9", "value=10", "max?", "value=11", "max?",
               "value=14", "max?", "value=0", "status:Ready."}));
}

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
