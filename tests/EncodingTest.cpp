// Script encodings: UTF-16 written without a mark, and malformed UTF-16 failing the read clearly.
// Scripts read in every encoding are in TextLinesTest.LargeFilesReadWhole.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/TextEncoding.h"

namespace tamrel {
namespace {

TEST(EncodingTest, Utf16WithoutAMark) {
  EXPECT_EQ(EncodeText("A", TextEncoding::Utf16LE, false), std::string("A\0", 2));
}

TEST(EncodingTest, MalformedUtf16FailsTheRead) {
  const std::string cases[] = {
      std::string("\xFF\xFE" "a\0b", 5),           // odd number of bytes
      std::string("\xFF\xFE" "\x00\xD8" "a\0", 6),  // high surrogate without low
      std::string("\xFF\xFE" "\x00\xDC", 4),        // lone low surrogate
      std::string("\xFE\xFF" "\xD8\x00", 4),        // high surrogate at the end
  };
  for (const std::string& bytes : cases) {
    Loaded loaded = LoadText(bytes);
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size(), 1u);
    EXPECT_EQ(loaded.log->entries[0].message.substr(0, 26), "RCrrf-00: Malformed UTF-16");
    EXPECT_FALSE(loaded.log->entries[0].location.has_value());
    EXPECT_EQ(loaded.rc->Lines.Count(), 0);
  }
}

}  // namespace
}  // namespace tamrel
