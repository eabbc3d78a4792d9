// The runtime values: checked 16-bit integers, the "reads as a number" test, leading-number
// reading of operation codes, banker's rounding and the error message format.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include "common/Numbers.h"
#include "common/Variant.h"
#include "common/modCommonTools.h"

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

TEST(NumbersTest, ReadsAsNumber) {
  struct Case {
    const char* text;
    bool number;
  };
  const Case cases[] = {
      {"0", true},    {"12", true},    {"-3", true},   {"+4", true},   {" 1.5 ", true}, {".5", true},
      {"5.", true},   {"2e3", true},   {"1E-2", true}, {"\t7\t", true}, {"", false},     {" ", false},
      {"-", false},   {".", false},    {"1a", false},  {"0x10", false}, {"1,000", false}, {"e5", false},
      {"1e", false},  {"--1", false},  {"1 2", false}, {"%d", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadsAsNumber(c.text), c.number) << '"' << c.text << '"';
}

TEST(NumbersTest, LeadingNumberAndOperationCodes) {
  EXPECT_EQ(LeadingNumber("2"), 2);
  EXPECT_EQ(LeadingNumber("2abc"), 2);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("  -1.5x"), -1.5);
  EXPECT_EQ(ToOperationCode(Variant()), 0);
  EXPECT_EQ(ToOperationCode(Variant(2)), 2);
  EXPECT_EQ(ToOperationCode(Variant("2")), 2);
  EXPECT_EQ(ToOperationCode(Variant("2abc")), 2);
  EXPECT_EQ(ToOperationCode(Variant("abc")), 0);
  EXPECT_EQ(ToOperationCode(Variant(2.5)), 2);
  EXPECT_EQ(ToOperationCode(Variant("3.5")), 4);
  EXPECT_EQ(ErrorOf([] { ToOperationCode(Variant(40000)); }), err::Overflow);
  EXPECT_EQ(ErrorOf([] { ToOperationCode(Variant("1e9")); }), err::Overflow);
}

// Plain integers take a path of their own; they must read exactly as through the number test.
// Other numbers round half to even; what is no number is a type mismatch.
TEST(NumbersTest, TokensToInt16) {
  struct Case {
    const char* token;
    int value;  // when no error
    int error;
  };
  const Case cases[] = {
      {" 12 ", 12, 0},         {"\t-32768", -32768, 0}, {"+7", 7, 0},          {"-0", 0, 0},
      {"007", 7, 0},           {"00032767", 32767, 0},  {"-32768.4", -32768, 0}, {"99999", 0, err::Overflow},
      {"-32769", 0, err::Overflow}, {"123456", 0, err::Overflow}, {"+", 0, err::TypeMismatch},
      {"-", 0, err::TypeMismatch}, {"1-", 0, err::TypeMismatch}, {"12 3", 0, err::TypeMismatch},
      {"+-1", 0, err::TypeMismatch}, {"1e2", 100, 0},       {"0.5", 0, 0},          {"1.5", 2, 0},
      {"-2.5", -2, 0},         {"32768", 0, err::Overflow}, {"1e400", 0, err::Overflow},
      {"IDC_X", 0, err::TypeMismatch}, {"", 0, err::TypeMismatch},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(ErrorOf([&] { value = ToInt16(std::string_view(c.token)); }), c.error) << '"' << c.token << '"';
    if (c.error == 0) {
      EXPECT_EQ(value, c.value) << '"' << c.token << '"';
    }
  }
}

TEST(ModCommonToolsTest, FormatErrorMessage) {
  EXPECT_EQ(FormatErrorMessage("RCpB", "00", "Index out of range", 9), "RCpB-00: Index out of range (9)");
  EXPECT_EQ(FormatErrorMessage("RCprf", "", "Overflow", 6), "RCprf-: Overflow (6)");
}

}  // namespace
}  // namespace tamrel
