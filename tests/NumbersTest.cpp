// Checked 16-bit integers. Reading numbers and operation codes are tables in
// tests/data/tables.json.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/Numbers.h"

namespace tamrel {
namespace {

TEST(Int16Test, OverflowRaisesInsteadOfWrapping) {
  Int16 x = 32767;
  EXPECT_EQ(ErrorOf([&] { ++x; }), err::Overflow);
  EXPECT_EQ(x, 32767);
  Int16 y = -32768;
  EXPECT_EQ(ErrorOf([&] { y -= 1; }), err::Overflow);
  EXPECT_EQ(ErrorOf([&] { Int16 z = 40000; (void)z; }), err::Overflow);
  EXPECT_EQ(ErrorOf([&] { Int16 z = x + 1; (void)z; }), err::Overflow);
  Int16 sum = Int16(100) + Int16(200);
  EXPECT_EQ(sum, 300);
}

}  // namespace
}  // namespace tamrel
