// Style flag sets: the shared flag table and Init, the sorted duplicate-free set and membership.
// Tokens to flags with their errors, and rendering back to text, are tables in
// tests/data/tables.json.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

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
}

// A number with every bit set adds every table flag but WS_OVERLAPPED, however it is written.
// Other tokens to flags are a table in tests/data/tables.json.
TEST(AddStylesTest, AllBitsSet) {
  for (const char* allOnes : {"0xFFFFFFFF", "4294967295", "-1"}) {
    clsStyle style;
    style.AddStyles(MakeTokens({allOnes}));
    EXPECT_EQ(style.Items.Count(), 23) << allOnes;
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

}  // namespace
}  // namespace tamrel
