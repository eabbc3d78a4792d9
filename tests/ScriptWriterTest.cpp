// The script writer: section order, banners, blank lines, the single APSTUDIO_INVOKED wrapper,
// the string table that is always written, and the partial result of a failed write.
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

// The document of the worked example, read from the script an editor would have written.
TEST(ScriptWriterTest, WorkedExampleReproducesExactly) {
  Loaded loaded = LoadText(Crlf({
      "#include \"afxres.h\"",
      "IDD_ABOUT DIALOGEX 0, 0, 186, 95",
      "STYLE WS_SYSMENU | DS_MODALFRAME | WS_POPUP",
      "CAPTION \"About\"",
      "FONT 8, \"MS Sans Serif\"",
      "{",
      "    LTEXT           \"Version 1.0\",IDC_STATIC,7,7,120,8",
      "    DEFPUSHBUTTON   \"OK\",IDOK,129,74,50,14,WS_GROUP",
      "    CONTROL         \"Check\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,30,80,10",
      "}",
      "#ifdef APSTUDIO_INVOKED",
      "1 TEXTINCLUDE DISCARDABLE", "BEGIN", "    \"resource.h\\0\"", "END",
      "#endif",
  }));
  ASSERT_TRUE(loaded.result);
  const clsRC& rc = *loaded.rc;

  const V expected = Concat({
      Banner(" Generated from the TEXTINCLUDE 2 resource."),
      {"#include  \"afxres.h\"", ""},
      Banner("Dialog"),
      {"IDD_ABOUT DIALOG DISCARDABLE 0, 0, 186, 95", "STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU",
       "CAPTION \"About\"", "FONT 8, \"MS Sans Serif\"", "BEGIN",
       "\tLTEXT\t\t\t\"Version 1.0\", IDC_STATIC,7, 7, 120, 8",
       "\tDEFPUSHBUTTON\t\"OK\", IDOK, 129, 74, 50, 14, WS_GROUP", "\tCONTROL\t\t\"Check\", IDC_CHECK, \"Button\",",
       "\t\t\t\tBS_AUTOCHECKBOX | WS_TABSTOP, 7, 30, 80, 10", "END", ""},
      {"#ifdef APSTUDIO_INVOKED"},
      Banner("TEXTINCLUDE"),
      {"1 TEXTINCLUDE DISCARDABLE", "BEGIN", "    \"resource.h\\0\"", "END", "#endif    // APSTUDIO_INVOKED", ""},
      Banner("String Table"),
      {"STRINGTABLE DISCARDABLE", "BEGIN", "END", ""},
  });
  ASSERT_EQ(expected.size(), 44u);
  EXPECT_EQ(ToVector(rc.PrintLines()), expected);
  EXPECT_EQ(ToVector(rc.PrintLines()), expected);  // writing changes nothing
}

// Sections come in a fixed order whatever the script's order; one-line items end their group
// with one blank line, multi-line items each get one; #ifdef blocks share one wrapper.
TEST(ScriptWriterTest, SectionOrderAndBlankLines) {
  Loaded loaded = LoadText(Crlf({
      "STRINGTABLE", "BEGIN", "  IDS_A \"a\"", "END",
      "#ifdef X", "line one", "#endif",
      "IDC_C CURSOR \"c.cur\"",
      "IDM_A MENU", "BEGIN", "  MENUITEM \"&A\", ID_A", "END",
      "IDM_B MENU", "BEGIN", "  MENUITEM \"&B\", ID_B", "END",
      "IDB_B BITMAP \"b.bmp\"",
      "IDI_A ICON \"a.ico\"", "IDI_B ICON \"b.ico\"", "IDI_C ICON \"c.ico\"",
      "#ifdef Y", "line two", "#endif",
      "#include \"resource.h\"",
      "GUIDELINES DESIGNINFO", "BEGIN", "  IDD_X, DIALOG", "END",
  }));
  ASSERT_TRUE(loaded.result) << (loaded.log->entries.empty() ? "" : loaded.log->entries[0].message);
  V lines = ToVector(loaded.rc->PrintLines());
  V titles;
  for (std::size_t i = 0; i + 2 < lines.size(); ++i)
    if (lines[i] == kSlashes) titles.push_back(lines[i + 2]);
  EXPECT_EQ(titles, (V{"//  Generated from the TEXTINCLUDE 2 resource.", "// Icon", "// Bitmap", "// Cursor",
                       "// Menu", "// TEXTINCLUDE", "// String Table"}));
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_EQ(lines[at("// Icon") + 6], "");  // banner end, three icon lines, then one blank line
  EXPECT_NE(lines[at("// Icon") + 5], "");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "#ifdef APSTUDIO_INVOKED"), 1);
  EXPECT_EQ(lines[at("line one") + 1], "line two");
  EXPECT_EQ(lines[at("line two") + 1], "#endif    // APSTUDIO_INVOKED");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "END"), 3);  // two menus and the string table
  EXPECT_EQ(at("  IDD_X, DIALOG"), static_cast<long>(lines.size()));  // design information is not written
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

TEST(WordCountTest, DocumentSumsDialogsMenusAndStringTable) {
  Loaded loaded = LoadText(Crlf({
      "IDD_A DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "CAPTION \"Two words\"", "FONT 8, \"X\"", "BEGIN",
      "  LTEXT \"Three little words\", IDC_STATIC, 1, 2, 3, 4",
      "  CONTROL \"Not counted\", IDC_C, \"Button\", BS_AUTOCHECKBOX, 1, 2, 3, 4", "END",
      "IDM_A MENU", "BEGIN", "  POPUP \"Popup caption ignored\"", "  BEGIN", "    MENUITEM \"&Open 2\", ID_O",
      "    MENUITEM SEPARATOR", "  END", "END",
      "STRINGTABLE", "BEGIN", "  IDS_A \"100% done [ok]\"", "END",
      "IDA_A ACCELERATORS", "BEGIN", "  \"A\", ID_A, VIRTKEY", "  \"B\", ID_B, VIRTKEY, CONTROL", "END",
  }));
  ASSERT_TRUE(loaded.result) << (loaded.log->entries.empty() ? "" : loaded.log->entries[0].message);
  const clsRC& rc = *loaded.rc;
  EXPECT_EQ(rc.DisplayWordCount(), 2 + 3 + 3 + 3);  // caption, LTEXT, menu items, string
  EXPECT_EQ(rc.DisplayWordCount(0), rc.DisplayWordCount());
  // "\"100%" and "[ok]\"" are not words; "2\"" is (the quote keeps it from reading as a number).
  EXPECT_EQ(rc.DisplayWordCount(1), 2 + 3 + 3 + 1);
  EXPECT_EQ(rc.TotalControls(), 2);
  EXPECT_EQ(rc.TotalAccelerators(), 2);
  EXPECT_EQ(rc.TotalMenuItems, 3);
  clsRC empty;
  EXPECT_EQ(empty.DisplayWordCount(), 0);
  EXPECT_EQ(empty.TotalControls(), 0);
}

}  // namespace
}  // namespace tamrel
