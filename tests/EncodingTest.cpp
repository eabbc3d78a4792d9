// Script encodings: UTF-16 with a byte-order mark is decoded to UTF-8, a UTF-8 mark is
// skipped, other bytes pass through untouched, and malformed UTF-16 fails the read clearly.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/TextEncoding.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Utf16(std::string_view utf8, bool bigEndian) {
  return EncodeText(utf8, bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE, true);
}

TEST(EncodingTest, ScriptsDecodeByTheirMark) {
  const std::string text = "// Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\nIDS_X \"\xE6\x97\xA5\"\r\n";
  struct Case {
    std::string bytes;
    TextEncoding encoding;
  };
  const Case cases[] = {
      {Utf16(text, false), TextEncoding::Utf16LE},
      {Utf16(text, true), TextEncoding::Utf16BE},
      {"\xEF\xBB\xBF" + text, TextEncoding::Utf8Bom},
      {text, TextEncoding::Bytes},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.bytes);
    EXPECT_TRUE(loaded.result);
    EXPECT_EQ(loaded.rc->SourceEncoding, c.encoding);
    EXPECT_EQ(ToVector(loaded.rc->Lines), (V{"// Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "IDS_X \"\xE6\x97\xA5\""}));
  }
}

TEST(EncodingTest, EightBitTextPassesThroughUntouched) {
  const std::string latin1 = "CAPTION \"R\xE9sum\xE9\"\r\n// \x82\xA0\x93\xFA\r\n";  // Latin-1 and Shift-JIS bytes
  Loaded loaded = LoadText(latin1);
  EXPECT_EQ(ToVector(loaded.rc->Lines), (V{"CAPTION \"R\xE9sum\xE9\"", "// \x82\xA0\x93\xFA"}));
  EXPECT_EQ(EncodeText(loaded.rc->Lines.Item(1), TextEncoding::Bytes, true), "CAPTION \"R\xE9sum\xE9\"");
}

TEST(EncodingTest, Utf16RoundTrips) {
  const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80z";
  for (TextEncoding e : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    TextEncoding detected{};
    EXPECT_EQ(DecodeScript(EncodeText(text, e, true), detected), text);
    EXPECT_EQ(detected, e);
  }
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
