// Bitmap, icon and cursor statements: how they are read (memory options optional, trailing
// comments ignored); and #ifdef and DESIGNINFO blocks that overflow the line cursor.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// Keyword, options and file of the first item of the keyword's kind.
V ReadOne(const clsRC& rc, std::string_view keyword) {
  auto parts = [](const auto& i) { return V{i.ItemType, i.Disposition, i.Handling, i.Path}; };
  if (keyword == "BITMAP") return parts(rc.Bitmaps.Item(1));
  return keyword == "ICON" ? parts(rc.Icons.Item(1)) : parts(rc.Cursors.Item(1));
}

// Every keyword with none to three memory options, a quoted or bare file, and a trailing
// comment (one holding a quoted token): the file is the first quoted token after the keyword,
// else the last one before the comment; the first two options are the Disposition and the
// Handling, and a bitmap with one option gets the Handling "PURE".
TEST(FileReferenceReadTest, OptionsFilesAndCommentsInEveryCombination) {
  const V optionSets[] = {{}, {"DISCARDABLE"}, {"MOVEABLE", "PURE"}, {"MOVEABLE", "PURE", "LOADONCALL"}};
  const V files = {"\"res\\\\app.bin\"", "\"my file, v2.bin\"", "res\\\\plain.bin"};
  const V comments = {"", "\t//tight", "  // \"not the file\""};
  for (std::string keyword : {"BITMAP", "ICON", "CURSOR"})
    for (const V& options : optionSets)
      for (const std::string& file : files)
        for (const std::string& comment : comments) {
          std::string statement = "IDR_X\t\t" + keyword + "\t";
          for (const std::string& option : options) statement += option + " ";
          statement += "   " + file + comment;
          V want = {keyword, options.size() > 0 ? options[0] : "", options.size() > 1 ? options[1] : "",
                    file};
          if (keyword == "BITMAP" && options.size() == 1) want[2] = "PURE";
          Loaded loaded = LoadText(Crlf({"// header", statement}));
          ASSERT_TRUE(loaded.result && loaded.log->entries.empty()) << statement;
          EXPECT_EQ(ReadOne(*loaded.rc, keyword), want) << statement;
        }
}

// Blocks still open on line 32767 overflow the 16-bit cursor there: one report naming the
// procedure, step and error, with the line number and raw line; the build stops there. The
// other failures of these readers are golden scripts (tests/data/golden).
TEST(SectionFailureTest, ReportedAndTheBuildStops) {
  std::string hugeIfDef = "#ifdef HUGE\r\n", hugeDesign = "GUIDELINES DESIGNINFO DISCARDABLE\r\nBEGIN\r\n";
  for (int line = 2; line <= 32767; ++line) hugeIfDef += "\tx\r\n";
  for (int line = 3; line <= 32767; ++line) hugeDesign += "  TOPMARGIN, 7\r\n";
  const std::tuple<std::string, std::string, std::string> cases[] = {  // script, report, location
      {hugeIfDef, "RCpIf-00: Overflow (6)", "32767: \tx"},
      {hugeDesign, "RCpDI-05: Overflow (6)", "32767:  TOPMARGIN, 7"},
  };
  for (const auto& [script, message, location] : cases) {
    Loaded loaded = LoadText(script);
    const clsRC& rc = *loaded.rc;
    EXPECT_FALSE(loaded.result || rc.Initialized);
    EXPECT_EQ(rc.IfDef.Count() + rc.DesignInfos.Count(), 0);
    ASSERT_EQ(loaded.log->entries.size(), 1u);
    EXPECT_EQ(loaded.log->entries[0].message, message);
    EXPECT_EQ(loaded.log->entries[0].location, location);
    EXPECT_EQ(loaded.log->entries[0].path, rc.Path);
  }
}

}  // namespace
}  // namespace tamrel
