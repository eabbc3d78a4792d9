// The view splitter the section readers share, and an overflowing statement inside a section.
// The readers over statements that span lines, carry tabs, semicolons and blanks before commas
// are a golden script (script-continued-statements.rc).
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
