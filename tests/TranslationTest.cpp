// The translation layer without the host program: the in-place merge and the exchange formats.
// Literals, printf conversions, counting and pseudo text are rows of tests/data/tables.json.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "translation/PoCatalog.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

namespace tamrel {
namespace {

// Every kind of unit; the units extracted from it are a row of tests/data/commands.txt.
const std::string kScript = ReadBytes(std::filesystem::path(TAMREL_TEST_DATA) / "translation" / "units.rc");

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
