// Style flag sets: the shared flag table and Init, tokens to flags with their errors, the sorted
// duplicate-free set, membership, and rendering back to text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include <sstream>

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

TEST(StyleTableTest, InitLoadsTheOneSharedTableOnlyForOperationTwo) {
  clsStyle style, other;
  for (const Variant& op : {Variant(), Variant(1), Variant("abc")}) EXPECT_FALSE(style.Init(op));
  EXPECT_TRUE(StyleTestPeer::Table(style).empty());
  EXPECT_THROW(style.Init(40000), RCError);
  EXPECT_FALSE(style.Init("2"));
  other.AddStyles({});
  EXPECT_EQ(StyleTestPeer::Table(other).data(), StyleTestPeer::Table(style).data());
  std::ostringstream table;  // "name value" in table order, values in hexadecimal
  for (const StyleFlag& f : StyleTestPeer::Table(style)) table << f.Name << ' ' << std::hex << f.Value << ',';
  EXPECT_EQ(table.str(),
            "PS_EDIT 1,PS_COMBO 2,PS_LIST 4,PS_GROUP 8,PS_BITENUM 10,PS_NOTPARAM 20,PS_FORCE_XFE 40,"
            "PS_MULTILINE 80,PS_NOLABEL 100,PS_NOUNITS 200,PS_PERCENT 400,PS_NOMETHODS 800,PS_TEMP 1000,"
            "PS_GAUGE 2000,PS_READONLY 4000,PS_SHORTLABELS 8000,WS_CHILD 40000000,WS_DISABLED 8000000,"
            "WS_GROUP 20000,WS_OVERLAPPED 0,WS_POPUP 80000000,WS_SYSMENU 80000,WS_TABSTOP 10000,"
            "WS_VISIBLE 10000000,");
}

// Names go in verbatim; numbers add the names of the table flags whose bits they hold. An error
// keeps what the tokens before it added.
TEST(AddStylesTest, TokensToFlags) {
  const std::tuple<V, V, std::int32_t> cases[] = {
      // Ordinal order: digits, upper case, "_", lower case, then bytes above 0x7F; no text twice.
      {{"a", "_A", "\xC3\xA9", "NOT B", "A_", "1A", "a"}, {"1A", "A_", "NOT B", "_A", "a", "\xC3\xA9"}, 0},
      {{"0x1a", "26", "0x00000000001", "PS_EDIT"}, {"PS_BITENUM", "PS_COMBO", "PS_EDIT", "PS_GROUP"}, 0},
      {{"0", "0x0", "0x", "0x00C00000"}, {}, 0},                // no bit of a table flag
      {{"0xZZ", "0x1G", "0X10"}, {"0X10", "0x1G", "0xZZ"}, 0},  // not "0x" and hex digits: names
      // 32-bit patterns with the high bit set, hexadecimal or decimal.
      {{"0x80C80000"}, {"WS_POPUP", "WS_SYSMENU"}, 0},
      {{"2147483648"}, {"WS_POPUP"}, 0}, {{"-2147483648"}, {"WS_POPUP"}, 0},
      {{"1.5", "2.5"}, {"PS_COMBO"}, 0},  // rounded half to even
      {{"A", "0x100000000", "B"}, {"A"}, err::Overflow}, {{"A", "4294967296"}, {"A"}, err::Overflow},
      {{"A", "-2147483649"}, {"A"}, err::Overflow}, {{"A", "1e40"}, {"A"}, err::Overflow},
      {{"WS_CHILD", "ws_child"}, {"WS_CHILD"}, err::DuplicateKey},  // same key, though not the same flag
  };
  for (const auto& [tokens, items, error] : cases) {
    clsStyle style;
    try {
      EXPECT_TRUE(style.AddStyles(MakeTokens(tokens)));
      EXPECT_EQ(error, 0) << "no error for " << tokens.back();
    } catch (const RCError& e) {
      EXPECT_EQ(e.Number(), error) << tokens.back();
    }
    EXPECT_EQ(ToVector(style.Items), items) << tokens.back();
    for (int i = 1; i <= style.Items.Count(); ++i) EXPECT_EQ(style.Items.Key(i), style.Items.Item(i));
  }
  for (const char* allOnes : {"0xFFFFFFFF", "4294967295", "-1"}) {
    clsStyle style;
    style.AddStyles(MakeTokens({allOnes}));
    EXPECT_EQ(style.Items.Count(), 23) << allOnes;  // every flag but WS_OVERLAPPED
  }
}

// Random names, some differing only in letter case, over several calls: Items is the ordinal
// sorted set of the names, and a case variant of a member fails with 457 keeping what came
// before it. Every other round uses sets large enough to be searched through their table.
TEST(AddStylesTest, RandomNamesGiveTheSortedSet) {
  std::mt19937 rng(9);
  const V words = {"WS_CHILD", "ws_child", "NOT WS_GROUP", "A", "a", "B_", "_B", "0X1", "\xC3\xA9", "Z"};
  for (int round = 0; round < 300; ++round) {
    clsStyle style;
    std::set<std::string> model;
    for (int call = 0; call < 3; ++call) {
      V tokens;
      const bool large = round % 2 == 1;
      for (int n = static_cast<int>(rng() % (large ? 90 : 6)); n > 0; --n)
        tokens.push_back(words[rng() % words.size()] + std::to_string(rng() % (large ? 40 : 3)));
      std::int32_t expectedError = 0;
      for (const std::string& token : tokens) {
        if (model.contains(token)) continue;
        bool clash = std::any_of(model.begin(), model.end(), [&](const std::string& m) {
          return detail::CaseInsensitiveEqual{}(m, token);
        });
        if (clash) {
          expectedError = err::DuplicateKey;
          break;
        }
        model.insert(token);
      }
      EXPECT_EQ(ErrorOf([&] { style.AddStyles(MakeTokens(tokens)); }), expectedError);
      ASSERT_EQ(ToVector(style.Items), V(model.begin(), model.end())) << "round " << round;
      for (int i = 1; i <= style.Items.Count(); ++i) ASSERT_EQ(style.Items.Key(i), style.Items.Item(i));
    }
  }
}

// A set a host changed out of order keeps the one-at-a-time insertion: a new name goes before
// the first member that sorts after it.
TEST(AddStylesTest, SetChangedFromOutsideKeepsItsOrder) {
  clsStyle style;
  style.Items.Add("WS_VISIBLE", "WS_VISIBLE");
  style.Items.Add("DS_MODALFRAME", "DS_MODALFRAME");
  style.AddStyles(MakeTokens({"WS_CHILD", "A"}));
  EXPECT_EQ(ToVector(style.Items), (V{"A", "WS_CHILD", "WS_VISIBLE", "DS_MODALFRAME"}));
}

TEST(InStyleTest, ExactCaseSensitiveMembershipAcrossCalls) {
  clsStyle style;
  style.AddStyles(MakeTokens({"WS_CHILD"}));
  style.AddStyles(MakeTokens({"NOT WS_GROUP", "WS_CHILD"}));
  EXPECT_EQ(ToVector(style.Items), (V{"NOT WS_GROUP", "WS_CHILD"}));
  EXPECT_TRUE(style.InStyle("NOT WS_GROUP"));
  for (const char* other : {"ws_child", "WS_GROUP", " WS_CHILD"}) EXPECT_FALSE(style.InStyle(other)) << other;
}

TEST(StyleRenderingTest, FlagsToText) {
  // Items set directly, as a host may. A set that renders blank gives no STYLE line; flags are
  // written untrimmed.
  const std::pair<V, V> cases[] = {
      {{}, {}}, {{"  "}, {}}, {{" x"}, {"STYLE  x"}},
      {{"DS_MODALFRAME", "NOT WS_TABSTOP", "WS_POPUP"}, {"STYLE DS_MODALFRAME | NOT WS_TABSTOP | WS_POPUP"}},
  };
  for (const auto& [items, lines] : cases) {
    clsStyle style;
    for (const std::string& item : items) style.Items.Add(item, item);
    EXPECT_EQ(ToVector(style.PrintLines()), lines) << style.ConvertLine();
  }
}

}  // namespace
}  // namespace tamrel
