// Style flag sets: the flag table and Init, tokens to flags (names, decimal and hexadecimal
// numbers), the sorted duplicate-free set, membership, and rendering back to text.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "styles/clsStyle.h"

namespace tamrel {

struct StyleTestPeer {
  static std::vector<std::string> Names(const clsStyle& style) {
    std::vector<std::string> names;
    for (const StyleFlag& flag : style.m_table) names.emplace_back(flag.Name);
    return names;
  }
  static std::vector<std::uint32_t> Values(const clsStyle& style) {
    std::vector<std::uint32_t> values;
    for (const StyleFlag& flag : style.m_table) values.push_back(flag.Value);
    return values;
  }
  static const void* TableAddress(const clsStyle& style) { return style.m_table.data(); }
};

namespace {

using V = std::vector<std::string>;

Tokens MakeTokens(const V& texts) {
  Tokens tokens;
  for (const std::string& text : texts) tokens.Add(text);
  return tokens;
}

V AddAll(const V& texts) {
  clsStyle style;
  EXPECT_TRUE(style.AddStyles(MakeTokens(texts)));
  return ToVector(style.Items);
}

// Every table name whose value is not 0, in sorted order: what an all-ones pattern adds.
const V kAllNonZeroFlags = {
    "PS_BITENUM", "PS_COMBO",       "PS_EDIT",  "PS_FORCE_XFE", "PS_GAUGE",    "PS_GROUP",
    "PS_LIST",    "PS_MULTILINE",   "PS_NOLABEL", "PS_NOMETHODS", "PS_NOTPARAM", "PS_NOUNITS",
    "PS_PERCENT", "PS_READONLY",    "PS_SHORTLABELS", "PS_TEMP", "WS_CHILD",    "WS_DISABLED",
    "WS_GROUP",   "WS_POPUP",       "WS_SYSMENU", "WS_TABSTOP",  "WS_VISIBLE"};

TEST(StyleTableTest, InitLoadsTheTableOnlyForOperationTwo) {
  clsStyle style;
  EXPECT_TRUE(StyleTestPeer::Names(style).empty());
  for (const Variant& operation : {Variant(), Variant(1), Variant(3), Variant("abc"), Variant("x2")}) {
    EXPECT_FALSE(style.Init(operation));
    EXPECT_TRUE(StyleTestPeer::Names(style).empty());
  }
  EXPECT_FALSE(style.Init("2"));
  EXPECT_EQ(StyleTestPeer::Names(style).size(), 24u);
  EXPECT_FALSE(style.Init(2));
  EXPECT_FALSE(style.Init());  // a loaded table stays loaded
  V names = StyleTestPeer::Names(style);
  std::vector<std::uint32_t> values = StyleTestPeer::Values(style);
  ASSERT_EQ(names.size(), 24u);
  ASSERT_EQ(values.size(), 24u);
  EXPECT_EQ(names[15], "PS_SHORTLABELS");
  EXPECT_EQ(values[15], 0x8000u);
  EXPECT_EQ(names[19], "WS_OVERLAPPED");
  EXPECT_EQ(values[19], 0u);
  EXPECT_EQ(V(names.begin() + 16, names.end()),
            (V{"WS_CHILD", "WS_DISABLED", "WS_GROUP", "WS_OVERLAPPED", "WS_POPUP", "WS_SYSMENU",
               "WS_TABSTOP", "WS_VISIBLE"}));
  EXPECT_EQ(values[16], 0x40000000u);
  EXPECT_EQ(values[20], 0x80000000u);
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(values[i], 1u << i) << names[i];
    EXPECT_EQ(names[i].substr(0, 3), "PS_");
  }
  EXPECT_TRUE(style.Items.Empty());  // loading never touches the set
}

TEST(StyleTableTest, AllStylesShareOneTable) {
  clsStyle a;
  clsStyle b;
  a.AddStyles({});
  b.Init(2);
  EXPECT_EQ(StyleTestPeer::TableAddress(a), StyleTestPeer::TableAddress(b));
  clsStyle copy = a;
  EXPECT_EQ(StyleTestPeer::Names(copy), StyleTestPeer::Names(a));
}

TEST(StyleTableTest, OperationOutOfRangeIsAnOverflow) {
  clsStyle style;
  try {
    style.Init(40000);
    FAIL() << "no error";
  } catch (const RCError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
}

TEST(AddStylesTest, TokensToFlags) {
  struct Case {
    V tokens;
    V items;
  };
  const Case cases[] = {
      {{}, {}},
      {{"WS_VISIBLE", "WS_CHILD", "WS_VISIBLE"}, {"WS_CHILD", "WS_VISIBLE"}},
      {{"WS_CHILD", "NOT WS_TABSTOP", "DS_MODALFRAME"}, {"DS_MODALFRAME", "NOT WS_TABSTOP", "WS_CHILD"}},
      // Ordinal order: digits, upper case, "_", lower case, then bytes above 0x7F.
      {{"a", "_A", "\xC3\xA9", "NOT B", "A_", "1A"}, {"1A", "A_", "NOT B", "_A", "a", "\xC3\xA9"}},
      {{"0x102"}, {"PS_COMBO", "PS_NOLABEL"}},
      {{"0x50010000"}, {"WS_CHILD", "WS_TABSTOP", "WS_VISIBLE"}},
      {{"0x8000"}, {"PS_SHORTLABELS"}},
      {{"0x1a"}, {"PS_BITENUM", "PS_COMBO", "PS_GROUP"}},
      {{"0x1A"}, {"PS_BITENUM", "PS_COMBO", "PS_GROUP"}},
      {{"26"}, {"PS_BITENUM", "PS_COMBO", "PS_GROUP"}},
      {{"0x00000000001"}, {"PS_EDIT"}},
      {{"0", "0x0", "0x"}, {}},
      {{"0x00C00000"}, {}},  // bits of no table flag
      {{"-1"}, kAllNonZeroFlags},
      {{"0X10"}, {"0X10"}},  // only a lower-case x marks a hexadecimal number
      // 32-bit patterns with the high bit set, as hexadecimal or decimal.
      {{"0x80000000"}, {"WS_POPUP"}},
      {{"0x80C80000"}, {"WS_POPUP", "WS_SYSMENU"}},
      {{"0xFFFFFFFF"}, kAllNonZeroFlags},
      {{"4294967295"}, kAllNonZeroFlags},
      {{"2147483648"}, {"WS_POPUP"}},
      {{"-2147483648"}, {"WS_POPUP"}},
      // "0x" followed by something that is not all hexadecimal digits is a name.
      {{"0xZZ", "0x1G"}, {"0x1G", "0xZZ"}},
      {{"1.5"}, {"PS_COMBO"}},  // rounded half to even
      {{"WS_CHILD", "0x40000000"}, {"WS_CHILD"}},
  };
  for (const Case& c : cases) {
    std::string label;
    for (const std::string& t : c.tokens) label += t + " ";
    EXPECT_EQ(AddAll(c.tokens), c.items) << label;
  }
}

TEST(AddStylesTest, ItemsAreKeyedByTheirOwnText) {
  clsStyle style;
  style.AddStyles(MakeTokens({"WS_VISIBLE", "0x102", "NOT WS_GROUP"}));
  for (std::int32_t i = 1; i <= style.Items.Count(); ++i) EXPECT_EQ(style.Items.Key(i), style.Items.Item(i));
}

TEST(AddStylesTest, CallsAccumulate) {
  clsStyle style;
  style.AddStyles(MakeTokens({"WS_VISIBLE"}));
  style.AddStyles(MakeTokens({"WS_CHILD", "WS_VISIBLE"}));
  EXPECT_EQ(ToVector(style.Items), (V{"WS_CHILD", "WS_VISIBLE"}));
}

TEST(AddStylesTest, ErrorsKeepWhatEarlierTokensAdded) {
  struct Case {
    V tokens;
    std::int32_t error;
    V items;
  };
  const Case cases[] = {
      {{"WS_CHILD", "0x100000000", "WS_VISIBLE"}, err::Overflow, {"WS_CHILD"}},
      {{"WS_CHILD", "4294967296"}, err::Overflow, {"WS_CHILD"}},
      {{"WS_CHILD", "-2147483649"}, err::Overflow, {"WS_CHILD"}},
      {{"WS_CHILD", "1e40"}, err::Overflow, {"WS_CHILD"}},
      // A case variant of a member: not the same flag to InStyle, the same key to Items.
      {{"WS_CHILD", "ws_child"}, err::DuplicateKey, {"WS_CHILD"}},
  };
  for (const Case& c : cases) {
    clsStyle style;
    try {
      style.AddStyles(MakeTokens(c.tokens));
      ADD_FAILURE() << "no error for " << c.tokens[1];
    } catch (const RCError& e) {
      EXPECT_EQ(e.Number(), c.error) << c.tokens[1];
    }
    EXPECT_EQ(ToVector(style.Items), c.items) << c.tokens[1];
  }
}

TEST(InStyleTest, ExactCaseSensitiveMembership) {
  clsStyle style;
  EXPECT_FALSE(style.InStyle("WS_CHILD"));
  style.AddStyles(MakeTokens({"WS_CHILD", "NOT WS_GROUP"}));
  EXPECT_TRUE(style.InStyle("WS_CHILD"));
  EXPECT_TRUE(style.InStyle("NOT WS_GROUP"));
  EXPECT_FALSE(style.InStyle("ws_child"));
  EXPECT_FALSE(style.InStyle("WS_GROUP"));
  EXPECT_FALSE(style.InStyle(""));
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
      {{"  "}, "  ", {}},        // blank rendering: no STYLE line
      {{" x"}, " x", {"STYLE  x"}},  // written untrimmed
  };
  for (const Case& c : cases) {
    clsStyle style;
    for (const std::string& item : c.items) style.Items.Add(item, item);
    EXPECT_EQ(style.ConvertLine(), c.expression);
    EXPECT_EQ(ToVector(style.PrintLines()), c.lines) << c.expression;
  }
}

TEST(StyleRenderingTest, ReadOrderAndNumbersComeBackSortedAndNamed) {
  clsStyle style;
  style.AddStyles(MakeTokens({"WS_VISIBLE", "WS_CHILD", "0x00C80000"}));
  EXPECT_EQ(style.ConvertLine(), "WS_CHILD | WS_SYSMENU | WS_VISIBLE");
}

}  // namespace
}  // namespace tamrel
