// tamrel-rc extract, merge and pseudo: catalogs that gettext accepts, XLIFF documents of the
// documented structure, the pseudo round trip over the corpus compared through dump --json,
// translated samples that load again, and errors that write nothing.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <set>

#include "ToolSupport.h"
#include "common/Utf8Text.h"
#include "translation/PoCatalog.h"
#include "translation/PseudoTranslator.h"
#include "translation/RcEscapes.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

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
    Loaded loaded = LoadText(bytes);
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
    Loaded loaded = LoadText(ReadBytes(path));
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
    std::vector<std::string> errors;
    const std::vector<CatalogEntry> entries = ReadXliff(run.out, "units.xlf", errors);
    ASSERT_TRUE(errors.empty());
    ASSERT_EQ(entries.size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
      EXPECT_EQ(entries[i].context, units[i].context);
      EXPECT_EQ(entries[i].source, units[i].text);
    }
  }
  EXPECT_GT(scripts, 50);
}

struct SampleTranslation {
  std::string catalog;   // in tests/data/translation
  std::string encoding;  // merge --encoding
  std::vector<std::string> printed;  // pieces of `print --encoding utf-8` of the result
};

TEST(ToolTranslationTest, TranslatedSampleLoadsAndPrints) {
  Scratch scratch;
  const std::string data = std::string(TAMREL_TEST_DATA) + "/translation/";
  const SampleTranslation cases[] = {
      {"sample.de.po", "", {"CAPTION \"\xC3\x9C""ber Notizen\"", "MENUITEM \"&Neu\\tStrg+N\"", "POPUP \"&Datei\""}},
      {"sample.de.po", "utf-8", {"CAPTION \"\xC3\x9C""ber Notizen\"", "POPUP \"&Datei\""}},
      {"sample.de.po", "utf-16", {"CAPTION \"\xC3\x9C""ber Notizen\"", "POPUP \"&Datei\""}},
      {"sample.ja.po", "utf-8", {"CAPTION \"\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3\xE6\x83\x85\xE5\xA0\xB1\"",
                                 "POPUP \"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB(&F)\""}},
      {"sample.ja.po", "utf-16", {"POPUP \"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB(&F)\""}},
  };
  for (const SampleTranslation& c : cases) {
    SCOPED_TRACE(c.catalog + " " + c.encoding);
    const std::string out = scratch / "translated.rc";
    ToolRun merge = Tool("merge -q " + Quote(kSample) + " " + Quote(data + c.catalog) + " -o " + Quote(out) +
                         (c.encoding.empty() ? "" : " --encoding " + c.encoding));
    ASSERT_EQ(merge.status, 0) << merge.err;
    ToolRun print = Tool("print -q --encoding utf-8 --eol lf " + Quote(out));
    ASSERT_EQ(print.status, 0) << print.err;
    for (const std::string& piece : c.printed) EXPECT_NE(print.out.find(piece), std::string::npos) << piece << "\n" << print.out;
    // Every translated unit reads back as its translation.
    Loaded loaded = LoadText(ReadBytes(out));
    ASSERT_TRUE(loaded.result);
    std::vector<std::string> errors;
    std::vector<CatalogEntry> entries = ReadPoFile(data + c.catalog, errors);
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

// The same German translation as an XLIFF document merges to the same script as the PO file.
TEST(ToolTranslationTest, MergeFromXliffEqualsMergeFromPo) {
  Scratch scratch;
  const std::string po = std::string(TAMREL_TEST_DATA) + "/translation/sample.de.po";
  Loaded loaded = LoadText(ReadBytes(kSample));
  ASSERT_TRUE(loaded.result);
  const std::vector<TranslationUnit> units = ExtractUnits(*loaded.rc);
  std::vector<std::string> errors;
  std::map<std::string, std::string> german;
  for (const CatalogEntry& entry : ReadPoFile(po, errors))
    if (!entry.fuzzy) german[entry.context] = entry.target;
  std::vector<std::string> targets;
  for (const TranslationUnit& unit : units) targets.push_back(german[unit.context]);
  const std::string xliff = scratch / "sample.de.xlf";
  std::ofstream(xliff, std::ios::binary) << WriteXliff(units, targets, {"sample.rc", "en", "de"}, errors);
  ToolRun fromPo = Tool("merge -q " + Quote(kSample) + " " + Quote(po));
  ToolRun fromXliff = Tool("merge -q " + Quote(kSample) + " " + Quote(xliff));
  ASSERT_EQ(fromPo.status, 0) << fromPo.err;
  ASSERT_EQ(fromXliff.status, 0) << fromXliff.err;
  EXPECT_TRUE(fromPo.out == fromXliff.out);
  EXPECT_NE(fromXliff.out.find("CAPTION \"\xDC""ber Notizen\""), std::string::npos);
}

// Each error names its cause, exits 1 and leaves no output file.
TEST(ToolTranslationTest, MergeErrorsWriteNothing) {
  Scratch scratch;
  const std::string script = Crlf({"#pragma code_page(1252)", "STRINGTABLE DISCARDABLE", "BEGIN",
                                   "    IDS_COUNT \"%d files\"", "    IDS_QUOTE \"a\\\" b\"",
                                   "    IDS_CAFE \"caf\xC3\xA9\"", "END"});
  auto po = [](const std::string& context, const std::string& source, const std::string& target) {
    return "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\nmsgctxt \"" + context + "\"\nmsgid \"" +
           source + "\"\nmsgstr \"" + target + "\"\n";
  };
  struct Case {
    std::string name;
    std::string translations;  // file name: .po or .xlf
    std::string content;
    std::string message;
    std::string command = "merge";
  };
  const Case cases[] = {
      {"placeholders", "t.po", po("STRINGTABLE|IDS_COUNT", "%d files", "%s Dateien"),
       "STRINGTABLE|IDS_COUNT (line 4): the translation's printf conversions (%s) differ from the source's (%d)"},
      {"unrepresentable", "t.po", po("STRINGTABLE|IDS_COUNT", "%d files", "%d \xE3\x83\x95\xE3\x82\xA1"),
       "character U+30D5 cannot be written in code page 1252; write the script with --encoding utf-8 or utf-16"},
      {"literal not found", "t.po", po("STRINGTABLE|IDS_QUOTE", "a\\\\", "b"),
       "STRINGTABLE|IDS_QUOTE (line 5): cannot be translated in place: its literal \"a\\\" is not in line 5 as written"},
      {"malformed PO", "t.po", "msgid \"a\"\nmsgstr \"b\nmsgid\n", "t.po:3: end-of-line within string"},
      {"not XML", "t.xlf", "msgid \"a\"\n", "t.xlf: not an XML document"},
      {"another extractor's catalog", "t.po", po("IDD_OTHER|IDC_COUNT", "%d files", "%d Dateien"),
       "(the first is IDD_OTHER|IDC_COUNT): the catalog seems to belong to another script or extractor"},
      {"unconvertible units", "", "", "are valid UTF-8: if the script is saved as UTF-8, give --code-page 65001",
       "extract --ignore-pragmas"},
  };
  TempScript rc(script);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string translations = scratch / c.translations;
    std::ofstream(translations, std::ios::binary) << c.content;
    const std::string out = scratch / "out.rc";
    ToolRun run = Tool(c.command + " -q " + Quote(rc.Path()) + (c.translations.empty() ? "" : " " + Quote(translations)) +
                       " -o " + Quote(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run.out, "");
  }
}

TEST(ToolTranslationTest, StandardInputServesExtractOnly) {
  const std::string po = std::string(TAMREL_TEST_DATA) + "/translation/sample.de.po";
  ToolRun extract = Tool("extract -q - < " + Quote(kSample));
  EXPECT_EQ(extract.status, 0) << extract.err;
  EXPECT_NE(extract.out.find("msgctxt \"IDD_ABOUTBOX|CAPTION\""), std::string::npos);
  for (const std::string& command : {"merge -q - " + Quote(po), std::string("pseudo -q -")}) {
    ToolRun run = Tool(command + " < " + Quote(kSample));
    EXPECT_EQ(run.status, 2) << command;
    EXPECT_NE(run.err.find("must be a file, not standard input"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Tool(command.substr(0, command.find(' ')) + " --help").out.find("standard input"), std::string::npos);
  }
}

TEST(ToolTranslationTest, StatsCountPerKind) {
  ToolRun run = Tool("extract -q --stats " + Quote(kSample));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("kind          units    words characters\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\ntotal "), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tamrel
