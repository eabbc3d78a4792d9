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

TEST(CollectionTest, EmptyKeyIsAKeyOfItsOwn) {
  Collection<int> c;
  c.Add(1, "");
  c.Add(2);  // no key at all
  EXPECT_EQ(c.Item(""), 1);
  EXPECT_EQ(ErrorOf([&] { c.Add(3, ""); }), err::DuplicateKey);
  EXPECT_FALSE(c.Key(2).has_value());
  EXPECT_EQ(c.Key(1), std::optional<std::string>(""));
}

// Keys whose plain FNV-1a hashes agree in their low 12 bits would all share one home slot in
// any table of up to 4,096 slots if the hash were not seeded: under the seeded hash a lookup
// compares against only a few keys.
TEST(CollectionTest, KeysCollidingUnderPlainFnvStaySpread) {
  constexpr std::size_t kKeys = 2000;
  std::vector<std::string> keys;
  for (std::uint64_t n = 0; keys.size() < kKeys; ++n) {
    std::string key = "id" + std::to_string(n);
    if ((detail::FoldedHashUnseeded(key) & 0xFFF) == 0) keys.push_back(key);
  }
  Collection<int> c;
  for (std::size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int>(i), keys[i]);
  EXPECT_LT(c.LongestKeyChain(), 40u);
  for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(c.Item(keys[i]), static_cast<int>(i));
}

// A keyed collection against a plain model (a vector of members and their keys, searched by
// folded key): random adds with and without keys, inserts before positions, removals by key and
// by position, lookups of present, absent and differently-cased keys, over a small key space so
// that duplicates, re-used keys and clusters in the key index are frequent. Copies taken along
// the way must not change when the original does.
template <typename T>
void ExpectKeyedOperationsMatchAModel(T (*value)(int)) {
  struct Member {
    T value;
    std::optional<std::string> key;
  };
  auto fold = [](std::string s) {
    for (char& ch : s) ch = detail::FoldCase(ch);
    return s;
  };
  auto modelFind = [&](const std::vector<Member>& model, const std::string& key) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < model.size(); ++i)
      if (model[i].key && fold(*model[i].key) == fold(key)) return i;
    return std::nullopt;
  };
  auto check = [](const Collection<T>& c, const std::vector<Member>& model) {
    ASSERT_EQ(c.Count(), static_cast<std::int32_t>(model.size()));
    for (std::size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(c.Item(static_cast<std::int32_t>(i + 1)), model[i].value);
      ASSERT_EQ(c.Key(static_cast<std::int32_t>(i + 1)).value_or("-"), model[i].key.value_or("-"));
      if (model[i].key) {
        ASSERT_EQ(c.Item(*model[i].key), model[i].value);
      }
    }
  };
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    Collection<T> c;
    std::vector<Member> model;
    std::vector<std::pair<Collection<T>, std::vector<Member>>> copies;
    for (int step = 0; step < 1500; ++step) {
      std::string key = "k" + std::to_string(rng() % 90);
      if (rng() % 2) key[0] = 'K';
      if (rng() % 3 == 0) key += "x";
      const int action = static_cast<int>(rng() % 12);
      if (action < 5) {  // add, keyed or not, at the end or before a position
        std::optional<std::string> k = action < 4 ? std::optional<std::string>(key) : std::nullopt;
        std::optional<std::int32_t> before;
        std::size_t at = model.size();
        if (!model.empty() && rng() % 2) {
          at = rng() % model.size();
          before = static_cast<std::int32_t>(at + 1);
        }
        const bool duplicate = k && modelFind(model, *k);
        ASSERT_EQ(ErrorOf([&] { c.Add(value(step), k, before); }), duplicate ? err::DuplicateKey : 0);
        if (!duplicate) model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), Member{value(step), k});
      } else if (action < 7) {  // remove by key
        std::optional<std::size_t> at = modelFind(model, key);
        ASSERT_EQ(ErrorOf([&] { c.Remove(key); }), at ? 0 : err::InvalidArgument);
        if (at) model.erase(model.begin() + static_cast<std::ptrdiff_t>(*at));
      } else if (action < 8 && !model.empty()) {  // remove by position
        std::size_t at = rng() % model.size();
        c.Remove(static_cast<std::int32_t>(at + 1));
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
      } else if (action < 11) {  // look up
        std::optional<std::size_t> at = modelFind(model, key);
        const Collection<T>& constant = c;
        ASSERT_EQ(constant.Contains(key), at.has_value()) << key;
        if (at) {
          ASSERT_EQ(constant.Item(key), model[*at].value);
        } else {
          ASSERT_EQ(ErrorOf([&] { constant.Item(key); }), err::InvalidArgument);
        }
      } else if (copies.size() < 4) {
        copies.emplace_back(c, model);
      }
    }
    check(c, model);
    for (const auto& [copy, copyModel] : copies) check(copy, copyModel);
    Collection<T> moved = std::move(c);
    check(moved, model);
    c.Add(value(1), "k1");  // a moved-from collection is empty and usable
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Item("K1"), value(1));
  }
}

// Both with members of a plain type and with strings, as the documents keep them.
TEST(CollectionTest, KeyedOperationsMatchAModel) {
  ExpectKeyedOperationsMatchAModel<int>([](int n) { return n; });
  ExpectKeyedOperationsMatchAModel<std::string>([](int n) { return std::to_string(n); });
}

TEST(CollectionTest, ClearForgetsKeysAndEqualityComparesKeys) {
  Collection<int> c;
  c.Add(1, "a");
  c.Add(2);
  c.Clear();
  EXPECT_FALSE(c.Contains("a"));
  c.Add(3, "A");
  EXPECT_EQ(c.Item("a"), 3);

  Collection<int> keyed, unkeyed, otherKey;
  keyed.Add(1, "a");
  unkeyed.Add(1);
  otherKey.Add(1, "b");
  EXPECT_FALSE(keyed == unkeyed);
  EXPECT_FALSE(keyed == otherKey);
  keyed.Remove("a");
  unkeyed.Remove(1);
  EXPECT_TRUE(keyed == unkeyed);  // neither holds a key any more
}

}  // namespace
}  // namespace tamrel
