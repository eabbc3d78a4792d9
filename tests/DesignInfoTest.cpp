// DESIGNINFO sections: the header, the body kept as statements, where the walk goes on, the
// written form, and the ways a section stops the build.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// The calls the walk and the reader make on the form after the five of reading and starting.
V CallsAfterStart(const RecordingForm& form) { return V(form.calls.begin() + 5, form.calls.end()); }

TEST(DesignInfoTest, BodyStatementsKeptAndCursorLeftOnClosingEnd) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({
                               "GUIDELINES DESIGNINFO DISCARDABLE",
                               "BEGIN",
                               "    IDD_ABOUT, DIALOG",
                               "    BEGIN",
                               "        LEFTMARGIN, 7",
                               "        RIGHTMARGIN, 179",
                               "\tTOPMARGIN, 7",
                               "        BOTTOMMARGIN, 88  ",
                               "    END",
                               "END",
                               "IDI_A ICON \"a.ico\"",
                           }),
                           form);
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  ASSERT_EQ(loaded.rc->DesignInfos.Count(), 1);
  const clsDesignInfo& info = loaded.rc->DesignInfos.Item(1);
  EXPECT_EQ(info.ID, "GUIDELINES");
  EXPECT_EQ(info.ItemType, "DESIGNINFO");
  EXPECT_EQ(info.Disposition, "DISCARDABLE");
  EXPECT_EQ(int(info.Line), 1);
  EXPECT_EQ(ToVector(info.Items), (V{" IDD_ABOUT, DIALOG", " BEGIN", " LEFTMARGIN, 7", " RIGHTMARGIN, 179",
                                     " TOPMARGIN, 7", " BOTTOMMARGIN, 88", " END"}));
  EXPECT_EQ(loaded.rc->Icons.Count(), 1);
  // One progress value per body statement, then the walk moves on from the closing END.
  EXPECT_EQ(CallsAfterStart(*form), (V{"value=4", "value=5", "value=6", "value=7", "value=8", "value=9", "value=10",
                                       "max?", "value=11", "max?", "value=0", "status:Ready."}));

  EXPECT_EQ(ToVector(info.PrintLines()),
            (V{"GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "\t IDD_ABOUT, DIALOG", "\t BEGIN", "\t LEFTMARGIN, 7",
               "\t RIGHTMARGIN, 179", "\t TOPMARGIN, 7", "\t BOTTOMMARGIN, 88", "\t END", "END"}));
}

TEST(DesignInfoTest, StatementOverTwoLinesIsOneEntry) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({"GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "    IDD_X, DIALOG", "    BEGIN",
                                 "        LEFTMARGIN,", "            7", "    END", "END"}),
                           form);
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->DesignInfos.Count(), 1);
  EXPECT_EQ(ToVector(loaded.rc->DesignInfos.Item(1).Items), (V{" IDD_X, DIALOG", " BEGIN", " LEFTMARGIN, 7", " END"}));
  EXPECT_EQ(CallsAfterStart(*form),
            (V{"value=4", "value=5", "value=7", "value=8", "max?", "value=0", "status:Ready."}));
}

TEST(DesignInfoTest, HeaderWithoutMemoryOption) {
  Loaded loaded = LoadText(Crlf({"GUIDELINES DESIGNINFO", "BEGIN", "END"}));
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->DesignInfos.Count(), 1);
  const clsDesignInfo& info = loaded.rc->DesignInfos.Item(1);
  EXPECT_EQ(info.ID, "GUIDELINES");
  EXPECT_EQ(info.Disposition, "");
  EXPECT_EQ(info.Items.Count(), 0);
  EXPECT_EQ(ToVector(info.PrintLines()), (V{"GUIDELINES DESIGNINFO ", "BEGIN", "END"}));
}

TEST(DesignInfoTest, InsideAnIfdefBlockItStaysRawText) {
  Loaded loaded = LoadText(Crlf({"#ifdef APSTUDIO_INVOKED", "GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "END",
                                 "#endif    // APSTUDIO_INVOKED"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->DesignInfos.Count(), 0);
  ASSERT_EQ(loaded.rc->IfDef.Count(), 1);
  EXPECT_EQ(ToVector(loaded.rc->IfDef.Item(1)), (V{"GUIDELINES DESIGNINFO DISCARDABLE", "BEGIN", "END"}));
}

// Every way a section stops the build; none adds the section, and nothing after it is read.
TEST(DesignInfoTest, FailuresStopTheBuild) {
  struct Case {
    std::string name;
    std::string script;
    std::optional<std::string> message;  // nullopt: stops without a report
    std::optional<std::string> location;
  };
  const Case cases[] = {
      {"no BEGIN", Crlf({"GUIDELINES DESIGNINFO DISCARDABLE", "{", "}", "IDI_A ICON \"a.ico\""}), std::nullopt,
       std::nullopt},
      {"one-token header", Crlf({"// guides", "DESIGNINFO", "BEGIN", "END", "IDI_A ICON \"a.ico\""}),
       "RCpDI-03: Index out of range (9)", "2:  DESIGNINFO"},
      {"header on the last line", Crlf({"GUIDELINES DESIGNINFO DISCARDABLE"}), "RCprf-12: Index out of range (9)",
       std::nullopt},
      {"no closing END", Crlf({"GUIDELINES DESIGNINFO", "BEGIN", "  IDD_X, DIALOG", "  BEGIN", "  END"}),
       "RCprf-12: Index out of range (9)", std::nullopt},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.script);
    EXPECT_FALSE(loaded.result) << c.name;
    EXPECT_EQ(loaded.rc->DesignInfos.Count(), 0) << c.name;
    EXPECT_EQ(loaded.rc->Icons.Count(), 0) << c.name;
    EXPECT_TRUE(loaded.messageBoxes.empty()) << c.name;
    if (!c.message) {
      EXPECT_TRUE(loaded.log->entries.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.name;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message) << c.name;
    EXPECT_EQ(loaded.log->entries[0].location, c.location) << c.name;
  }
}

// A body still open on line 32767 overflows the 16-bit cursor there; the report names the
// cursor and the statement at it.
TEST(DesignInfoTest, CursorOverflowIsReportedByTheReader) {
  std::string script = "GUIDELINES DESIGNINFO DISCARDABLE\r\nBEGIN\r\n";
  for (int line = 3; line <= 32767; ++line) script += "  TOPMARGIN, 7\r\n";
  Loaded loaded = LoadText(script);
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCpDI-05: Overflow (6)");
  EXPECT_EQ(loaded.log->entries[0].location, "32767:  TOPMARGIN, 7");
  EXPECT_EQ(loaded.rc->DesignInfos.Count(), 0);
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
