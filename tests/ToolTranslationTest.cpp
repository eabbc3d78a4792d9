// tamrel-rc extract, merge and pseudo: catalogs that gettext accepts, XLIFF documents of the
// documented structure, the pseudo round trip over the corpus compared through dump --json,
// translated samples that load again. Messages and exit statuses (errors write nothing, warnings,
// --stats, standard input) are rows of tests/data/commands.txt.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <set>

#include "ToolSupport.h"
#include "common/Utf8Text.h"
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

}  // namespace
}  // namespace tamrel
