// The translation round trip over the corpus: extracting to a catalog and merging it back
// changes no byte, in every encoding a script can come in, and every unit's text survives
// being written as a literal again.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "translation/PoCatalog.h"
#include "translation/RcEscapes.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"

namespace tamrel {
namespace {

// The script in each encoding it can be written in: as it is, and (when its text converts to
// Unicode) as UTF-16 in both byte orders and as UTF-8 behind a mark.
std::vector<std::pair<std::string, std::string>> Encodings(const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> forms{{"as is", bytes}};
  Loaded loaded = LoadText(bytes);
  if (!loaded.result) return forms;
  std::string unicode;
  if (loaded.rc->SourceEncoding == TextEncoding::Bytes) {
    CodePageMap map(loaded.rc->Lines, kNoCodePage, false);
    CodePageConverter converter;
    const std::vector<std::string> lines = SplitKeepingEnds(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (converter.ToUtf8(lines[i], map.At(static_cast<int>(i + 1)), unicode)) return forms;
  } else {
    TextEncoding encoding;
    unicode = DecodeScript(bytes, encoding);
  }
  for (TextEncoding encoding : {TextEncoding::Utf16LE, TextEncoding::Utf16BE, TextEncoding::Utf8Bom})
    if (encoding != loaded.rc->SourceEncoding)
      forms.emplace_back(std::string(EncodingName(encoding)), EncodeText(unicode, encoding, true));
  return forms;
}

TEST(TranslationCorpusTest, ExtractThenMergeIsByteIdentical) {
  int scripts = 0;
  int forms = 0;
  std::size_t unitCount = 0;
  for (const std::filesystem::path& path : CorpusScripts()) {
    for (const auto& [name, bytes] : Encodings(ReadBytes(path))) {
      SCOPED_TRACE(path.filename().string() + " " + name);
      Loaded loaded = LoadText(bytes);
      if (!loaded.result) continue;
      ++forms;
      scripts += name == "as is";
      const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
      unitCount += units.size();
      TempScript po("");
      ASSERT_EQ(WritePoFile(units, {}, {true, path.filename().string(), "en", ""}, po.Path()),
                std::vector<std::string>{});
      std::vector<std::string> errors;
      std::vector<CatalogEntry> entries = ReadPoFile(po.Path(), errors);
      ASSERT_EQ(errors, std::vector<std::string>{});
      MergeResult untranslated = ApplyTranslations(*loaded.rc, bytes, units, entries);
      ASSERT_TRUE(untranslated.Ok()) << untranslated.errors.front();
      EXPECT_TRUE(untranslated.warnings.empty());
      EXPECT_TRUE(untranslated.Bytes() == bytes);
      // Every unit "translated" to its own text: still the same bytes.
      for (CatalogEntry& entry : entries) entry.target = entry.source;
      MergeResult same = ApplyTranslations(*loaded.rc, bytes, units, entries);
      ASSERT_TRUE(same.Ok()) << same.errors.front();
      EXPECT_TRUE(same.Bytes() == bytes);
      // Each text written as a literal again reads back as the same text.
      CodePageConverter converter;
      for (const TranslationUnit& unit : units) {
        if (!unit.problem.empty()) continue;
        std::string literal, again;
        ASSERT_FALSE(EncodeLiteral(unit.text, unit.wide, unit.codePage, converter, literal)) << unit.context;
        ASSERT_FALSE(DecodeLiteral(literal, unit.codePage, converter, again)) << unit.context;
        EXPECT_EQ(again, unit.text) << unit.context;
      }
    }
  }
  EXPECT_GT(scripts, 50);
  EXPECT_GT(forms, 3 * scripts);
  EXPECT_GT(unitCount, 1000u);
}

}  // namespace
}  // namespace tamrel
