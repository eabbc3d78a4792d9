// Style flag sets: the flag table and Init, tokens to flags, the sorted duplicate-free set,
// membership, and rendering back to text.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "styles/clsStyle.h"

namespace tamrel {

struct StyleTestPeer {
  static std::span<const StyleFlag> Table(const clsStyle& style) { return style.m_table; }
};

namespace {

using V = std::vector<std::string>;

Tokens MakeTokens(const V& texts) {
  Tokens tokens;
  for (const std::string& text : texts) tokens.Add(text);
  return tokens;
}

// The 23 table names with a value other than 0, sorted: what an all-ones pattern adds.
const V kAllNonZeroFlags = {
    "PS_BITENUM", "PS_COMBO",   "PS_EDIT",     "PS_FORCE_XFE",   "PS_GAUGE", "PS_GROUP",    "PS_LIST",
    "PS_MULTILINE", "PS_NOLABEL", "PS_NOMETHODS", "PS_NOTPARAM", "PS_NOUNITS", "PS_PERCENT", "PS_READONLY",
    "PS_SHORTLABELS", "PS_TEMP", "WS_CHILD",   "WS_DISABLED",    "WS_GROUP", "WS_POPUP",    "WS_SYSMENU",
    "WS_TABSTOP", "WS_VISIBLE"};

TEST(StyleTableTest, InitLoadsTheSharedTableOnlyForOperationTwo) {
  clsStyle style;
  for (const Variant& operation : {Variant(), Variant(1), Variant(3), Variant("abc")}) {
    EXPECT_FALSE(style.Init(operation));
    EXPECT_TRUE(StyleTestPeer::Table(style).empty());
  }
  EXPECT_THROW(style.Init(40000), RCError);
  EXPECT_FALSE(style.Init("2"));
  EXPECT_FALSE(style.Init());  // a loaded table stays loaded
  std::span<const StyleFlag> table = StyleTestPeer::Table(style);
  ASSERT_EQ(table.size(), 24u);
  V names;
  for (const StyleFlag& flag : table) names.emplace_back(flag.Name);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(table[i].Value, 1u << i) << names[i];  // one low bit each
  EXPECT_EQ(names[15], "PS_SHORTLABELS");
  EXPECT_EQ(V(names.begin() + 16, names.end()), (V{"WS_CHILD", "WS_DISABLED", "WS_GROUP", "WS_OVERLAPPED",
                                                   "WS_POPUP", "WS_SYSMENU", "WS_TABSTOP", "WS_VISIBLE"}));
  EXPECT_EQ(table[19].Value, 0u);
  EXPECT_EQ(table[20].Value, 0x80000000u);
  clsStyle other;
  other.AddStyles({});
  EXPECT_EQ(StyleTestPeer::Table(other).data(), table.data());  // one table for every style
  EXPECT_TRUE(style.Items.Empty());
}

TEST(AddStylesTest, TokensToFlags) {
  struct Case {
    V tokens, items;
  };
  const Case cases[] = {
      {{}, {}},
      {{"WS_VISIBLE", "WS_CHILD", "WS_VISIBLE"}, {"WS_CHILD", "WS_VISIBLE"}},
      {{"WS_CHILD", "NOT WS_TABSTOP", "DS_MODALFRAME"}, {"DS_MODALFRAME", "NOT WS_TABSTOP", "WS_CHILD"}},
      // Ordinal order: digits, upper case, "_", lower case, then bytes above 0x7F.
      {{"a", "_A", "\xC3\xA9", "NOT B", "A_", "1A"}, {"1A", "A_", "NOT B", "_A", "a", "\xC3\xA9"}},
      {{"0x102"}, {"PS_COMBO", "PS_NOLABEL"}},
      {{"0x50010000"}, {"WS_CHILD", "WS_TABSTOP", "WS_VISIBLE"}},
      {{"0x1a", "26", "0x00000000001"}, {"PS_BITENUM", "PS_COMBO", "PS_EDIT", "PS_GROUP"}},
      {{"0", "0x0", "0x", "0x00C00000"}, {}},  // no bit of a table flag
      {{"-1"}, kAllNonZeroFlags},
      {{"0X10"}, {"0X10"}},  // only a lower-case x marks a hexadecimal number
      // 32-bit patterns with the high bit set, hexadecimal or decimal.
      {{"0x80C80000"}, {"WS_POPUP", "WS_SYSMENU"}},
      {{"0xFFFFFFFF"}, kAllNonZeroFlags},
      {{"4294967295"}, kAllNonZeroFlags},
      {{"2147483648"}, {"WS_POPUP"}},
      {{"-2147483648"}, {"WS_POPUP"}},
      {{"0xZZ", "0x1G"}, {"0x1G", "0xZZ"}},  // not all hexadecimal digits: names
      {{"1.5"}, {"PS_COMBO"}},               // rounded half to even
  };
  for (const Case& c : cases) {
    clsStyle style;
    EXPECT_TRUE(style.AddStyles(MakeTokens(c.tokens)));
    EXPECT_EQ(ToVector(style.Items), c.items) << (c.tokens.empty() ? "" : c.tokens[0]);
    for (std::int32_t i = 1; i <= style.Items.Count(); ++i) EXPECT_EQ(style.Items.Key(i), style.Items.Item(i));
  }
}

TEST(AddStylesTest, ErrorsKeepWhatEarlierTokensAdded) {
  const std::pair<std::string, std::int32_t> cases[] = {
      {"0x100000000", err::Overflow}, {"4294967296", err::Overflow},   {"-2147483649", err::Overflow},
      {"1e40", err::Overflow},        {"ws_child", err::DuplicateKey},  // same key, though not the same flag
  };
  for (const auto& [token, number] : cases) {
    clsStyle style;
    try {
      style.AddStyles(MakeTokens({"WS_CHILD", token, "WS_VISIBLE"}));
      ADD_FAILURE() << "no error for " << token;
    } catch (const RCError& e) {
      EXPECT_EQ(e.Number(), number) << token;
    }
    EXPECT_EQ(ToVector(style.Items), V{"WS_CHILD"}) << token;
  }
}

TEST(InStyleTest, ExactCaseSensitiveMembershipAcrossCalls) {
  clsStyle style;
  EXPECT_FALSE(style.InStyle("WS_CHILD"));
  style.AddStyles(MakeTokens({"WS_CHILD"}));
  style.AddStyles(MakeTokens({"NOT WS_GROUP", "WS_CHILD"}));
  EXPECT_EQ(ToVector(style.Items), (V{"NOT WS_GROUP", "WS_CHILD"}));
  EXPECT_TRUE(style.InStyle("NOT WS_GROUP"));
  EXPECT_FALSE(style.InStyle("ws_child"));
}

TEST(StyleRenderingTest, FlagsToText) {
  struct Case {
    V items;  // set directly, as a host may
    std::string expression;
    V lines;
  };
  const Case cases[] = {
      {{}, "", {}},
      {{"WS_CHILD"}, "WS_CHILD", {"STYLE WS_CHILD"}},
      {{"DS_MODALFRAME", "NOT WS_TABSTOP", "WS_POPUP"},
       "DS_MODALFRAME | NOT WS_TABSTOP | WS_POPUP",
       {"STYLE DS_MODALFRAME | NOT WS_TABSTOP | WS_POPUP"}},
      {{"  "}, "  ", {}},           // renders blank: no STYLE line
      {{" x"}, " x", {"STYLE  x"}},  // written untrimmed
  };
  for (const Case& c : cases) {
    clsStyle style;
    for (const std::string& item : c.items) style.Items.Add(item, item);
    EXPECT_EQ(style.ConvertLine(), c.expression);
    EXPECT_EQ(ToVector(style.PrintLines()), c.lines) << c.expression;
  }
}

}  // namespace
}  // namespace tamrel
