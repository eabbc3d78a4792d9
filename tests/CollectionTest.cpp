// Collection: 1-based positions, case-insensitive unique keys, and the error numbers callers
// rely on (5 missing key, 9 bad position, 457 duplicate key).
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "TestSupport.h"

#include "common/Collection.h"

namespace tamrel {
namespace {

TEST(CollectionTest, PositionsAreOneBasedAndChecked) {
  Collection<std::string> c;
  c.Add("a");
  c.Add("b");
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Item(1), "a");
  EXPECT_EQ(c.Item(2), "b");
  EXPECT_EQ(ErrorOf([&] { c.Item(0); }), err::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { c.Item(3); }), err::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { c.Remove(3); }), err::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { c.Add("x", std::nullopt, 3); }), err::OutOfRange);
}

TEST(CollectionTest, KeysIgnoreLetterCaseAndStayUnique) {
  Collection<int> c;
  c.Add(1, "IDD_ABOUT");
  EXPECT_EQ(c.Item("idd_about"), 1);
  EXPECT_TRUE(c.Contains("Idd_About"));
  EXPECT_EQ(ErrorOf([&] { c.Add(2, "idd_ABOUT"); }), err::DuplicateKey);
  EXPECT_EQ(c.Count(), 1);  // the rejected member is not added
  EXPECT_EQ(ErrorOf([&] { c.Item("IDD_OTHER"); }), err::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { c.Remove("IDD_OTHER"); }), err::InvalidArgument);
}

TEST(CollectionTest, EmptyKeyIsAKeyOfItsOwn) {
  Collection<int> c;
  c.Add(1, "");
  c.Add(2);  // no key at all
  EXPECT_EQ(c.Item(""), 1);
  EXPECT_EQ(ErrorOf([&] { c.Add(3, ""); }), err::DuplicateKey);
  EXPECT_FALSE(c.Key(2).has_value());
  EXPECT_EQ(c.Key(1), std::optional<std::string>(""));
}

TEST(CollectionTest, InsertBeforeAndRemoveKeepKeysPointingAtTheirMembers) {
  Collection<std::string> c;
  c.Add("b", "B");
  c.Add("d", "D");
  c.Add("a", "A", 1);
  c.Add("c", "C", 3);
  c.Add("unkeyed", std::nullopt, 1);
  EXPECT_EQ((std::vector<std::string>(c.begin(), c.end())),
            (std::vector<std::string>{"unkeyed", "a", "b", "c", "d"}));
  EXPECT_EQ(c.Item("c"), "c");
  c.Remove("a");
  c.Remove(1);
  EXPECT_EQ(c.Item(1), "b");
  EXPECT_EQ(c.Item("D"), "d");
  EXPECT_EQ(c.Item("b"), "b");
  c.Add("a2", "A");  // a removed key can be used again
  EXPECT_EQ(c.Item("a"), "a2");
}

// Insertions before positions, removals and lookups in random order, against a plain vector:
// every key must find its member wherever the shifts have moved it.
TEST(CollectionTest, KeysFollowTheirMembersThroughShifts) {
  std::mt19937 rng(3);
  Collection<int> c;
  std::vector<std::pair<std::string, int>> model;
  for (int step = 0; step < 4000; ++step) {
    int action = static_cast<int>(rng() % 10);
    if (action < 5 || model.empty()) {
      std::size_t at = model.empty() ? 0 : rng() % (model.size() + 1);
      std::string key = "K" + std::to_string(step);
      if (at == model.size()) c.Add(step, key);
      else c.Add(step, key, static_cast<std::int32_t>(at + 1));
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {key, step});
    } else if (action < 6) {
      std::size_t at = rng() % model.size();
      c.Remove(static_cast<std::int32_t>(at + 1));
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    } else {
      const auto& [key, value] = model[rng() % model.size()];
      ASSERT_EQ(c.Item(key), value) << "step " << step;
    }
  }
  ASSERT_EQ(c.Count(), static_cast<std::int32_t>(model.size()));
  for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(c.Item(model[i].first), model[i].second);
}

// Keys that all fall into one slot of an index hashed with plain FNV-1a (no seed) spread out
// under the seeded hash: no slot holds more than a handful of them.
TEST(CollectionTest, KeysCollidingUnderPlainFnvStaySpread) {
  constexpr std::size_t kKeys = 2000;
  std::unordered_map<std::string, std::size_t> sizing;
  for (std::size_t i = 0; i < kKeys; ++i) sizing.emplace(std::to_string(i), i);
  const std::size_t slots = sizing.bucket_count();  // the slot count the index will have

  std::vector<std::string> keys;
  for (std::uint64_t n = 0; keys.size() < kKeys; ++n) {
    std::string key = "id" + std::to_string(n);
    if (detail::FoldedHashUnseeded(key) % slots == 0) keys.push_back(key);
  }
  Collection<int> c;
  for (std::size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int>(i), keys[i]);
  EXPECT_LT(c.LongestKeyChain(), 16u);
  for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(c.Item(keys[i]), static_cast<int>(i));
}

}  // namespace
}  // namespace tamrel
