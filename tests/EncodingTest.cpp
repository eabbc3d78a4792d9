// Script encodings: UTF-16 written without a mark. Scripts read in every encoding are in
// TextLinesTest.LargeFilesReadWhole; malformed UTF-16 failing the read are golden scripts
// (tests/data/golden/utf16*.rc).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/TextEncoding.h"

namespace tamrel {
namespace {

TEST(EncodingTest, Utf16WithoutAMark) {
  EXPECT_EQ(EncodeText("A", TextEncoding::Utf16LE, false), std::string("A\0", 2));
}

}  // namespace
}  // namespace tamrel
