// The view splitter the section readers share, and the readers over statements that span
// lines, carry tabs, semicolons and blanks before commas: the model they build is the one the
// copying tokenizer built.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/StatementTokens.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

struct Splitter {
  StatementTokens tokens;
  std::string_view step = "01";
  std::string changed;
  V Split(std::string_view statement, char separator) {
    tokens.Split(statement, separator, step, changed);
    return V(tokens.Views().begin(), tokens.Views().end());
  }
};

// Tokens view the statement when no step changes it, and the splitter's own buffer otherwise;
// a splitter reused after a statement that needed its buffers gives clean tokens.
TEST(StatementTokensTest, ViewsAndReuse) {
  struct Case {
    std::string statement;
    char separator;
    V tokens;
    bool viewsStatement;
  };
  const Case cases[] = {
      {"LTEXT \"a b\",IDC_X,1,2", ' ', {"LTEXT", "\"a b\"", "IDC_X", "1", "2"}, true},
      {"a;b c;;", ' ', {"ab", "c"}, false},
      {"WS_CHILD | WS_VISIBLE", '|', {"WS_CHILD", "WS_VISIBLE"}, false},
      {"x\t,y", ',', {"x", "y"}, false},
      {"\"q;r\" s", ' ', {"\"q;r\"", "s"}, false},
      {"NOT WS_GROUP,NOT  x", ' ', {"NOT WS_GROUP", "NOT ", "x"}, true},
      {"\"unterminated, rest | here", '|', {"\"unterminated, rest | here"}, false},
      {"  ,, ", ' ', {"", ""}, true},
  };
  Splitter splitter;
  for (int round = 0; round < 2; ++round) {
    for (const Case& c : cases) {
      EXPECT_EQ(splitter.Split(c.statement, c.separator), c.tokens) << '"' << c.statement << '"';
      const char* begin = c.statement.data();
      const char* end = begin + c.statement.size();
      bool views = true;
      for (std::string_view token : splitter.tokens.Views())
        if (!token.empty() && (token.data() < begin || token.data() + token.size() > end)) views = false;
      EXPECT_EQ(views, c.viewsStatement) << '"' << c.statement << '"';
    }
  }
}

TEST(StatementTokensTest, ItemOutsideTheTokensIsError9) {
  Splitter splitter;
  splitter.Split("a b", ' ');
  EXPECT_EQ(splitter.tokens.Item(2), "b");
  EXPECT_EQ(ErrorOf([&] { splitter.tokens.Item(0); }), err::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { splitter.tokens.Item(3); }), err::OutOfRange);
  splitter.Split("// comment", ' ');
  EXPECT_EQ(ErrorOf([&] { splitter.tokens.Item(1); }), err::OutOfRange);
}

V Banner(const std::string& title) { return {std::string(77, '/'), "//", "// " + title, "//", ""}; }

// Every reader over statements continued on the next line, a caption and a string alone on
// their line, semicolons inside and outside quotes, tabs and blanks before commas. The expected
// lines are what the copying tokenizer gave.
TEST(ReaderStatementsTest, ReadersGiveTheSameModel) {
  const std::string script = Crlf({
      "IDD_A DIALOG DISCARDABLE 0, 0, 100,", "    50", "STYLE WS_CHILD |", "    WS_VISIBLE | 0x4",
      "CAPTION", "\"Two; lines\"", "FONT 8, \"MS Sans Serif\"", "BEGIN",
      "    CONTROL \"Te;xt\",IDC_A,\"Button\",BS_AUTOCHECKBOX |", "            WS_TABSTOP,7,7,50,10",
      "    LTEXT \"x\" , IDC_B,1,2,3,4, NOT WS_GROUP", "    EDITTEXT IDC_C,1,2,3,4;",
      "    EDITTEXT IDC_E,1,2,3,4 ;WS_BORDER", "    CONTROL\t\"\",IDC_D,\"Static\",SS_BLACKRECT,+1,-2,3,4", "END",
      "IDR_M MENU", "BEGIN", "    POPUP \"&File\",", "        HELP", "    BEGIN", "        MENUITEM \"&Open;x\",",
      "            ID_OPEN", "    END", "END",
      "IDR_A ACCELERATORS", "BEGIN", "    \"A\" , ID_A,", "        VIRTKEY, CONTROL", "END",
      "STRINGTABLE", "BEGIN", "    IDS_A", "        \"alone; id\"", "    IDS_B, \"b;c\"", "END"});
  V expected;
  for (const V& part :
       {Banner("Menu"),
        V{"IDR_M MENU ", "BEGIN", "\tPOPUP \"&File\"", "\tBEGIN", "\t\tMENUITEM \"&Open;x\",\t\t\t\tID_OPEN",
          "\tEND", "END", ""},
        Banner("Accelerator"),
        V{"IDR_A ACCELERATORS    ", "BEGIN", "\t\"A\",\t\t\tID_A,\t\tVIRTKEY,\tCONTROL", "END", ""},
        Banner("Dialog"),
        V{"IDD_A DIALOG DISCARDABLE 0, 0, 100, 50", "STYLE PS_LIST | WS_CHILD | WS_VISIBLE",
          "CAPTION \"Two; lines\"", "FONT 8, \"MS Sans Serif\"", "BEGIN",
          "\tCONTROL\t\t\"Te;xt\", IDC_A, \"Button\",", "\t\t\t\tBS_AUTOCHECKBOX | WS_TABSTOP, 7, 7, 50, 10",
          "\tLTEXT\t\t\t\"x\", IDC_B,1, 2, 3, 4", "\tEDITTEXT\t\tIDC_C, 1, 2, 3, 4",
          "\tEDITTEXT\t\tIDC_E, 1, 2, 3, 4, WS_BORDER", "\tCONTROL\t\t\"\", IDC_D, \"Static\",",
          "\t\t\t\tSS_BLACKRECT, 1, -2, 3, 4", "END", ""},
        Banner("String Table"),
        V{"STRINGTABLE DISCARDABLE", "BEGIN", "\tIDS_A\t\t\t\t\"alone; id\"", "\tIDS_B\t\t\t\t\"b;c\"", "END",
          ""}})
    expected.insert(expected.end(), part.begin(), part.end());
  Loaded loaded = LoadText(script);
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  EXPECT_EQ(ToVector(loaded.rc->PrintLines()), expected);
  EXPECT_EQ(loaded.rc->Dialogs.Item(1).Controls.Item(1).Line, 9);
  EXPECT_EQ(loaded.rc->StringTable.Entries.Item("IDS_A").Line, 32);
}

// An overflowing statement inside a section is reported as ParseLine reports it, and the
// reader goes on with the tokens before it and "ERROR".
TEST(ReaderStatementsTest, OverflowInASectionIsReportedOnce) {
  const std::string script = Crlf({"STRINGTABLE", "BEGIN", "    IDS_A \"" + std::string(40000, 'x') + "\"", "END"});
  Loaded loaded = LoadText(script);
  EXPECT_TRUE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCpl-04: Overflow (6)");
  EXPECT_EQ(loaded.rc->StringTable.Entries.Item("IDS_A").Text, "ERROR");
}

}  // namespace
}  // namespace tamrel
