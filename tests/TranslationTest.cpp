// The translation layer without the host program: literals and escapes, printf conversions,
// units and their contexts, counting, the in-place merge and the exchange formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "translation/PoCatalog.h"
#include "translation/PseudoTranslator.h"
#include "translation/RcEscapes.h"
#include "translation/TranslationMerger.h"
#include "translation/TranslationStats.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

namespace tamrel {
namespace {

struct LiteralCase {
  std::string literal;
  int codePage;
  std::string text;       // decoded; "" with `problem` set when it cannot be decoded
  std::string canonical;  // the literal EncodeLiteral writes for the text
  bool problem = false;
};

TEST(RcEscapesTest, DecodesAndEncodesLiterals) {
  const LiteralCase cases[] = {
      {R"("Hello")", 1252, "Hello", R"("Hello")"},
      {R"("Say ""hi""")", 1252, "Say \"hi\"", R"("Say ""hi""")"},
      {R"("Say \"hi\"")", 1252, "Say \"hi\"", R"("Say ""hi""")"},
      {R"("a\tb\nc\r")", 1252, "a\tb\nc\r", R"("a\tb\nc\r")"},
      {R"("C:\\dir\\")", 1252, "C:\\dir\\", R"("C:\\dir\\")"},
      {R"("\x41\101\7")", 1252, "AA\x07", R"("AA\007")"},
      {R"("Help\aF1")", 1252, "Help\bF1", R"("Help\aF1")"},
      {R"("\q stays")", 1252, "\\q stays", R"("\\q stays")"},
      {"\"caf\xE9\"", 1252, "caf\xC3\xA9", "\"caf\xE9\""},
      {R"("caf\xe9")", 1252, "caf\xC3\xA9", "\"caf\xE9\""},
      {R"(L"\x20AC")", 437, "\xE2\x82\xAC", R"(L"\x20AC")"},
      {"\"\x95\x5C\"", 932, "\xE8\xA1\xA8", "\"\x95\x5C\""},  // the trail byte is no backslash
      {"\"caf\xC3\xA9\"", 65001, "caf\xC3\xA9", "\"caf\xC3\xA9\""},
      {R"("end\0")", 1252, "", "", true},
      {"\"\x81\"", 1252, "", "", true},  // not a character of code page 1252
      {"\"\xE9\"", kNoCodePage, "", "", true},
  };
  for (const LiteralCase& c : cases) {
    SCOPED_TRACE(c.literal);
    CodePageConverter converter;
    std::string text;
    auto problem = DecodeLiteral(c.literal, c.codePage, converter, text);
    ASSERT_EQ(problem.has_value(), c.problem) << (problem ? problem->description : "");
    if (c.problem) continue;
    EXPECT_EQ(text, c.text);
    std::string literal;
    ASSERT_FALSE(EncodeLiteral(text, c.literal.front() == 'L', c.codePage, converter, literal));
    EXPECT_EQ(literal, c.canonical);
    std::string again;
    ASSERT_FALSE(DecodeLiteral(literal, c.codePage, converter, again));
    EXPECT_EQ(again, c.text);
  }
}

TEST(RcEscapesTest, NarrowLiteralRefusesWhatItsCodePageCannotHold) {
  CodePageConverter converter;
  std::string literal;
  auto error = EncodeLiteral("5 \xE2\x82\xAC", false, 437, converter, literal);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, ConversionError::Kind::Unrepresentable);
  EXPECT_EQ(error->value, 0x20ACu);
  EXPECT_EQ(literal, "");
}

TEST(RcEscapesTest, FindsLiteralsOfALine) {
  struct Case {
    std::string line;
    std::vector<std::string> literals;
  };
  const Case cases[] = {
      {R"(    LTEXT "a,b", IDC_X, 1, 2 // "not this")", {R"("a,b")"}},
      {R"(    CONTROL "", IDC_C, "Button", 3, 4)", {R"("")", R"("Button")"}},
      {R"(    IDS_W L"wide ""q""")", {R"(L"wide ""q""")"}},
      {R"(    CAPTION "never closed)", {}},
      {R"(    CAPTION "a\"b" "c")", {R"("a\"b")", R"("c")"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> found;
    for (const LiteralSpan& span : FindLiterals(c.line, 1252)) found.push_back(c.line.substr(span.offset, span.length));
    EXPECT_EQ(found, c.literals);
  }
}

TEST(RcEscapesTest, TokenizedFormMatchesTheModelsTokens) {
  EXPECT_EQ(AsTokenized("\"a\tb ; c , d | e\""), "\"a b ; c , d | e\"");
}

TEST(PrintfTest, FindsConversions) {
  struct Case {
    std::string text;
    std::vector<std::string> conversions;
    bool clean;
  };
  const Case cases[] = {
      {"%d of %s", {"%d", "%s"}, true},
      {"100%%", {}, true},
      {"%1$s and %-5.2f", {"%1$s", "%-5.2f"}, true},
      {"%I64d bytes, %ls", {"%I64d", "%ls"}, true},
      {"100%", {}, false},
      {"no conversion", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    bool clean = false;
    EXPECT_EQ(PrintfPlaceholders(c.text, &clean), c.conversions);
    EXPECT_EQ(clean, c.clean);
  }
}

TEST(TranslationStatsTest, CountsTheWayTranslatorsDo) {
  struct Case {
    std::string text;
    std::int64_t words;
    std::int64_t characters;
  };
  const Case cases[] = {
      {"&Open File", 2, 9},
      {"Save &As...", 2, 10},
      {"Fish && Chips", 2, 12},  // a lone "&" is no word
      {"line one\nline two", 4, 17},
      {"%d files - done", 2, 13},
      {"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB(&F)", 5, 7},  // ファイル(&F): four kana and "(F)"
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TextCount count = TranslationStats::Count(c.text);
    EXPECT_EQ(count.words, c.words);
    EXPECT_EQ(count.characters, c.characters);
  }
}

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

// The merged script as text, or the errors joined.
std::string Merge(const std::string& script, const std::map<std::string, std::string>& translations,
                  MergeOptions options = {}) {
  Loaded loaded = LoadText(script);
  EXPECT_TRUE(loaded.result);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  std::vector<CatalogEntry> entries;
  for (const TranslationUnit& unit : units) {
    auto found = translations.find(unit.context);
    if (found != translations.end()) entries.push_back({unit.context, unit.text, found->second, false});
  }
  MergeResult result = ApplyTranslations(*loaded.rc, script, units, entries, options);
  if (!result.Ok()) {
    EXPECT_TRUE(result.lines.empty());
    std::string errors;
    for (const std::string& error : result.errors) errors += "error: " + error + "\n";
    return errors;
  }
  return result.Bytes();
}

TEST(MergeTest, ReplacesOnlyTheLiterals) {
  std::string expected = kScript;
  auto replace = [&](std::string_view from, std::string_view to) { expected.replace(expected.find(from), from.size(), to); };
  replace("\"About Notes\"", "\"\xDC""ber \"\"Notes\"\"\"");
  replace("\"Read\\tme\"", "\"Lies\\tmich\\\\\"");
  replace("\"%d files\"", "\"%d Dateien\"");
  EXPECT_EQ(Merge(kScript, {{"IDD_ABOUT|CAPTION", "\xC3\x9C""ber \"Notes\""},
                            {"IDD_ABOUT|IDC_STATIC#2", "Lies\tmich\\"},
                            {"STRINGTABLE|IDS_COUNT", "%d Dateien"}}),
            expected);
}

// The refusals themselves, with their messages, are in ToolTranslationTest.MergeErrorsWriteNothing.
TEST(MergeTest, ForceMergesDifferingPrintfConversions) {
  MergeOptions force;
  force.force = true;
  const std::string out = Merge(kScript, {{"STRINGTABLE|IDS_COUNT", "%s Dateien"}}, force);
  EXPECT_NE(out.find("    IDS_COUNT               \"%s Dateien\""), std::string::npos) << out;
}

TEST(MergeTest, Utf8OutputConvertsEveryLineAndItsPragma) {
  MergeOptions utf8;
  utf8.encoding = MergeEncoding::Utf8;
  const std::string out = Merge(kScript, {{"IDD_ABOUT|IDOK", "\xE6\xB1\xBA\xE5\xAE\x9A"}}, utf8);
  EXPECT_TRUE(out.starts_with("#pragma code_page(65001)\r\n"));
  EXPECT_NE(out.find("\"Notes 1.0; \xC2\xA9 2024\""), std::string::npos);  // converted from 1252
  EXPECT_NE(out.find("\"\xE6\xB1\xBA\xE5\xAE\x9A\",IDOK"), std::string::npos);
}

TEST(MergeTest, Utf8OutputAddsAPragmaWhenTheScriptHasNone) {
  const std::string script = Crlf({"// no pragma", "STRINGTABLE DISCARDABLE", "BEGIN", "    IDS_HI \"Hi\"", "END"});
  MergeOptions utf8;
  utf8.encoding = MergeEncoding::Utf8;
  EXPECT_EQ(Merge(script, {{"STRINGTABLE|IDS_HI", "Gr\xC3\xBC\xC3\x9F""e"}}, utf8),
            "#pragma code_page(65001)\r\n" +
                Crlf({"// no pragma", "STRINGTABLE DISCARDABLE", "BEGIN", "    IDS_HI \"Gr\xC3\xBC\xC3\x9F""e\"", "END"}));
  // Without a code page the line cannot hold the text in the script's own encoding.
  EXPECT_NE(Merge(script, {{"STRINGTABLE|IDS_HI", "Gr\xC3\xBC\xC3\x9F""e"}}).find("error: STRINGTABLE|IDS_HI (line 4)"),
            std::string::npos);
}

TEST(MergeTest, LiteralTheModelReadDifferentlyIsAnErrorOnlyWhenTranslated) {
  const std::string script = Crlf({"STRINGTABLE DISCARDABLE", "BEGIN", "    IDS_Q \"a\\\" b\"", "    IDS_OK \"fine\"", "END"});
  Loaded loaded = LoadText(script);
  ASSERT_TRUE(loaded.result);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_NE(units[0].problem, "");
  EXPECT_EQ(Merge(script, {{"STRINGTABLE|IDS_OK", "gut"}}), Crlf({"STRINGTABLE DISCARDABLE", "BEGIN", "    IDS_Q \"a\\\" b\"", "    IDS_OK \"gut\"", "END"}));
  MergeResult result = ApplyTranslations(*loaded.rc, script, units, {{"STRINGTABLE|IDS_Q", units[0].text, "x", false}});
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_NE(result.errors[0].find("STRINGTABLE|IDS_Q (line 3): cannot be translated in place"), std::string::npos);
}

TEST(MergeTest, UnknownStaleAndFuzzyEntries) {
  Loaded loaded = LoadText(kScript);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  const std::vector<CatalogEntry> entries = {
      {"IDD_GONE|CAPTION", "Gone", "Weg", false},
      {"IDD_ABOUT|IDOK", "Okay", "Gut", false},           // another source text
      {"STRINGTABLE|IDS_LONG", "on the next line", "auf der nächsten Zeile", true},
  };
  MergeResult result = ApplyTranslations(*loaded.rc, kScript, units, entries);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.warnings.size(), 2u);
  EXPECT_EQ(result.Bytes(), kScript);
  MergeOptions fuzzy;
  fuzzy.useFuzzy = true;
  result = ApplyTranslations(*loaded.rc, kScript, units, entries, fuzzy);
  EXPECT_NE(result.Bytes().find("auf der n\xE4""chsten Zeile"), std::string::npos);
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

// Malformed PO files and documents that are no XML are in ToolTranslationTest.MergeErrorsWriteNothing.
TEST(ExchangeTest, XmlThatIsNoXliffIsRefused) {
  std::vector<std::string> errors;
  EXPECT_TRUE(ReadXliff("<html/>", "page.xlf", errors).empty());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with("page.xlf: not an XLIFF 2.0 document")) << errors[0];
}

TEST(PseudoTest, MarksLengthensAndKeepsWhatMustStay) {
  PseudoTranslator pseudo(50);
  TranslationUnit unit;
  unit.codePage = 1252;
  unit.kind = UnitKind::MenuItem;
  unit.text = "&Open %d\tCtrl+O";
  EXPECT_EQ(pseudo.Translate(unit), "[&O\xC3\xBE\xC3\xA9\xC3\xB1 %d\tCtrl+O~~~~~~~~]");
  unit.text = "";
  EXPECT_EQ(pseudo.Translate(unit), "");
  unit.text = "ab";
  unit.codePage = kNoCodePage;  // ASCII only: the letters stay
  EXPECT_EQ(pseudo.Translate(unit), "[ab~]");
}

}  // namespace
}  // namespace tamrel
