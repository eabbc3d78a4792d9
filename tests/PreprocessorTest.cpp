// #include lines and #ifdef blocks: what is kept, where the walk goes on, and how the lines
// are written back. Their failures are in SectionFailureTest (FileReferenceTest.cpp).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// Every #include is kept in file order, repeats too, its text as written (quotes, angle
// brackets or bare, a trailing comment dropped), and written back after two blanks.
TEST(IncludeTest, TextKeptInFileOrderAndWrittenBack) {
  Loaded loaded = LoadText(Crlf({"#include \"afxres.h\"", "#include <windows.h>", "",
                                 "  #include\t\"res\\\\app.rc2\"  // non-editable resources",
                                 "#include resource.h", "#include \"afxres.h\""}));
  ASSERT_TRUE(loaded.result);
  V texts;
  for (const clsInclude& include : loaded.rc->Includes) {
    texts.push_back(include.Text);
    EXPECT_EQ(ToVector(include.PrintLines()), (V{"#include  " + include.Text}));
  }
  EXPECT_EQ(texts, (V{"\"afxres.h\"", "<windows.h>", "\"res\\\\app.rc2\"", "resource.h", "\"afxres.h\""}));
  EXPECT_EQ(int(loaded.rc->Includes.Item(3).Line), 4);
}

// The block keeps its raw lines up to its first #endif except those without tokens, nothing in
// it is read as a section, and the walk goes on with the line after that #endif.
TEST(IfDefTest, BlocksKeepRawLinesAndTheWalkGoesOnAfterEndif) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(
      Crlf({"#ifdef APSTUDIO_INVOKED", "//", "  // TEXTINCLUDE", "", "GUIDELINES DESIGNINFO DISCARDABLE ",
            "BEGIN", "    IDD_ABOUT, DIALOG", "END", "    ", "\t// hidden behind a tab", "#ifdef INNER",
            "IDI_INSIDE ICON \"inside.ico\"", "  #endif", "#endif    // APSTUDIO_INVOKED",
            "IDI_AFTER ICON \"after.ico\"", "#ifdef EMPTY", "#endif"}),
      form);
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->IfDef.Count(), 2);
  EXPECT_EQ(ToVector(loaded.rc->IfDef.Item(1)),
            (V{"GUIDELINES DESIGNINFO DISCARDABLE ", "BEGIN", "    IDD_ABOUT, DIALOG", "END",
               "\t// hidden behind a tab", "#ifdef INNER", "IDI_INSIDE ICON \"inside.ico\""}));
  EXPECT_EQ(loaded.rc->IfDef.Item(2).Count(), 0);
  EXPECT_EQ(loaded.rc->DesignInfos.Count(), 0);
  ASSERT_EQ(loaded.rc->Icons.Count(), 1);
  EXPECT_EQ(loaded.rc->Icons.Item(1).ID, "IDI_AFTER");
  // The walk stands on the block's #endif (line 13) and moves on to line 14.
  EXPECT_EQ(form->calls.at(6), "value=14");
}

}  // namespace
}  // namespace tamrel
