// Collection: 1-based positions, case-insensitive unique keys, and the error numbers callers
// rely on (5 missing key, 9 bad position, 457 duplicate key).
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tamrel
