// The script writer on models built by hand: the string table that is always written, the
// single APSTUDIO_INVOKED wrapper, and the partial result of a failed write. Section order,
// banners and blank lines of scripts read are golden scripts (tests/data/golden/script-*.rc).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

const std::string kSlashes(77, '/');

V Banner(const std::string& title) { return {kSlashes, "//", "// " + title, "//", ""}; }

V Concat(std::initializer_list<V> parts) {
  V all;
  for (const V& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(ScriptWriterTest, EmptyDocumentWritesOnlyTheStringTable) {
  clsRC rc;
  EXPECT_EQ(ToVector(rc.PrintLines()),
            Concat({Banner("String Table"), {"STRINGTABLE DISCARDABLE", "BEGIN", "END", ""}}));
}

// Inside the wrapper a block's own conditional directives are left out, however they are
// spaced, so the wrapper stays balanced; the model keeps them, and everything else in a block
// (including words that merely begin like a directive) is written as stored.
TEST(ScriptWriterTest, WrapperLeavesOutTheBlocksConditionalDirectives) {
  const std::pair<std::string, bool> lines[] = {  // stored line, written
      {"#ifdef _DEBUG", false},         {" FILEFLAGS 0x1L", true},      {"#else", false},
      {" FILEFLAGS 0x0L", true},        {"\t#if defined(X)", false},   {"# elif Y", false},
      {"#\tifndef Z", false},           {"#else // release", false},    {"#endif//inner", false},
      {"#else_X 1", true},              {"#ifdefined", true},           {"#include \"x.h\"", true},
      {"#define IDC_X 100", true},      {"1 TEXTINCLUDE", true},        {"\"#if 0\\r\\n\"", true},
  };
  clsRC rc;
  LineCollection block;
  V written;
  for (const auto& [line, kept] : lines) {
    block.Add(line);
    if (kept) written.push_back(line);
  }
  rc.IfDef.Add(std::move(block));
  rc.IfDef.Add(LineCollection{});
  V expected = Concat({{"#ifdef APSTUDIO_INVOKED"}, Banner("TEXTINCLUDE"), written,
                       {"#endif    // APSTUDIO_INVOKED", ""}, Banner("String Table"),
                       {"STRINGTABLE DISCARDABLE", "BEGIN", "END", ""}});
  EXPECT_EQ(ToVector(rc.PrintLines()), expected);
  EXPECT_EQ(rc.IfDef.Item(1).Count(), static_cast<int>(std::size(lines)));  // the model is unchanged

  // Read back, the wrapper is one block holding exactly the written lines.
  std::string text;
  for (const std::string& line : expected) text += line + "\r\n";
  Loaded again = LoadText(text);
  ASSERT_TRUE(again.result);
  ASSERT_EQ(again.rc->IfDef.Count(), 1);
  EXPECT_EQ(ToVector(again.rc->IfDef.Item(1)), written);
  EXPECT_EQ(ToVector(again.rc->PrintLines()), expected);
}

TEST(ScriptWriterTest, FailureReportsAndReturnsWhatWasWritten) {
  Loaded loaded = LoadText(Crlf({"#include \"a.h\""}));
  ASSERT_TRUE(loaded.result);
  clsRC& rc = *loaded.rc;
  LineCollection huge;
  for (int i = 0; i < 32767; ++i) huge.Add("x");
  rc.IfDef.Add(huge);
  V lines = ToVector(rc.PrintLines());
  EXPECT_EQ(lines, Concat({Banner(" Generated from the TEXTINCLUDE 2 resource."), {"#include  \"a.h\"", ""},
                           {"#ifdef APSTUDIO_INVOKED"}, Banner("TEXTINCLUDE")}));
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCpl-07: Overflow (6)");
  EXPECT_FALSE(loaded.log->entries[0].location.has_value());
}

}  // namespace
}  // namespace tamrel
