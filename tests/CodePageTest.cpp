// Code page regions, and iconv conversions and their errors. Pragma lines are a table in
// tests/data/tables.json; the source line of every written line is in the golden scripts.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "TestSupport.h"
#include "common/CodePage.h"

namespace tamrel {
namespace {

using Kind = ConversionError::Kind;

TEST(CodePageTest, RegionsFollowPragmasFromTheirLineOn) {
  LineCollection lines;
  for (const char* line : {"// 1", "#pragma code_page(1251)", "x", "#pragma code_page(DEFAULT)", "y",
                           "#pragma code_page(932)", "z"})
    lines.Add(line);
  struct Case {
    int defaultCodePage;
    bool ignorePragmas;
    std::vector<int> byLine;  // lines 0 (made up) to 8 (past the end)
    std::vector<int> used;
  };
  const Case cases[] = {
      {kNoCodePage, false, {0, 0, 1251, 1251, 0, 0, 932, 932, 932}, {1251, 932}},
      {1252, false, {1252, 1252, 1251, 1251, 1252, 1252, 932, 932, 932}, {1252, 1251, 932}},
      {65001, true, {65001, 65001, 65001, 65001, 65001, 65001, 65001, 65001, 65001}, {65001}},
      {kNoCodePage, true, {0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    CodePageMap map(lines, c.defaultCodePage, c.ignorePragmas);
    std::vector<int> byLine;
    for (int line = 0; line <= 8; ++line) byLine.push_back(map.At(line));
    EXPECT_EQ(byLine, c.byLine) << c.defaultCodePage << c.ignorePragmas;
    EXPECT_EQ(map.CodePagesUsed(), c.used);
  }
  // A pragma on the first line leaves the default in force nowhere.
  LineCollection first;
  first.Add("#pragma code_page(1250)");
  EXPECT_EQ(CodePageMap(first, 1252, false).CodePagesUsed(), std::vector<int>{1250});
  EXPECT_EQ(CodePageMap(first, 1252, false).RegionAt(1).pragmaLine, 1);
}

struct Conversion {
  std::string_view text;
  int codePage;
  bool toUtf8;
  std::string_view expected;  // the converted text, when it converts
  std::optional<Kind> error;
  std::size_t offset = 0;
  std::uint32_t value = 0;
  int errorCodePage = 0;
};

TEST(CodePageTest, Conversions) {
  const Conversion cases[] = {
      {"plain ASCII", kNoCodePage, true, "plain ASCII", {}},
      {"Gr\xFC\xDF"
       "e",
       kNoCodePage, true, "", Kind::NoCodePage, 2, 0xFC, kNoCodePage},
      {"Gr\xFC\xDF"
       "e \x80",
       1252,
       true,
       "Gr\u00FC\u00DFe \u20AC",
       {}},
      {"ab\x81"
       "c",
       1252, true, "", Kind::InvalidByte, 2, 0x81, 1252},
      {"\xCF\xF0\xE8", 1251, true, "\u041F\u0440\u0438", {}},
      {"\x93\xFA\x96\x7B\x5C", 932, true, "\u65E5\u672C\\", {}},  // the second byte of a character may be "\"
      {"\x82", 932, true, "", Kind::InvalidByte, 0, 0x82, 932},   // lead byte cut off at the end
      {"\xD6\xD0\xCE\xC4", 936, true, "\u4E2D\u6587", {}},
      {"\xC7\xD1\xB1\xDB", 949, true, "\uD55C\uAE00", {}},
      {"\xA4\xA4\xA4\xE5", 950, true, "\u4E2D\u6587", {}},
      {"\xE0\xB8\x81", 65001, true, "\u0E01", {}},
      {"ok \xC3(", 65001, true, "", Kind::InvalidByte, 3, 0xC3, 65001},
      {"\xED\xA0\x80", 65001, true, "", Kind::InvalidByte, 0, 0xED, 65001},  // a surrogate
      {"\xE9", 12345, true, "", Kind::Unsupported, 0, 0, 12345},
      {"\u20AC \u00E9", 1252, false, "\x80 \xE9", {}},
      {"\u65E5\u672C", 932, false, "\x93\xFA\x96\x7B", {}},
      {"x \u20AC", 437, false, "", Kind::Unrepresentable, 2, 0x20AC, 437},
      {"x \U0001F600", 1252, false, "", Kind::Unrepresentable, 2, 0x1F600, 1252},
      {"x \xFF", 1252, false, "", Kind::InvalidByte, 2, 0xFF, 65001},  // the input is no UTF-8
      {"\u00E9", kNoCodePage, false, "", Kind::NoCodePage, 0, 0xC3, kNoCodePage},
      {"\u1EA0", 1258, false, "A\xF2", {}},  // a base letter and a combining tone mark
  };
  // Twice on this thread (the second time with the thread's descriptors open, and after errors
  // that left them mid-sequence), then on four threads at once, each with its own descriptors.
  auto convertAll = [&cases] {
    CodePageConverter converter;
    for (const Conversion& c : cases) {
      std::string out = "kept|";
      std::optional<ConversionError> error =
          c.toUtf8 ? converter.ToUtf8(c.text, c.codePage, out) : converter.FromUtf8(c.text, c.codePage, out);
      if (!c.error) {
        EXPECT_FALSE(error) << c.text << " " << error->Describe();
        EXPECT_EQ(out, "kept|" + std::string(c.expected)) << c.text;
        continue;
      }
      ASSERT_TRUE(error) << c.text;
      EXPECT_EQ(out, "kept|") << "a failed conversion leaves the output as it was: " << c.text;
      EXPECT_EQ(error->kind, *c.error) << c.text;
      EXPECT_EQ(error->offset, c.offset) << c.text;
      EXPECT_EQ(error->value, c.value) << c.text;
      EXPECT_EQ(error->codePage, c.errorCodePage) << c.text;
    }
  };
  convertAll();
  convertAll();
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) threads.emplace_back(convertAll);
  for (std::thread& thread : threads) thread.join();
}

TEST(CodePageTest, EveryNamedCodePageOpensAndRoundTripsItsHighBytes) {
  CodePageConverter converter;
  for (int codePage :
       {437, 737,  775,  850,  852,  855,  857,  860,  861,   862,   863,   864,   865,   866,   869,
        874, 1250, 1251, 1252, 1253, 1254, 1256, 1257, 10000, 20866, 21866, 28591, 28592, 28595, 28605}) {
    std::string bytes, utf8, back;
    for (int b = 0xA0; b <= 0xFF; ++b) {
      std::string one(1, static_cast<char>(b)), scratch;
      if (!converter.ToUtf8(one, codePage, scratch))
        bytes += one;  // skip bytes the code page leaves undefined
    }
    ASSERT_FALSE(bytes.empty()) << codePage;
    ASSERT_FALSE(converter.ToUtf8(bytes, codePage, utf8)) << codePage;
    ASSERT_FALSE(converter.FromUtf8(utf8, codePage, back)) << codePage;
    EXPECT_EQ(back, bytes) << codePage;
  }
  EXPECT_EQ(IconvName(42), "");
}

TEST(CodePageTest, LooksLikeUtf8) {
  CodePageConverter converter;
  EXPECT_TRUE(converter.LooksLikeUtf8("\"\xD0\x9F\xD1\x80\xD0\xB8\""));
  EXPECT_TRUE(converter.LooksLikeUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(converter.LooksLikeUtf8("ASCII only"));
  EXPECT_FALSE(converter.LooksLikeUtf8("caf\xE9"));            // a cp1252 letter
  EXPECT_FALSE(converter.LooksLikeUtf8("\xC3\xA9 and \xE9"));  // one valid sequence is not enough
  EXPECT_FALSE(converter.LooksLikeUtf8("\xC0\xAF"));           // overlong
}

}  // namespace
}  // namespace tamrel
