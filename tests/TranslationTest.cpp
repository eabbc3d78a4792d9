// The translation layer without the host program: units and their contexts, the in-place merge
// and the exchange formats. Literals, printf conversions, counting and pseudo text are rows of
// tests/data/tables.json.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "translation/PoCatalog.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

namespace tamrel {
namespace {

const std::string kScript = Crlf({
    "#pragma code_page(1252)",
    "IDD_ABOUT DIALOGEX 0, 0, 200, 100",
    "STYLE DS_MODALFRAME | WS_POPUP",
    "CAPTION",
    "    \"About Notes\"",
    "FONT 8, \"MS Shell Dlg\"",
    "BEGIN",
    "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20",
    "    LTEXT           \"Notes 1.0; \xA9 2024\",IDC_STATIC,40,10,119,8",
    "    LTEXT           \"Read\\tme\",IDC_STATIC,40,25,119,8",
    "    DEFPUSHBUTTON   \"OK\",IDOK,142,7,50,14,WS_GROUP",
    "    CONTROL         \"&Check\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX |",
    "                    WS_TABSTOP,7,40,50,10",
    "END",
    "IDR_MAIN MENU DISCARDABLE",
    "BEGIN",
    "    POPUP \"&File\"",
    "    BEGIN",
    "        MENUITEM \"&Open...\\tCtrl+O\",      ID_FILE_OPEN",
    "        MENUITEM SEPARATOR",
    "        POPUP \"&Recent\"",
    "        BEGIN",
    "            MENUITEM \"(empty)\",            0",
    "        END",
    "    END",
    "END",
    "STRINGTABLE DISCARDABLE",
    "BEGIN",
    "    IDS_COUNT               \"%d files\"",
    "    IDS_LONG",
    "        \"on the next line\"",
    "END",
    "IDR_MORE MENU",
    "BEGIN",
    "    POPUP \"&S\xE9""curit\xE9\"",
    "    BEGIN",
    "        MENUITEM \"&Ouvrir\", ID_OPEN",
    "    END",
    "END",
});

struct UnitRow {
  std::string context;
  UnitKind kind;
  std::string text;
  int line;
};

TEST(ExtractUnitsTest, NamesAndLocatesEveryUnit) {
  Loaded loaded = LoadText(kScript);
  ASSERT_TRUE(loaded.result);
  const std::vector<UnitRow> expected = {
      {"IDD_ABOUT|CAPTION", UnitKind::Caption, "About Notes", 5},
      {"IDD_ABOUT|IDC_STATIC#1", UnitKind::Control, "Notes 1.0; \xC2\xA9 2024", 9},
      {"IDD_ABOUT|IDC_STATIC#2", UnitKind::Control, "Read\tme", 10},
      {"IDD_ABOUT|IDOK", UnitKind::Control, "OK", 11},
      {"IDD_ABOUT|IDC_CHECK", UnitKind::Control, "&Check", 12},
      {"IDR_MAIN|&File", UnitKind::Popup, "&File", 17},
      {"IDR_MAIN|ID_FILE_OPEN", UnitKind::MenuItem, "&Open...\tCtrl+O", 19},
      {"IDR_MAIN|&File|&Recent", UnitKind::Popup, "&Recent", 21},
      {"IDR_MAIN|0", UnitKind::MenuItem, "(empty)", 23},
      {"STRINGTABLE|IDS_COUNT", UnitKind::String, "%d files", 29},
      {"STRINGTABLE|IDS_LONG", UnitKind::String, "on the next line", 31},
      {"IDR_MORE|&S\xC3\xA9""curit\xC3\xA9", UnitKind::Popup, "&S\xC3\xA9""curit\xC3\xA9", 35},  // the context converted too
      {"IDR_MORE|ID_OPEN", UnitKind::MenuItem, "&Ouvrir", 37},
  };
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  ASSERT_EQ(units.size(), expected.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    SCOPED_TRACE(expected[i].context);
    EXPECT_EQ(units[i].context, expected[i].context);
    EXPECT_EQ(units[i].kind, expected[i].kind);
    EXPECT_EQ(units[i].text, expected[i].text);
    EXPECT_EQ(units[i].line, expected[i].line);
    EXPECT_EQ(units[i].codePage, 1252);
    EXPECT_EQ(units[i].problem, "");
  }
  EXPECT_EQ(units[4].Description(), "control CONTROL Button");
}

// Refusals, warnings, --force, --use-fuzzy and --encoding are rows of tests/data/commands.txt.
TEST(MergeTest, ReplacesOnlyTheLiterals) {
  Loaded loaded = LoadText(kScript);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  MergeResult result = ApplyTranslations(*loaded.rc, kScript, units,
                                         {{"IDD_ABOUT|CAPTION", "About Notes", "\xC3\x9C""ber \"Notes\"", false},
                                          {"IDD_ABOUT|IDC_STATIC#2", "Read\tme", "Lies\tmich\\", false},
                                          {"STRINGTABLE|IDS_COUNT", "%d files", "%d Dateien", false}});
  std::string expected = kScript;
  auto replace = [&](std::string_view from, std::string_view to) { expected.replace(expected.find(from), from.size(), to); };
  replace("\"About Notes\"", "\"\xDC""ber \"\"Notes\"\"\"");
  replace("\"Read\\tme\"", "\"Lies\\tmich\\\\\"");
  replace("\"%d files\"", "\"%d Dateien\"");
  EXPECT_EQ(result.Bytes(), expected);
}

// PO and XLIFF carry the same units there and back: context, text and translation.
TEST(ExchangeTest, WrittenUnitsReadBackTheSame) {
  Loaded loaded = LoadText(kScript);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  std::vector<std::string> targets;
  for (const TranslationUnit& unit : units) targets.push_back(unit.kind == UnitKind::String ? "" : "\x01[" + unit.text + "\r]");
  targets[0] = " ";  // white space alone
  targets[1] = "\r\n \x02\n";
  TempScript po("");
  ASSERT_EQ(WritePoFile(units, targets, {false, "t.rc", "en", "de"}, po.Path()), std::vector<std::string>{});
  std::vector<std::string> errors;
  const std::vector<CatalogEntry> fromPo = ReadPoFile(po.Path(), errors);
  ASSERT_EQ(errors, std::vector<std::string>{});
  const std::vector<CatalogEntry> fromXliff = ReadXliff(WriteXliff(units, targets, {"t.rc", "en", "de"}, errors), "t.xlf", errors);
  ASSERT_EQ(errors, std::vector<std::string>{});
  for (const auto* read : {&fromPo, &fromXliff}) {
    ASSERT_EQ(read->size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
      EXPECT_EQ((*read)[i].context, units[i].context);
      EXPECT_EQ((*read)[i].source, units[i].text);
      EXPECT_EQ((*read)[i].target, targets[i]);
    }
  }
}

}  // namespace
}  // namespace tamrel
