// #include lines and #ifdef blocks: what is kept, where the walk goes on, how the lines are
// written back, and how a bad construct stops the build.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

TEST(IncludeTest, TextKeptAsWrittenAndWrittenBack) {
  struct Case {
    std::string line;
    std::string text;
  };
  const Case cases[] = {
      {"#include \"afxres.h\"", "\"afxres.h\""},
      {"#include <windows.h>", "<windows.h>"},
      {"  #include\t\"res\\\\app.rc2\"  // non-editable resources", "\"res\\\\app.rc2\""},
      {"#include resource.h", "resource.h"},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Crlf({"// first", c.line}));
    ASSERT_TRUE(loaded.result) << c.line;
    ASSERT_EQ(loaded.rc->Includes.Count(), 1) << c.line;
    const clsInclude& include = loaded.rc->Includes.Item(1);
    EXPECT_EQ(include.Text, c.text);
    EXPECT_EQ(include.ID, "");
    EXPECT_EQ(int(include.Line), 2);
    EXPECT_EQ(ToVector(include.PrintLines()), (V{"#include  " + c.text}));
  }
}

TEST(IncludeTest, EveryIncludeKeptInFileOrder) {
  Loaded loaded = LoadText(Crlf({"#include \"resource.h\"", "", "#include \"afxres.h\"", "#include \"resource.h\""}));
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->Includes.Count(), 3);
  EXPECT_EQ(loaded.rc->Includes.Item(2).Text, "\"afxres.h\"");
  EXPECT_EQ(int(loaded.rc->Includes.Item(3).Line), 4);
}

TEST(IncludeTest, IncludeAloneStopsTheBuild) {
  Loaded loaded = LoadText(Crlf({"#include \"a.h\"", "#include  ", "#include \"b.h\""}));
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCpIn-00: Index out of range (9)");
  EXPECT_EQ(loaded.log->entries[0].location, "2: #include  ");
  EXPECT_EQ(loaded.rc->Includes.Count(), 1);
}

// The block keeps its raw lines except those without tokens, nothing in it is read as a
// section, and the walk goes on with the line after #endif.
TEST(IfDefTest, BlockKeepsRawLinesAndTheWalkGoesOnAfterEndif) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({
                               "#ifdef APSTUDIO_INVOKED",
                               "/////////////////////////////////////////////////////////////////////////////",
                               "//",
                               "  // TEXTINCLUDE",
                               "",
                               "1 TEXTINCLUDE DISCARDABLE ",
                               "BEGIN",
                               "    \"resource.h\\0\"",
                               "END",
                               "    ",
                               "\t// hidden behind a tab",
                               "IDI_INSIDE ICON \"inside.ico\"",
                               "#endif    // APSTUDIO_INVOKED",
                               "IDI_AFTER ICON \"after.ico\"",
                           }),
                           form);
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->IfDef.Count(), 1);
  EXPECT_EQ(ToVector(loaded.rc->IfDef.Item(1)),
            (V{"1 TEXTINCLUDE DISCARDABLE ", "BEGIN", "    \"resource.h\\0\"", "END", "\t// hidden behind a tab",
               "IDI_INSIDE ICON \"inside.ico\""}));
  ASSERT_EQ(loaded.rc->Icons.Count(), 1);
  EXPECT_EQ(loaded.rc->Icons.Item(1).ID, "IDI_AFTER");
  // After the block the walk stands on line 13 and moves to 14: the next progress value.
  const V afterStart(form->calls.begin() + 5, form->calls.end());
  EXPECT_EQ(afterStart, (V{"max?", "value=14", "max?", "value=0", "status:Ready."}));
}

TEST(IfDefTest, BlocksInFileOrderEachEndingAtItsFirstEndif) {
  Loaded loaded = LoadText(Crlf({
      "#ifdef _WIN32",
      "#ifdef INNER",
      "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
      "  #endif",
      "#endif //_WIN32",
      "#ifdef EMPTY",
      "#endif",
      "#ifdef THIRD",
      "#pragma code_page(1252)",
      "#endif",
      "IDI_A ICON \"a.ico\"",
  }));
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->IfDef.Count(), 3);
  EXPECT_EQ(ToVector(loaded.rc->IfDef.Item(1)), (V{"#ifdef INNER", "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US"}));
  EXPECT_EQ(loaded.rc->IfDef.Item(2).Count(), 0);
  EXPECT_EQ(ToVector(loaded.rc->IfDef.Item(3)), (V{"#pragma code_page(1252)"}));
  EXPECT_EQ(loaded.rc->Icons.Count(), 1);
}

// Without its #endif the block runs past the last line, where no location can be named: the
// walk reports the failure under its own code and the block's step.
TEST(IfDefTest, MissingEndifIsReportedByTheWalk) {
  Loaded loaded = LoadText(Crlf({"#ifdef _DEBUG", "#ifdef APSTUDIO_INVOKED", "1 TEXTINCLUDE", "IDI_A ICON \"a.ico\""}));
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCprf-11: Index out of range (9)");
  EXPECT_FALSE(loaded.log->entries[0].location.has_value());
  EXPECT_EQ(loaded.rc->IfDef.Count(), 0);
  EXPECT_EQ(loaded.rc->Icons.Count(), 0);
}

// A block still open on line 32767 overflows the 16-bit cursor there; that failure names the
// cursor and its raw line.
TEST(IfDefTest, CursorOverflowIsReportedByTheBlockReader) {
  std::string script = "#ifdef HUGE\r\n";
  for (int line = 2; line <= 32767; ++line) script += "\tx\r\n";
  Loaded loaded = LoadText(script);
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCpIf-00: Overflow (6)");
  EXPECT_EQ(loaded.log->entries[0].location, "32767: \tx");
  EXPECT_EQ(loaded.rc->IfDef.Count(), 0);
}

}  // namespace
}  // namespace tamrel
