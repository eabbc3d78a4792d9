// tamrel-rc extract, merge and pseudo: catalogs that gettext accepts, XLIFF documents of the
// documented structure, the pseudo round trip over the corpus compared through dump --json,
// translated samples that load again. Messages and exit statuses (errors write nothing, warnings,
// --stats, standard input) are rows of tests/data/commands.txt.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <set>
#include <sstream>

#include "ToolSupport.h"
#include "common/Utf8Text.h"
#include "translation/LanguageTable.h"
#include "translation/PoCatalog.h"
#include "translation/PseudoTranslator.h"
#include "translation/RcEscapes.h"
#include "translation/UnitExtractor.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;

// A scratch directory of the test, removed with it.
class Scratch {
 public:
  Scratch() : path_(fs::temp_directory_path() / ("tamrel_l10n_" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ~Scratch() { fs::remove_all(path_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string Quote(const std::string& path) { return "'" + path + "'"; }

bool HaveMsgfmt() { return Shell("command -v msgfmt >/dev/null").status == 0; }

// Walks two dumps side by side: every difference must be a unit text whose new form is the
// one `changed` expects (both as UTF-8, the way the dump shows text); Path may differ.
void CompareDumps(const nlohmann::json& a, const nlohmann::json& b, const std::map<std::string, std::set<std::string>>& changed,
                  const std::string& where, int& differences) {
  ASSERT_EQ(a.type(), b.type()) << where;
  if (a.is_object()) {
    ASSERT_EQ(a.size(), b.size()) << where;
    for (auto it = a.begin(); it != a.end(); ++it) {
      if (it.key() == "Path" || it.key() == "Lines") continue;  // lines are compared on their own
      ASSERT_TRUE(b.contains(it.key())) << where << "." << it.key();
      CompareDumps(*it, b[it.key()], changed, where + "." + it.key(), differences);
    }
  } else if (a.is_array()) {
    ASSERT_EQ(a.size(), b.size()) << where;
    for (std::size_t i = 0; i < a.size(); ++i) CompareDumps(a[i], b[i], changed, where + "[" + std::to_string(i) + "]", differences);
  } else if (a != b) {
    ASSERT_TRUE(a.is_string()) << where;
    auto found = changed.find(a.get<std::string>());
    ASSERT_TRUE(found != changed.end()) << where << ": " << a << " became " << b;
    EXPECT_TRUE(found->second.contains(b.get<std::string>())) << where << ": " << a << " became " << b;
    ++differences;
  }
}

TEST(ToolTranslationTest, PseudoRoundTripOverTheCorpus) {
  Scratch scratch;
  int scripts = 0;
  for (const fs::path& path : CorpusScripts()) {
    const std::string bytes = ReadBytes(path);
    Loaded loaded = LoadText(bytes, nullptr, Layout::Relaxed);  // as the tool reads it
    if (!loaded.result) continue;
    SCOPED_TRACE(path.filename().string());
    ++scripts;
    // What each unit's model text should become, and the lines that should change.
    const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
    PseudoTranslator pseudo(40);
    CodePageConverter converter;
    std::map<std::string, std::set<std::string>> changed;
    std::set<int> unitLines;
    for (const TranslationUnit& unit : units) {
      if (!unit.problem.empty() || unit.text.empty()) continue;
      std::string literal;
      ASSERT_FALSE(EncodeLiteral(pseudo.Translate(unit), unit.wide, unit.codePage, converter, literal));
      if (unit.terminated) literal.insert(literal.size() - 1, "\\0");  // a version string keeps its "\0"
      const std::string& line = loaded.rc->Lines.Item(unit.line);
      std::string before, after;
      ASSERT_FALSE(converter.ToUtf8(AsTokenized(line.substr(unit.offset, unit.length)), unit.codePage, before));
      ASSERT_FALSE(converter.ToUtf8(AsTokenized(literal), unit.codePage, after));
      changed[before].insert(after);
      unitLines.insert(unit.line);
    }
    const std::string out = scratch / "pseudo.rc";
    ToolRun run = Tool("pseudo -q " + Quote(path.string()) + " -o " + Quote(out));
    ASSERT_EQ(run.status, 0) << run.err;
    ToolRun before = Tool("dump --json -q " + Quote(path.string()));
    ToolRun after = Tool("dump --json -q " + Quote(out));
    ASSERT_EQ(after.status, 0) << after.err;
    int differences = 0;
    CompareDumps(nlohmann::json::parse(before.out), nlohmann::json::parse(after.out), changed, "", differences);
    EXPECT_EQ(differences > 0, !unitLines.empty());
    // The lines that changed are exactly the lines that hold units.
    TextEncoding encoding;
    const std::vector<std::string> original = SplitKeepingEnds(DecodeScript(bytes, encoding));
    const std::vector<std::string> result = SplitKeepingEnds(DecodeScript(ReadBytes(out), encoding));
    ASSERT_EQ(original.size(), result.size());
    std::set<int> changedLines;
    for (std::size_t i = 0; i < original.size(); ++i)
      if (original[i] != result[i]) changedLines.insert(static_cast<int>(i + 1));
    EXPECT_EQ(changedLines, unitLines);
  }
  EXPECT_GT(scripts, 50);
}

TEST(ToolTranslationTest, CatalogsPassMsgfmtAndXliffHasItsStructure) {
  Scratch scratch;
  const bool msgfmt = HaveMsgfmt();
  int scripts = 0;
  for (const fs::path& path : CorpusScripts()) {
    Loaded loaded = LoadText(ReadBytes(path), nullptr, Layout::Relaxed);  // as the tool reads it
    if (!loaded.result) continue;
    SCOPED_TRACE(path.filename().string());
    ++scripts;
    std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
    std::erase_if(units, [](const TranslationUnit& unit) { return !unit.problem.empty(); });
    for (const std::string format : {"po", "pot"}) {
      const std::string catalog = scratch / ("units." + format);
      ToolRun run = Tool("extract -q " + Quote(path.string()) + " --format " + format + " --target-lang de -o " + Quote(catalog));
      ASSERT_EQ(run.status, 0) << run.err;
      if (!msgfmt) continue;
      ToolRun check = Shell("msgfmt -c --check-format -o /dev/null " + Quote(catalog));
      EXPECT_EQ(check.status, 0) << check.err;
    }
    ToolRun run = Tool("extract -q --format xliff --target-lang de " + Quote(path.string()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsValidUtf8(run.out));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(run.out.c_str()));
    pugi::xml_node xliff = document.child("xliff");
    EXPECT_STREQ(xliff.attribute("xmlns").value(), "urn:oasis:names:tc:xliff:document:2.0");
    EXPECT_STREQ(xliff.attribute("version").value(), "2.0");
    EXPECT_STREQ(xliff.attribute("srcLang").value(), "en");
    EXPECT_STREQ(xliff.attribute("trgLang").value(), "de");
    pugi::xml_node file = xliff.child("file");
    EXPECT_EQ(std::string(file.attribute("original").value()), path.filename().string());
    std::size_t count = 0;
    for (pugi::xml_node unit : file.children("unit")) {
      ASSERT_LT(count, units.size());
      EXPECT_EQ(unit.attribute("id").value(), "u" + std::to_string(count + 1));
      EXPECT_EQ(unit.attribute("name").value(), units[count].context);
      EXPECT_EQ(unit.child("notes").find_child_by_attribute("note", "category", "kind").text().as_string(),
                units[count].Description());
      EXPECT_EQ(unit.child("notes").find_child_by_attribute("note", "category", "location").text().as_string(),
                path.filename().string() + ":" + std::to_string(units[count].line));
      EXPECT_TRUE(unit.child("segment").child("source"));
      ++count;
    }
    EXPECT_EQ(count, units.size());
  }
  EXPECT_GT(scripts, 50);
}

// The samples merged in each encoding load again, every translated unit read back as its
// translation.
TEST(ToolTranslationTest, TranslatedSampleLoadsAgain) {
  Scratch scratch;
  const std::string data = std::string(TAMREL_TEST_DATA) + "/translation/";
  for (const std::string catalog : {"sample.de.po", "sample.ja.po"})
    for (const std::string encoding : {"", "utf-8", "utf-16"}) {
      if (catalog == "sample.ja.po" && encoding.empty()) continue;  // Japanese does not fit code page 1252
      SCOPED_TRACE(catalog + " " + encoding);
      const std::string out = scratch / "translated.rc";
      ToolRun merge = Tool("merge -q " + Quote(kSample) + " " + Quote(data + catalog) + " -o " + Quote(out) +
                           (encoding.empty() ? "" : " --encoding " + encoding));
      ASSERT_EQ(merge.status, 0) << merge.err;
      // Every translated unit reads back as its translation.
      Loaded loaded = LoadText(ReadBytes(out));
      ASSERT_TRUE(loaded.result);
      std::vector<std::string> errors;
      std::vector<CatalogEntry> entries = ReadPoFile(data + catalog, errors);
      std::map<std::string, std::string> expected;
      for (const CatalogEntry& entry : entries)
        if (!entry.target.empty() && !entry.fuzzy) expected[entry.context] = entry.target;
      ASSERT_FALSE(expected.empty());
      for (const TranslationUnit& unit : ExtractUnits(*loaded.rc)) {
        auto found = expected.find(unit.context);
        if (found != expected.end()) {
          EXPECT_EQ(unit.text, found->second) << unit.context;
        }
      }
    }
}

// --po-dir over 20 catalogs of the sample: each good one is written in its own language, the
// broken one fails alone with its message, the summary has a row per language and the exit
// status says that one failed.
TEST(ToolTranslationTest, PoDirWritesEachLanguageAndFailsOnlyTheBrokenOne) {
  Scratch scratch;
  const std::string data = std::string(TAMREL_TEST_DATA) + "/translation/";
  const std::vector<std::string> tags = {"de-DE", "de-AT", "de-CH", "en-GB", "en-AU", "en-CA", "fr-FR",
                                         "fr-CA", "fr-BE", "fr-CH", "it-IT", "es-ES", "es-MX", "nl-NL",
                                         "nl-BE", "pt-BR", "pt-PT", "sv-SE", "da-DK"};
  fs::create_directories(scratch / "po");
  for (const std::string& tag : tags) fs::copy_file(data + "sample.de.po", scratch / ("po/" + tag + ".po"));
  std::ofstream(scratch / "po/fi-FI.po") << "msgid \"unterminated\n";
  ToolRun run = Tool("merge -q -j 3 " + Quote(kSample) + " --po-dir " + Quote(scratch / "po") + " -o " +
                     Quote(scratch / "out/app.{lang}.rc"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("fi-FI.po: error: "), std::string::npos) << run.err;
  std::istringstream messages(run.err);
  for (std::string line; std::getline(messages, line);) EXPECT_NE(line.find("fi-FI.po: error: "), std::string::npos) << line;
  EXPECT_NE(run.out.find("fi-FI              -      -             -  failed"), std::string::npos) << run.out;
  for (const std::string& tag : tags) {
    SCOPED_TRACE(tag);
    const std::string out = scratch / ("out/app." + tag + ".rc");
    EXPECT_NE(run.out.find("written " + out), std::string::npos);
    const LanguageInfo& language = *LanguageTable::Default().FindTag(tag);
    const std::string bytes = ReadBytes(out);
    EXPECT_NE(bytes.find("LANGUAGE " + language.statement), std::string::npos);
    EXPECT_TRUE(LoadText(bytes).result);
  }
  EXPECT_FALSE(fs::exists(scratch / "out/app.fi-FI.rc"));
}

// The resources of a compiled .res file, each as "TYPE NAME LANGUAGE" ("6 1 0x0407"), read from
// the resource headers; the empty first entry is left out.
std::vector<std::string> ResourceLanguages(const std::string& res) {
  auto u16 = [&res](std::size_t at) {
    return at + 2 <= res.size() ? unsigned(static_cast<unsigned char>(res[at])) | unsigned(static_cast<unsigned char>(res[at + 1])) << 8 : 0u;
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::vector<std::string> found;
  for (std::size_t at = 0; at + 32 <= res.size();) {
    const std::size_t dataSize = u32(at), headerSize = u32(at + 4);
    std::size_t field = at + 8;
    std::string names;
    for (int part = 0; part < 2; ++part) {  // the type, then the name: an ordinal or a string
      if (u16(field) == 0xFFFF) {
        names += std::to_string(u16(field + 2)) + " ";
        field += 4;
      } else {
        for (; u16(field) != 0; field += 2) names += static_cast<char>(u16(field));
        names += " ";
        field += 2;
      }
    }
    field = (field + 3) & ~std::size_t(3);
    char language[8];
    std::snprintf(language, sizeof language, "0x%04X", u16(field + 6));
    if (dataSize != 0) found.push_back(names + language);
    at += (headerSize + dataSize + 3) & ~std::size_t(3);
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A two-language script merged into a language compiles with llvm-rc (with mingw-w64's
// headers), and its .res files the translated section's resources, the one with a LANGUAGE
// statement of its own among them, under the target's language ID; the German section's stay.
TEST(ToolTranslationTest, MergedIntoALanguageCompilesWithItsLanguageId) {
  const std::string headers = "/usr/share/mingw-w64/include";
  if (Shell("command -v llvm-rc >/dev/null").status != 0 || !fs::exists(headers + "/winres.h"))
    GTEST_SKIP() << "needs llvm-rc (Debian: llvm) and mingw-w64's headers";
  Scratch scratch;
  const std::string data = std::string(TAMREL_TEST_DATA) + "/translation/";
  struct Row {
    std::string catalog, language, options, codePage, id;
  };
  for (const Row& row : {Row{"", "", "", "1252", "0x0409"}, Row{"sections.de.po", "de-CH", "", "1252", "0x0807"},
                         Row{"sections.ja.po", "ja-JP", "--encoding utf-8", "65001", "0x0411"}}) {
    SCOPED_TRACE(row.language);
    std::string script = data + "sections.rc";
    if (!row.catalog.empty()) {
      script = scratch / "merged.rc";
      ToolRun merge = Tool("merge -q " + Quote(data + "sections.rc") + " " + Quote(data + row.catalog) +
                           " --language " + row.language + " " + row.options + " -o " + Quote(script));
      ASSERT_EQ(merge.status, 0) << merge.err;
    }
    // "--" ends the options: llvm-rc reads a word that starts with "/" as an option, so a script
    // under /check/... would be taken for "/c heck/...".
    ToolRun compile = Shell("llvm-rc -I " + headers + " -C " + row.codePage + " -fo " + Quote(scratch / "out.res") +
                            " -- " + Quote(script));
    ASSERT_EQ(compile.status, 0) << compile.err << compile.out;
    EXPECT_EQ(ResourceLanguages(ReadBytes(scratch / "out.res")),
              (std::vector<std::string>{"16 1 " + row.id, "5 IDD_A " + row.id, "6 1 0x0407", "6 1 " + row.id}));
  }
}

}  // namespace
}  // namespace tamrel
