// Word splitting with and without a yield hook, and counting by operation. The word test and
// ordinary splitting are tables in tests/data/tables.json.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/modCommonTools.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// Pieces are passed over whole without a yield hook and character by character with one: the
// same pieces either way, one yield per character, and the length limit at the same place.
TEST(SplitWordsTest, SameWithAndWithoutAHook) {
  struct Case {
    std::string text;
    std::size_t pieces;
    std::size_t yields;  // one for each character scanned, twice over (split and count)
  };
  const Case cases[] = {
      {"", 0, 0},
      {" a  b\t\tc ", 3, 2 * 7},
      {"\t\tlead", 2, 2 * 6},
      {"trail\t \t", 1, 2 * 8},
      {std::string(32767, 'x') + " y", 2, 2 * 32769},
      {"a " + std::string(32768, 'x') + " y", 1, 2 * (2 + 32768)},  // ends at the piece too long
  };
  for (const Case& c : cases) {
    const V plain = ToVector(SplitWords(c.text));
    std::size_t yields = 0;
    SetYieldHook([](void* count) { ++*static_cast<std::size_t*>(count); }, &yields);
    const V hooked = ToVector(SplitWords(c.text));
    const Int16 counted = CountWords(c.text, Variant());
    SetYieldHook(nullptr);
    EXPECT_EQ(plain.size(), c.pieces) << c.text.size();
    EXPECT_EQ(hooked, plain) << c.text.size();
    EXPECT_EQ(counted, static_cast<int>(c.pieces)) << c.text.size();
    EXPECT_EQ(yields, c.yields) << c.text.size();
  }
}

TEST(CountWordsTest, PiecesOrWordsByOperation) {
  const std::string caption = "\"Save 100 50%\"";  // pieces: "Save, 100, 50%"
  EXPECT_EQ(CountWords(caption, Variant()), 3);
  EXPECT_EQ(CountWords(caption, 0), 3);
  EXPECT_EQ(CountWords(caption, "0"), 3);
  EXPECT_EQ(CountWords("word 100 50%", 1), 1);
  EXPECT_EQ(CountWords("word 100 50%", -3), 1);
  EXPECT_THROW(CountWords("word", "abc"), RCError);
}

}  // namespace
}  // namespace tamrel
