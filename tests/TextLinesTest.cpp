// Splitting text into lines and reading script files: the memchr scan against a byte-by-byte
// reference on random mixes of line ends, the line count used to reserve, the view-returning
// decoder, and files read whole whatever their size or kind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <thread>

#include "TestSupport.h"
#include "common/TextEncoding.h"
#include "common/TextLines.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// A line ends at CR LF, a lone CR or a lone LF, one byte at a time.
V ReferenceLines(std::string_view text) {
  V lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

V Split(std::string_view text) {
  V lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

// Random texts over a small alphabet rich in line ends, and long runs without one kind of
// line end (the scan must not search the rest of the text again for every line).
TEST(TextLinesTest, ScanMatchesReferenceOnRandomTexts) {
  std::mt19937 rng(12);
  const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\0', '\t', '\xFF'};
  for (int round = 0; round < 5000; ++round) {
    // Mostly short texts; every 50th long enough to fill the line counter's wide blocks.
    std::string text(round % 50 == 0 ? rng() % 9000 : rng() % 64, ' ');
    const unsigned kinds = 2 + rng() % 7;  // some rounds use only a few letters of the alphabet
    for (char& c : text) c = alphabet[rng() % kinds];
    ASSERT_EQ(Split(text), ReferenceLines(text)) << testing::PrintToString(text);
    ASSERT_EQ(CountLines(text), ReferenceLines(text).size());
  }
  std::string lf;
  for (int i = 0; i < 20000; ++i) lf += "line\n";
  EXPECT_EQ(Split(lf), ReferenceLines(lf));
  EXPECT_EQ(CountLines(lf + "\r"), 20001u);
}

TEST(TextLinesTest, DecoderViewsEightBitTextWithoutCopying) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::size_t skipped;  // bytes of mark before the text
  };
  const Case cases[] = {
      {"ab\r\n", TextEncoding::Bytes, 0},
      {"\xEF\xBB\xBF" "ab", TextEncoding::Utf8Bom, 3},
      {"\xEF\xBB", TextEncoding::Bytes, 0},  // a partial mark is text
  };
  for (const Case& c : cases) {
    TextEncoding encoding{};
    std::string decoded = "untouched";
    std::string_view text = DecodeScript(c.bytes, encoding, decoded);
    EXPECT_EQ(encoding, c.encoding);
    EXPECT_EQ(text.data(), c.bytes.data() + c.skipped);
    EXPECT_EQ(text.size(), c.bytes.size() - c.skipped);
    EXPECT_EQ(decoded, "untouched");
  }
  TextEncoding encoding{};
  std::string decoded;
  std::string_view text = DecodeScript(std::string("\xFF\xFE" "a\0\r\0\n\0", 8), encoding, decoded);
  EXPECT_EQ(encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(text, "a\r\n");
  EXPECT_EQ(text.data(), decoded.data());
}

// Scripts far larger than one read, with every kind of line end and characters of one to four
// UTF-8 bytes, in each encoding: the mark decides the encoding, and every line reads as UTF-8
// (8-bit text as it was).
TEST(TextLinesTest, LargeFilesReadWhole) {
  std::string text;
  V expected;
  for (int i = 0; i < 30000; ++i) {
    expected.push_back("// line " + std::to_string(i) + " caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    text += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  }
  for (TextEncoding e : {TextEncoding::Bytes, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    Loaded loaded = LoadText(EncodeText(text, e, true));
    EXPECT_TRUE(loaded.result) << EncodingName(e);
    EXPECT_EQ(loaded.rc->SourceEncoding, e);
    EXPECT_TRUE(ToVector(loaded.rc->Lines) == expected) << EncodingName(e);
  }
}

// A pipe has no size to read ahead: its bytes arrive in pieces and the buffer grows.
TEST(TextLinesTest, PipeIsReadToItsEnd) {
  const std::string fifo = std::filesystem::temp_directory_path() / ("tamrel_pipe_" + std::to_string(::getpid()));
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "STRINGTABLE_LIKE_LINE " + std::to_string(i) + "\r\n";
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
  auto log = std::make_shared<RecordingLog>();
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(log, "Log");
  clsRC rc;
  EXPECT_TRUE(rc.Init(fifo, hosts, 2));
  writer.join();
  std::remove(fifo.c_str());
  EXPECT_TRUE(log->entries.empty());
  ASSERT_EQ(rc.Lines.Count(), 20000);
  EXPECT_EQ(rc.Lines.Item(20000), "STRINGTABLE_LIKE_LINE 19999");
}

}  // namespace
}  // namespace tamrel
