// Bitmap, icon and cursor statements: how they are read (memory options optional, trailing
// comments ignored) and written back; and how a bad statement or preprocessor or DESIGNINFO
// construct stops the build.
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

// The exact tab layouts; the written lines read back to the same items. The same ID in two
// kinds is no clash, and option-less statements load among other statements.
TEST(FileReferenceWriteTest, ExactLayoutsReadBackTheSame) {
  Loaded first = LoadText(
      Crlf({"#include \"resource.h\"", "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
            "IDR_MAIN\tBITMAP  DISCARDABLE\t\"res\\\\main.bmp\"", "IDR_MAIN ICON DISCARDABLE \"app.ico\"",
            "IDC_PEN                 CURSOR                  \"res\\\\pen.cur\""}));
  ASSERT_TRUE(first.result);
  const clsRC& rc = *first.rc;
  V written;
  for (const LineCollection& lines :
       {rc.Bitmaps.Item(1).PrintLines(), rc.Icons.Item(1).PrintLines(), rc.Cursors.Item(1).PrintLines()})
    written.insert(written.end(), lines.begin(), lines.end());
  EXPECT_EQ(written, (V{"IDR_MAIN\t\tBITMAP\tDISCARDABLE PURE\t\"res\\\\main.bmp\"",
                        "IDR_MAIN\t\tICON\t\tDISCARDABLE \t\"app.ico\"",
                        "IDC_PEN\t\tCURSOR\t\t \t\"res\\\\pen.cur\""}));
  EXPECT_EQ(int(rc.Cursors.Item("idc_pen").Line), 5);
  std::string script;
  for (const std::string& line : written) script += line + "\r\n";
  Loaded again = LoadText(script);
  ASSERT_TRUE(again.result);
  for (std::string_view keyword : {"BITMAP", "ICON", "CURSOR"})
    EXPECT_EQ(ReadOne(*again.rc, keyword), ReadOne(rc, keyword)) << keyword;
}

// Every failure path of the bitmap, icon, cursor, #include, #ifdef and DESIGNINFO readers: at
// most one report naming the procedure, step and error, with the line number and raw line (no
// location where a block runs past the last line and the walk reports it); the build stops
// there and what was read before stays. Blocks still open on line 32767 overflow the 16-bit
// cursor there.
TEST(SectionFailureTest, ReportedAndTheBuildStops) {
  std::string hugeIfDef = "#ifdef HUGE\r\n", hugeDesign = "GUIDELINES DESIGNINFO DISCARDABLE\r\nBEGIN\r\n";
  for (int line = 2; line <= 32767; ++line) hugeIfDef += "\tx\r\n";
  for (int line = 3; line <= 32767; ++line) hugeDesign += "  TOPMARGIN, 7\r\n";
  struct Case {
    std::string script;
    std::optional<std::string> message, location;  // no message: stops without a report
    int itemsKept;                                 // items of all six kinds
  };
  const std::string dup = "Key is already associated with an element of this collection (457)";
  const Case cases[] = {
      {Crlf({"IDI_A ICON \"a.ico\"", "IDI_X  ICON", "IDI_B ICON \"b.ico\""}),
       "RCpI-00: Index out of range (9)", "2: IDI_X  ICON", 1},
      {Crlf({"IDB_X BITMAP // no file"}), "RCpB-00: Index out of range (9)", "1: IDB_X BITMAP // no file", 0},
      {Crlf({"IDC_X CURSOR"}), "RCpC-00: Index out of range (9)", "1: IDC_X CURSOR", 0},
      {Crlf({"IDI_A ICON \"a.ico\"", "\tidi_a ICON \"b.ico\"\t"}), "RCpI-00: " + dup,
       "2: \tidi_a ICON \"b.ico\"\t", 1},
      {Crlf({"IDB_A BITMAP \"a.bmp\"", "IDB_A BITMAP DISCARDABLE \"b.bmp\""}), "RCpB-00: " + dup,
       "2: IDB_A BITMAP DISCARDABLE \"b.bmp\"", 1},
      {Crlf({"IDC_A CURSOR \"a.cur\"", "IDC_A CURSOR \"b.cur\""}), "RCpC-00: " + dup,
       "2: IDC_A CURSOR \"b.cur\"", 1},
      {Crlf({"#include \"a.h\"", "#include  ", "#include \"b.h\""}), "RCpIn-00: Index out of range (9)",
       "2: #include  ", 1},
      {Crlf({"#ifdef _DEBUG", "#ifdef APSTUDIO_INVOKED", "1 TEXTINCLUDE", "IDI_A ICON \"a.ico\""}),
       "RCprf-11: Index out of range (9)", std::nullopt, 0},
      {hugeIfDef, "RCpIf-00: Overflow (6)", "32767: \tx", 0},
      {Crlf({"GUIDELINES DESIGNINFO DISCARDABLE", "{", "}", "IDI_A ICON \"a.ico\""}),
       "RCpDI-04: BEGIN expected after the block header (1001)", "2:  {", 0},
      {Crlf({"// guides", "DESIGNINFO", "BEGIN", "END", "IDI_A ICON \"a.ico\""}),
       "RCpDI-03: Index out of range (9)", "2:  DESIGNINFO", 0},
      {Crlf({"GUIDELINES DESIGNINFO DISCARDABLE"}), "RCprf-12: Index out of range (9)", std::nullopt, 0},
      {Crlf({"GUIDELINES DESIGNINFO", "BEGIN", "  IDD_X, DIALOG", "  BEGIN", "  END"}),
       "RCprf-12: Index out of range (9)", std::nullopt, 0},
      {hugeDesign, "RCpDI-05: Overflow (6)", "32767:  TOPMARGIN, 7", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.value_or("stops without a report"));
    Loaded loaded = LoadText(c.script);
    const clsRC& rc = *loaded.rc;
    EXPECT_FALSE(loaded.result || rc.Initialized);
    EXPECT_TRUE(loaded.messageBoxes.empty());
    EXPECT_EQ(rc.Bitmaps.Count() + rc.Icons.Count() + rc.Cursors.Count() + rc.Includes.Count() +
                  rc.IfDef.Count() + rc.DesignInfos.Count(),
              c.itemsKept);
    ASSERT_EQ(loaded.log->entries.size(), c.message ? 1u : 0u);
    if (!c.message) continue;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message);
    EXPECT_EQ(loaded.log->entries[0].location, c.location);
    EXPECT_EQ(loaded.log->entries[0].path, rc.Path);
  }
}

}  // namespace
}  // namespace tamrel
