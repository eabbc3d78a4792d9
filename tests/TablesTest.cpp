// Functions of a text or a few tokens, each against its table in tests/data/tables.json: every
// row is the arguments and then the expected result. Adding a case adds a row.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "common/CodePage.h"
#include "common/Numbers.h"
#include "common/Utf8Text.h"
#include "common/Variant.h"
#include "common/modCommonTools.h"
#include "layout/DialogLayout.h"
#include "layout/FontMap.h"
#include "layout/TextMeasurer.h"
#include "styles/clsStyle.h"
#include "translation/LanguageSection.h"
#include "translation/PseudoTranslator.h"
#include "translation/RcEscapes.h"
#include "translation/TranslationStats.h"

namespace tamrel {
namespace {

using nlohmann::json;

Tokens MakeTokens(const json& texts) {
  Tokens tokens;
  for (const json& text : texts) tokens.Add(text.get<std::string>());
  return tokens;
}

// Script bytes in a table: each code point below 256 stands for the byte of that value.
std::string Bytes(const json& text) {
  std::string utf8 = text.get<std::string>(), bytes;
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    const auto c = static_cast<unsigned char>(utf8[at]);
    bytes += c < 0x80 ? char(c) : char(((c & 0x03) << 6) | (utf8[++at] & 0x3F));
  }
  return bytes;
}
std::string Unbytes(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) AppendUtf8(static_cast<unsigned char>(c), text);
  return text;
}

json ErrorOr(auto&& call) {
  try {
    return call();
  } catch (const RCError& e) {
    return "error " + std::to_string(e.Number());
  }
}

// The control kind and alignment of the only control of a dialog.
json KindOf(const std::string& statement) {
  static const char* const kKinds[] = {"PushButton", "DefPushButton", "CheckBox", "RadioButton", "GroupBox", "Static",
                                       "Edit",       "ListBox",       "ComboBox", "Icon",        "ScrollBar", "Other"};
  static const char* const kAligns[] = {"Left", "Center", "Right"};
  Loaded loaded = LoadText(Crlf({"IDD_T DIALOG 0, 0, 200, 100", "STYLE WS_POPUP", "FONT 8, \"MS Shell Dlg\"", "BEGIN",
                                 statement, "END"}));
  if (!loaded.result || loaded.rc->Dialogs.Item(1).Controls.Count() != 1) return "not one control";
  TextMeasurer measurer;
  DialogLayout layout = DialogLayouter(FontMap::Default(), measurer).Layout(*loaded.rc, loaded.rc->Dialogs.Item(1));
  return {kKinds[static_cast<int>(layout.controls[0].kind)], kAligns[static_cast<int>(layout.controls[0].align)]};
}

// The font table of a row: null for the default one.
FontMap FontsOf(const json& table) { return table.is_null() ? FontMap::Default() : FontMap::Parse(table.dump(), "t.json"); }

const std::map<std::string, std::function<json(const json&)>> kFunctions = {
    {"TrimWhite", [](const json& a) { return clsRC::TrimWhite(a[0].get<std::string>()); }},
    {"ParseLine",
     [](const json& a) { return ToVector(clsRC().ParseLine(a[0].get<std::string>(), a[1].get<std::string>()[0])); }},
    {"SplitWords", [](const json& a) { return ToVector(SplitWords(a[0].get<std::string>())); }},
    {"IsWord", [](const json& a) { return IsWord(a[0].get<std::string>()); }},
    {"ReadsAsNumber", [](const json& a) { return ReadsAsNumber(a[0].get<std::string>()); }},
    {"LeadingNumber", [](const json& a) { return LeadingNumber(a[0].get<std::string>()); }},
    // The operation as a Variant: null for the missing argument, a number or a text.
    {"ToOperationCode",
     [](const json& a) {
       const Variant operation = a[0].is_null()             ? Variant()
                                 : a[0].is_number_integer() ? Variant(a[0].get<int>())
                                 : a[0].is_number()         ? Variant(a[0].get<double>())
                                                            : Variant(a[0].get<std::string>());
       return ErrorOr([&] { return json(int(ToOperationCode(operation))); });
     }},
    {"ToInt16",
     [](const json& a) { return ErrorOr([&] { return json(int(ToInt16(std::string_view(a[0].get<std::string>())))); }); }},
    {"DialogNumber",
     [](const json& a) {
       clsDialog dialog;
       dialog.ID = a[0].get<std::string>();
       return dialog.DialogNumber().IsText() ? json(dialog.DialogNumber().TextValue()) : json("not text");
     }},
    {"StripMnemonic",
     [](const json& a) {
       char32_t mnemonic = 1;
       std::string shown = StripMnemonic(a[0].get<std::string>(), mnemonic), key;
       if (mnemonic != 0) AppendUtf8(mnemonic, key);
       return json{shown, key};
     }},
    {"CodePagePragma",
     [](const json& a) -> json {
       std::optional<int> page = ParseCodePagePragma(a[0].get<std::string>());
       if (!page) return nullptr;
       return *page == kDefaultPragma ? json("default") : *page == kUnreadableCodePage ? json("unreadable") : json(*page);
     }},
    {"FindKeyWord",
     [](const json& a) {
       clsRC rc;
       return int(DocumentTestPeer::FindKeyWord(rc, MakeTokens(a[0])));
     }},
    {"ControlKind", [](const json& a) { return KindOf(a[0].get<std::string>()); }},
    // The flags a style holds after the tokens are added, and the error that stopped them (0: none).
    {"AddStyles",
     [](const json& a) {
       clsStyle style;
       int error = 0;
       try {
         style.AddStyles(MakeTokens(a[0]));
       } catch (const RCError& e) {
         error = e.Number();
       }
       return json{ToVector(style.Items), error};
     }},
    // The STYLE line of flags set directly, as a host may.
    {"StyleLines",
     [](const json& a) {
       clsStyle style;
       for (const json& item : a[0]) style.Items.Add(item.get<std::string>(), item.get<std::string>());
       return ToVector(style.PrintLines());
     }},
    // The family a face at a size in points is drawn in, for a text when one is given.
    {"FontFamily",
     [](const json& a) {
       const FontMap fonts = FontsOf(a[0]);
       const double px = a[2].get<double>() * 96 / 72;
       const MappedFont font = a[3] == "" ? fonts.Map(a[1].get<std::string>(), px)
                                          : fonts.MapForText(a[1].get<std::string>(), a[3].get<std::string>(), px);
       return font.family + (font.fallback ? " (fallback)" : "");
     }},
    // Dialog base units (average width, height in pixels at 96 DPI) of a face at a size in points.
    {"BaseUnits",
     [](const json& a) {
       const double px = a[2].get<double>() * 96 / 72;
       const MappedFont font = FontsOf(a[0]).Map(a[1].get<std::string>(), px);
       const FontMetrics metrics = TextMeasurer().Metrics(font, px);
       return json{font.family, metrics.averageWidthPx, metrics.heightPx};
     }},
    // A literal's text (UTF-8), the literal EncodeLiteral writes for that text, which must decode
    // to the same text; or the problem.
    {"DecodeLiteral",
     [](const json& a) -> json {
       CodePageConverter converter;
       const std::string literal = Bytes(a[0]);
       std::string text, canonical, again;
       if (DecodeLiteral(literal, a[1].get<int>(), converter, text)) return "problem";
       if (EncodeLiteral(text, literal.front() == 'L', a[1].get<int>(), converter, canonical)) return "cannot encode";
       if (DecodeLiteral(canonical, a[1].get<int>(), converter, again) || again != text) return "reads back otherwise";
       return {text, Unbytes(canonical)};
     }},
    // A narrow literal of the text in a code page, or the character it cannot hold.
    {"EncodeLiteral",
     [](const json& a) -> json {
       CodePageConverter converter;
       std::string literal;
       auto error = EncodeLiteral(a[0].get<std::string>(), false, a[1].get<int>(), converter, literal);
       if (!error) return Unbytes(literal);
       return {error->kind == ConversionError::Kind::Unrepresentable ? "unrepresentable" : "other", error->value, literal};
     }},
    {"FindLiterals",
     [](const json& a) {
       const std::string line = a[0].get<std::string>();
       std::vector<std::string> found;
       for (const LiteralSpan& span : FindLiterals(line, 1252)) found.push_back(line.substr(span.offset, span.length));
       return found;
     }},
    {"AsTokenized", [](const json& a) { return AsTokenized(a[0].get<std::string>()); }},
    {"PrintfPlaceholders",
     [](const json& a) {
       bool clean = false;
       const auto conversions = PrintfPlaceholders(a[0].get<std::string>(), &clean);
       return json{conversions, clean};
     }},
    // Words and characters the way translators count them.
    {"CountText",
     [](const json& a) {
       const TextCount count = TranslationStats::Count(a[0].get<std::string>());
       return json{count.words, count.characters};
     }},
    // A tag or LANGUAGE arguments: the row's tag, language ID and code page.
    {"FindLanguage",
     [](const json& a) -> json {
       const LanguageInfo* found = LanguageTable::Default().Find(a[0].get<std::string>());
       if (found == nullptr) return nullptr;
       return {found->tag, found->id, found->codePage};
     }},
    // What is wrong with the compiled-in table: tags named twice, languages with other than one
    // default row, code pages without a converter.
    {"LanguageTableProblems",
     [](const json&) {
       std::vector<std::string> problems;
       std::map<std::string, int> tags, defaults;
       for (const LanguageInfo& info : LanguageTable::Default().Languages()) {
         ++tags[info.tag];
         for (const std::string& alias : info.aliases) ++tags[alias];
         defaults[info.langName] += info.isDefault ? 1 : 0;
         if (info.codePage != 0 && IconvName(info.codePage).empty()) problems.push_back(info.tag + " code page");
         if (LanguageTable::Default().FindNames(info.langName + ", " + info.sublangName) != &info ||
             LanguageTable::Default().IdOf(info.statement) != info.id)
           problems.push_back(info.tag + " names");
       }
       for (const auto& [tag, count] : tags)
         if (count != 1) problems.push_back(tag + " twice");
       for (const auto& [lang, count] : defaults)
         if (count != 1) problems.push_back(lang + " defaults");
       return problems;
     }},
    // A line of the translated section rewritten for a target: its kind, the line, the target's
    // tag, the code page written and the language ID whose version entries change (null: all).
    {"RewriteForLanguage",
     [](const json& a) {
       const LanguageInfo& target = *LanguageTable::Default().FindTag(a[2].get<std::string>());
       const std::string kind = a[0].get<std::string>(), line = a[1].get<std::string>();
       const int codePage = a[3].get<int>();
       const std::optional<int> source = a[4].is_null() ? std::nullopt : std::optional<int>(a[4].get<int>());
       if (kind == "language") return RewriteLanguageStatement(line, target);
       if (kind == "pragma") return RewriteCodePagePragma(line, codePage);
       if (kind == "key") return RewriteVersionKey(line, target, codePage, source);
       return RewriteTranslationValue(line, target, codePage, source);
     }},
    // The translated section of a script given as lines, the section of a language ID when one
    // is given: its line ranges, LANGUAGE lines (top-level ones marked +), pragma, version key
    // and "Translation" lines, and its language.
    {"TranslatedSection",
     [](const json& a) -> json {
       const std::vector<std::string> lines = a[0].get<std::vector<std::string>>();
       const clsRC rc;
       const SectionPlaces places = FindTranslatedSection(
           rc, lines, a[1].is_null() ? std::nullopt : std::optional<int>(a[1].get<int>()));
       std::vector<std::string> languages;
       for (int line : places.languageLines)
         languages.push_back(std::to_string(line) +
                             (std::count(places.topLevelLines.begin(), places.topLevelLines.end(), line) ? "+" : ""));
       return {places.ranges, languages, places.pragmaLines, places.versionKeyLines, places.translationLines,
               places.sourceLanguage ? json(*places.sourceLanguage) : json(nullptr)};
     }},
    // A menu item's pseudo translation, 50% longer, in a code page (0: none, ASCII only).
    {"Pseudo",
     [](const json& a) {
       TranslationUnit unit;
       unit.kind = UnitKind::MenuItem;
       unit.text = a[0].get<std::string>();
       unit.codePage = a[1].get<int>();
       return PseudoTranslator(50).Translate(unit);
     }},
};

TEST(TablesTest, EveryRowGivesItsResult) {
  const json tables = json::parse(ReadBytes(std::filesystem::path(TAMREL_TEST_DATA) / "tables.json"));
  for (const auto& [name, rows] : tables.items()) {
    ASSERT_TRUE(kFunctions.contains(name)) << name;
    for (const json& row : rows) {
      json arguments = row;
      arguments.erase(arguments.size() - 1);
      EXPECT_EQ(kFunctions.at(name)(arguments), row.back()) << name << " " << row.dump();
    }
  }
}

}  // namespace
}  // namespace tamrel
