// The translation round trip over the corpus: extracting to a catalog and merging it back
// changes no byte, in every encoding a script can come in, and every unit's text survives
// being written as a literal again.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "translation/LanguageSection.h"
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

// The script's lines as UTF-8, each line of an 8-bit script converted from the code page in
// force there; empty when a line does not convert.
std::vector<std::string> Utf8Lines(const std::string& bytes, const clsRC& rc) {
  TextEncoding encoding;
  std::vector<std::string> lines = SplitKeepingEnds(DecodeScript(bytes, encoding));
  if (encoding != TextEncoding::Bytes) return lines;
  CodePageMap map(rc.Lines, kNoCodePage, false);
  CodePageConverter converter;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string text;
    if (converter.ToUtf8(lines[i], map.At(static_cast<int>(i + 1)), text)) return {};
    lines[i] = std::move(text);
  }
  return lines;
}

bool IsLanguageOrPragma(std::string_view line) {
  return line.starts_with("LANGUAGE ") || line.starts_with("#pragma code_page(");
}

// Merged into a language, the script loads again with its translated section in that language,
// every translated unit reads back as its translation, and the only lines whose text changed are
// unit lines and the lines that name the language or code page (some of them new).
void CheckLanguageMerge(const clsRC& rc, const std::string& bytes, const std::vector<TranslationUnit>& units,
                        std::vector<CatalogEntry> entries, const char* tag, const char* prefix, int& merged) {
  SCOPED_TRACE(tag);
  std::map<std::string, std::string> expected;
  for (CatalogEntry& entry : entries) {
    entry.target = prefix + entry.source;
    expected.emplace(entry.context, entry.target);
  }
  MergeOptions options;
  options.language = *LanguageTable::Default().FindTag(tag);
  const MergeResult result = ApplyTranslations(rc, bytes, units, entries, options);
  if (!result.Ok()) {  // only a text the target's code page cannot hold stops it
    for (const std::string& error : result.errors)
      EXPECT_NE(error.find("cannot be written in code page"), std::string::npos) << error;
    return;
  }
  ++merged;
  const std::string out = result.Bytes();
  Loaded again = LoadText(out);
  ASSERT_TRUE(again.result);
  const std::vector<std::string> after = Utf8Lines(out, *again.rc);
  EXPECT_EQ(FindTranslatedSection(*again.rc, after).sourceLanguage, options.language->id);
  for (const TranslationUnit& unit : ExtractUnits(*again.rc))
    if (unit.problem.empty() && !unit.text.empty() && expected.contains(unit.context)) {
      EXPECT_EQ(unit.text, expected[unit.context]) << unit.context;
    }
  TextEncoding encoding;
  const std::vector<std::string> original = SplitKeepingEnds(DecodeScript(bytes, encoding));
  const SectionPlaces places = FindTranslatedSection(rc, original);
  std::set<int> allowed;
  for (const TranslationUnit& unit : units) allowed.insert(unit.line);
  for (const auto* lines : {&places.languageLines, &places.pragmaLines, &places.versionKeyLines, &places.translationLines})
    allowed.insert(lines->begin(), lines->end());
  const std::vector<std::string> before = Utf8Lines(bytes, rc);
  ASSERT_GE(after.size(), before.size());
  std::size_t added = after.size() - before.size();
  for (std::size_t i = 0, j = 0; i < before.size(); ++j) {
    ASSERT_LT(j, after.size());
    if (before[i] == after[j]) {
      ++i;
    } else if (added > 0 && IsLanguageOrPragma(after[j])) {
      --added;
    } else {
      EXPECT_TRUE(allowed.contains(static_cast<int>(i + 1))) << "line " << i + 1 << ": " << after[j];
      ++i;
    }
  }
}

TEST(TranslationCorpusTest, ExtractThenMergeIsByteIdentical) {
  int scripts = 0;
  int forms = 0;
  int languageMerges = 0;
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
      CheckLanguageMerge(*loaded.rc, bytes, units, entries, "de-DE", "\xc3\x9c ", languageMerges);
      CheckLanguageMerge(*loaded.rc, bytes, units, entries, "ja-JP", "\xe6\x97\xa5 ", languageMerges);
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
  EXPECT_GT(languageMerges, 6 * scripts);
}

}  // namespace
}  // namespace tamrel
