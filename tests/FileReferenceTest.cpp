// Bitmap, icon and cursor statements: how they are read (memory options optional, trailing
// comments ignored), how they are written back, and how a bad statement stops the build.
#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

struct Reference {
  std::string Disposition, Handling, Path;
  bool operator==(const Reference&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Reference& r) {
  return os << "{" << r.Disposition << "|" << r.Handling << "|" << r.Path << "}";
}

// The item the document holds for the only statement of a one-statement script.
Reference ReadOne(const Loaded& loaded, std::string_view keyword) {
  const clsRC& rc = *loaded.rc;
  if (keyword == "BITMAP") {
    const clsBitmap& b = rc.Bitmaps.Item(1);
    return {b.Disposition, b.Handling, b.Path};
  }
  if (keyword == "ICON") {
    const clsIcon& i = rc.Icons.Item(1);
    return {i.Disposition, i.Handling, i.Path};
  }
  const clsCursor& c = rc.Cursors.Item(1);
  return {c.Disposition, c.Handling, c.Path};
}

// The older fixed-position rule: options at tokens 3 (and 4 for a bitmap when token 4 is not
// quoted), the file right after them. nullopt where it runs out of tokens.
std::optional<Reference> FixedPositionRule(const Tokens& t, std::string_view keyword) {
  auto at = [&](int k) { return k <= t.Count() ? std::optional<std::string>(t.Item(k)) : std::nullopt; };
  auto t3 = at(3), t4 = at(4), t5 = at(5);
  if (!t3 || !t4) return std::nullopt;
  if (keyword != "BITMAP") return Reference{*t3, "", *t4};
  if (t4->starts_with('"')) return Reference{*t3, "PURE", *t4};
  if (!t5) return std::nullopt;
  return Reference{*t3, *t4, *t5};
}

// Every combination of keyword, memory options, file spelling and trailing comment reads as
// its parts say; wherever the fixed-position rule read a statement right, the result is the
// one it gave.
TEST(FileReferenceReadTest, OptionsFilesAndCommentsInEveryCombination) {
  const std::string_view keywords[] = {"BITMAP", "ICON", "CURSOR"};
  const V optionSets[] = {{}, {"DISCARDABLE"}, {"MOVEABLE", "PURE"}, {"LOADONCALL", "DISCARDABLE"}};
  const std::string files[] = {"\"res\\\\app.bin\"", "\"my file, v2.bin\"", "res\\\\plain.bin"};
  const std::string comments[] = {"", "  // the logo", "\t//tight"};

  clsRC tokenizer;
  int sameAsFixedRule = 0;
  for (std::string_view keyword : keywords)
    for (const V& options : optionSets)
      for (const std::string& file : files)
        for (const std::string& comment : comments) {
          std::string statement = "IDR_X\t\t" + std::string(keyword) + "\t";
          for (const std::string& option : options) statement += option + " ";
          statement += "   " + file + comment;

          Reference truth{options.empty() ? "" : options[0],
                          options.size() >= 2               ? options[1]
                          : keyword == "BITMAP" && options.size() == 1 ? "PURE"
                                                                        : "",
                          file};
          Loaded loaded = LoadText(Crlf({"// header", statement}));
          ASSERT_TRUE(loaded.result) << statement;
          ASSERT_TRUE(loaded.log->entries.empty()) << statement;
          Reference read = ReadOne(loaded, keyword);
          EXPECT_EQ(read, truth) << statement;

          std::optional<Reference> fixed = FixedPositionRule(tokenizer.ParseLine(" " + statement, ' '), keyword);
          if (fixed && *fixed == truth) {
            EXPECT_EQ(read, *fixed) << statement;
            ++sameAsFixedRule;
          }
        }
  // The fixed rule was right for one option before any file of an icon or a cursor (2 * 9), one
  // option before a quoted bitmap file (2 * 3), and two options before any bitmap file (2 * 9).
  EXPECT_EQ(sameAsFixedRule, 42);
}

// Statements the fixed-position rule got wrong or could not read at all.
TEST(FileReferenceReadTest, StatementsTheFixedRuleMisread) {
  struct Case {
    std::string statement;
    std::string_view keyword;
    Reference expected;
  };
  const Case cases[] = {
      {"IDI_X ICON MOVEABLE PURE \"x.ico\"", "ICON", {"MOVEABLE", "PURE", "\"x.ico\""}},
      {"IDI_X ICON \"x.ico\"", "ICON", {"", "", "\"x.ico\""}},
      {"IDB_X BITMAP DISCARDABLE x.bmp", "BITMAP", {"DISCARDABLE", "PURE", "x.bmp"}},
      {"IDC_X CURSOR MOVEABLE PURE x.cur", "CURSOR", {"MOVEABLE", "PURE", "x.cur"}},
      {"IDB_X BITMAP MOVEABLE PURE LOADONCALL \"x.bmp\"", "BITMAP", {"MOVEABLE", "PURE", "\"x.bmp\""}},
      {"IDI_X ICON x.ico // \"not the file\"", "ICON", {"", "", "x.ico"}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Crlf({c.statement}));
    ASSERT_TRUE(loaded.result) << c.statement;
    EXPECT_EQ(ReadOne(loaded, c.keyword), c.expected) << c.statement;
  }
}

TEST(FileReferenceWriteTest, ReadThenWritten) {
  Loaded loaded = LoadText(Crlf({"IDB_LOGO\tBITMAP  DISCARDABLE\t\"res\\\\logo.bmp\"",
                                 "IDI_APP ICON DISCARDABLE \"app.ico\"", "IDC_PEN CURSOR \"pen.cur\""}));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(ToVector(loaded.rc->Bitmaps.Item(1).PrintLines()),
            (V{"IDB_LOGO\t\tBITMAP\tDISCARDABLE PURE\t\"res\\\\logo.bmp\""}));
  EXPECT_EQ(ToVector(loaded.rc->Icons.Item(1).PrintLines()), (V{"IDI_APP\t\tICON\t\tDISCARDABLE \t\"app.ico\""}));
  EXPECT_EQ(ToVector(loaded.rc->Cursors.Item(1).PrintLines()), (V{"IDC_PEN\t\tCURSOR\t\t \t\"pen.cur\""}));
}

// A bad statement is reported with its reader's code, the line number and the raw line; the
// walk stops there, and what was read before it stays.
TEST(FileReferenceFailureTest, ReportedAndTheBuildStops) {
  struct Case {
    std::vector<std::string_view> lines;
    std::string message;
    std::string location;
    int itemsKept;  // bitmaps + icons + cursors
  };
  const Case cases[] = {
      {{"IDI_A ICON \"a.ico\"", "IDI_X  ICON", "IDI_B ICON \"b.ico\""},
       "RCpI-00: Index out of range (9)", "2: IDI_X  ICON", 1},
      {{"IDB_X BITMAP // no file"}, "RCpB-00: Index out of range (9)", "1: IDB_X BITMAP // no file", 0},
      {{"IDC_X CURSOR"}, "RCpC-00: Index out of range (9)", "1: IDC_X CURSOR", 0},
      {{"IDI_A ICON \"a.ico\"", "\tidi_a ICON \"b.ico\"\t"},
       "RCpI-00: Key is already associated with an element of this collection (457)",
       "2: \tidi_a ICON \"b.ico\"\t", 1},
      {{"IDB_A BITMAP \"a.bmp\"", "IDB_A BITMAP DISCARDABLE \"b.bmp\""},
       "RCpB-00: Key is already associated with an element of this collection (457)",
       "2: IDB_A BITMAP DISCARDABLE \"b.bmp\"", 1},
      {{"IDC_A CURSOR \"a.cur\"", "IDC_A CURSOR \"b.cur\""},
       "RCpC-00: Key is already associated with an element of this collection (457)",
       "2: IDC_A CURSOR \"b.cur\"", 1},
  };
  for (const Case& c : cases) {
    std::string script;
    for (std::string_view line : c.lines) script.append(line).append("\r\n");
    Loaded loaded = LoadText(script);
    EXPECT_FALSE(loaded.result) << c.message;
    EXPECT_FALSE(loaded.rc->Initialized);
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.message;
    EXPECT_EQ(loaded.log->entries[0].message, c.message);
    EXPECT_EQ(loaded.log->entries[0].location, c.location);
    EXPECT_EQ(loaded.log->entries[0].path, loaded.rc->Path);
    EXPECT_EQ(loaded.rc->Bitmaps.Count() + loaded.rc->Icons.Count() + loaded.rc->Cursors.Count(), c.itemsKept)
        << c.message;
  }
}

// What a current resource editor writes: no memory options anywhere.
TEST(FileReferenceReadTest, ModernScriptLoads) {
  Loaded loaded = LoadText(Crlf({
      "// Microsoft Visual C++ generated resource script.",
      "//",
      "#include \"resource.h\"",
      "",
      "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
      "",
      "// Icon with lowest ID value placed first to ensure application icon",
      "// remains consistent on all systems.",
      "IDR_MAINFRAME           ICON                    \"res\\\\Editor.ico\"",
      "IDR_EditorTYPE          ICON                    \"res\\\\EditorDoc.ico\"",
      "",
      "IDR_MAINFRAME           BITMAP                  \"res\\\\Toolbar.bmp\"",
      "IDB_SPLASH              BITMAP                  \"res\\\\Splash.bmp\"",
      "",
      "IDC_PENCIL              CURSOR                  \"res\\\\pencil.cur\"",
  }));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.rc->Initialized);
  EXPECT_TRUE(loaded.log->entries.empty());
  ASSERT_EQ(loaded.rc->Icons.Count(), 2);
  ASSERT_EQ(loaded.rc->Bitmaps.Count(), 2);
  ASSERT_EQ(loaded.rc->Cursors.Count(), 1);
  EXPECT_EQ(loaded.rc->Icons.Item(2).ID, "IDR_EditorTYPE");
  EXPECT_EQ(loaded.rc->Icons.Item(2).ItemType, "ICON");
  EXPECT_EQ(int(loaded.rc->Icons.Item(2).Line), 10);
  EXPECT_EQ(loaded.rc->Bitmaps.Item(1).ItemType, "BITMAP");
  EXPECT_EQ(loaded.rc->Cursors.Item(1).ItemType, "CURSOR");
  EXPECT_EQ(loaded.rc->Icons.Item("IDR_EDITORTYPE").Path, "\"res\\\\EditorDoc.ico\"");
  EXPECT_EQ(loaded.rc->Bitmaps.Item("IDB_SPLASH").Path, "\"res\\\\Splash.bmp\"");
  EXPECT_EQ(loaded.rc->Bitmaps.Item("IDB_SPLASH").Handling, "");
  EXPECT_EQ(loaded.rc->Cursors.Item(1).Path, "\"res\\\\pencil.cur\"");
  EXPECT_EQ(int(loaded.rc->Cursors.Item(1).Line), 15);
}

// The bundled sample, written by an older editor: options everywhere, one bitmap with two.
TEST(FileReferenceReadTest, SampleScript) {
  auto log = std::make_shared<RecordingLog>();
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(log, "Log");
  clsRC rc;
  ASSERT_TRUE(rc.Init(TAMREL_EXAMPLES "/sample.rc", hosts, 2));
  EXPECT_EQ(rc.Icons.Item("IDR_MAINFRAME").Path, "\"res\\\\Notepad.ico\"");
  const clsBitmap& toolbar = rc.Bitmaps.Item("IDR_MAINFRAME");
  EXPECT_EQ(toolbar.Disposition, "MOVEABLE");
  EXPECT_EQ(toolbar.Handling, "PURE");
  EXPECT_EQ(toolbar.Path, "\"res\\\\Toolbar.bmp\"");
  EXPECT_EQ(rc.Bitmaps.Item("IDB_SPLASH").Handling, "PURE");
  EXPECT_EQ(int(rc.Cursors.Item("IDC_PENCIL").Line), 75);
}

}  // namespace
}  // namespace tamrel
