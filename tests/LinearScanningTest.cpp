// The one-pass tokenizer and the run-sharing walk against the straightforward implementation
// they replaced (ReferenceScanning.h): the same tokens, the same reports and the same model on
// random statements, random continuation runs, hostile shapes and the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ReferenceScanning.h"
#include "TestSupport.h"
#include "document/StatementScanner.h"
#include "document/StatementTokens.h"

namespace tamrel {

bool DocumentTestPeer::ReferenceWalk(clsRC& rc) {
  struct Section {
    std::string_view keyword, step;
    bool (*read)(clsRC& rc, const Tokens& tokens, Int16& cursor);
  };
  static constexpr Section kSections[] = {
      {"BITMAP", "03", [](clsRC& rc, const Tokens& t, Int16& c) { return rc.ProcessBitmap(t, c); }},
      {"ICON", "04", [](clsRC& rc, const Tokens& t, Int16& c) { return rc.ProcessIcon(t, c); }},
      {"CURSOR", "05", [](clsRC& rc, const Tokens& t, Int16& c) { return rc.ProcessCursor(t, c); }},
      {"DIALOG", "06", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessDialog(c); }},
      {"DIALOGEX", "06", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessDialog(c); }},
      {"MENU", "07", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessMenu(c); }},
      {"STRINGTABLE", "08", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessStringTable(c); }},
      {"#include", "09", [](clsRC& rc, const Tokens& t, Int16& c) { return rc.ProcessInclude(t, c); }},
      {"ACCELERATORS", "10", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessAccelerators(c); }},
      {"#ifdef", "11", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessIfDef(c); }},
      {"DESIGNINFO", "12", [](clsRC& rc, const Tokens&, Int16& c) { return rc.ProcessDesignInfo(c); }},
  };
  clsRC::Procedure procedure{"RCprf", "01"};
  try {
    Int16 cursor = 1;
    while (cursor <= rc.Lines.Count()) {
      Int16 count;
      reference::Split split = reference::ParseLine(rc.GetFullLine(cursor, count), ' ');
      Tokens tokens;
      for (std::string& token : split.tokens) tokens.Add(std::move(token));
      if (split.step) rc.Report(clsRC::Procedure{"RCpl", *split.step}, RCError(err::Overflow), split.changed);
      if (tokens.Count() > 0) {
        if (Int16 k = rc.FindKeyWord(tokens); k > 0) {
          for (const Section& section : kSections) {
            if (tokens.Item(k) != section.keyword) continue;
            procedure.Step = section.step;
            if (!section.read(rc, tokens, cursor)) return false;
            break;
          }
        }
      }
      procedure.Step = "12";
      ++cursor;
    }
    return true;
  } catch (const RCError& e) {
    rc.Report(procedure, e, std::nullopt);
    return false;
  }
}

namespace {

using V = std::vector<std::string>;

struct Host {
  std::shared_ptr<RecordingLog> log = std::make_shared<RecordingLog>();
  std::shared_ptr<HostObjects> objects = std::make_shared<HostObjects>();
  Host() { objects->Add(log, "Log"); }
};

// Everything a walk leaves behind: its result, the reports, message boxes and the model.
struct WalkResult {
  bool result = false;
  V reports, boxes, printed;
  std::vector<std::int32_t> counts;
  bool operator==(const WalkResult&) const = default;
};

WalkResult RunWalk(const V& lines, bool reference) {
  Host host;
  clsRC rc;
  rc.Init("script.rc", host.objects);  // keeps the host objects, reads nothing
  for (const std::string& line : lines) rc.Lines.Add(line);
  WalkResult out;
  SetMessageBoxHook([&out](std::string_view m) { out.boxes.emplace_back(m); });
  out.result = reference ? DocumentTestPeer::ReferenceWalk(rc) : DocumentTestPeer::Walk(rc);
  SetMessageBoxHook({});
  for (const LogEntry& e : host.log->entries) out.reports.push_back(e.message + " @ " + e.location.value_or("<none>"));
  out.printed = ToVector(rc.PrintLines());
  out.counts = {rc.Bitmaps.Count(), rc.Icons.Count(), rc.Cursors.Count(), rc.Dialogs.Count(),
                rc.Menus.Count(),   rc.Includes.Count(), rc.IfDef.Count(), rc.Accelerators.Count(),
                rc.DesignInfos.Count(), rc.TotalMenuItems};
  return out;
}

void ExpectSameWalk(const V& lines, const std::string& what) {
  WalkResult expected = RunWalk(lines, true);
  WalkResult actual = RunWalk(lines, false);
  EXPECT_EQ(actual.result, expected.result) << what;
  EXPECT_EQ(actual.reports, expected.reports) << what;
  EXPECT_EQ(actual.boxes, expected.boxes) << what;
  EXPECT_EQ(actual.printed, expected.printed) << what;
  EXPECT_EQ(actual.counts, expected.counts) << what;
}

// ParseLine with a log: the tokens, and the one report it may make.
reference::Split Split(clsRC& rc, RecordingLog& log, std::string_view statement, char separator) {
  log.entries.clear();
  reference::Split split;
  split.tokens = ToVector(rc.ParseLine(statement, separator));
  if (!log.entries.empty()) {
    const std::string& m = log.entries[0].message;
    split.step = m.substr(5, 2);
    split.changed = log.entries[0].location.value_or("<none>");
  }
  EXPECT_LE(log.entries.size(), 1u);
  return split;
}

// The statement scanner the walk uses, fed one statement as ParseLine would be.
reference::Split Scanned(std::string_view statement, char separator) {
  reference::Split split;
  std::string_view s = statement;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty() || s.starts_with("//")) return split;
  StatementScanner scanner(separator, StatementScanner::Mode::Text);
  for (char c : s) scanner.Feed(c);
  scanner.Finish();
  split.tokens = scanner.TakeTokens();
  if (std::optional<std::string_view> step = scanner.OverflowStep()) {
    split.step = std::string(*step);
    split.changed = reference::Shortened(scanner.OverflowLocation());
  }
  return split;
}

reference::Split Expected(std::string_view statement, char separator) {
  reference::Split split = reference::ParseLine(statement, separator);
  if (split.step) split.changed = reference::Shortened(split.changed);
  return split;
}

// Pieces that exercise every rule of the tokenizer: blanks and tabs next to "|" and ",", quotes,
// semicolons, NOT, comments and keywords.
const std::vector<std::string> kPieces = {
    " ", " ", "  ", "\t", "|", " | ", "|", ",", " ,", ", ", ";", "\"", "\"", "NOT", "NOT ",
    "x",  "ab", "WS_CHILD", "//", "BITMAP", "DIALOG", "MENU", "#ifdef", "\"q; r\"", "NO", "T",
    "é",  "0x10"};

std::string RandomText(std::mt19937& rng, int maxPieces) {
  std::uniform_int_distribution<int> count(0, maxPieces);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::string s;
  for (int n = count(rng); n > 0; --n) s += kPieces[piece(rng)];
  return s;
}

// Long runs of characters that neither split nor change (the splitter passes them over in one
// go when no yield hook is installed), and runs of the characters that do.
const std::vector<std::string> kRunPieces = {
    std::string(37, 'w'), "\xC3\xA9" + std::string(19, 'x'), "\"" + std::string(23, 'q'), std::string(29, ' '),
    std::string(7, '\t'), "a;b;c" + std::string(17, 'd'), std::string(9, ','), "NOT" + std::string(5, ' '),
    std::string(6, '|'), std::string(4, '"')};

std::string RandomRunText(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 10), percent(0, 99);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1), run(0, kRunPieces.size() - 1);
  std::string s;
  for (int n = count(rng); n > 0; --n) s += percent(rng) < 35 ? kRunPieces[run(rng)] : kPieces[piece(rng)];
  return s;
}

void CountYield(void* count) { ++*static_cast<std::size_t*>(count); }

// The view splitter on its own, reused for every statement so that its buffers carry over:
// with and without a yield hook, the tokens and overflow of the reference, and with a hook one
// yield per character the reference's token scan looks at.
reference::Split SplitWithViews(StatementTokens& tokens, std::string_view statement, char separator) {
  reference::Split split;
  std::string_view step = "01";
  try {
    tokens.Split(statement, separator, step, split.changed);
  } catch (const RCError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
    split.step = std::string(step);
    tokens.Append("ERROR");
  }
  for (std::string_view token : tokens.Views()) split.tokens.emplace_back(token);
  return split;
}

// ParseLine, the statement scanner and the view splitter against the reference on random
// statements: short ones of single pieces and ones with long runs.
TEST(LinearScanningTest, TokenizersMatchReferenceOnRandomStatements) {
  Host host;
  clsRC rc;
  rc.Init("unused", host.objects);
  StatementTokens tokens;
  std::mt19937 rng(23);
  const char separators[] = {' ', '|', ','};
  for (int n = 0; n < 300000; ++n) {
    const std::string statement = n % 2 ? RandomRunText(rng) : RandomText(rng, 12);
    const char separator = separators[n % 3];
    const reference::Split shortened = Expected(statement, separator);
    ASSERT_EQ(Split(rc, *host.log, statement, separator), shortened) << '"' << statement << "\" sep '" << separator << "'";
    ASSERT_EQ(Scanned(statement, separator), shortened) << '"' << statement << "\" sep '" << separator << "'";
    std::size_t examined = 0;
    const reference::Split expected = reference::ParseLine(statement, separator, &examined);
    const bool hooked = n % 4 == 0;
    std::size_t yields = 0;
    if (hooked) SetYieldHook(CountYield, &yields);
    const reference::Split actual = SplitWithViews(tokens, statement, separator);
    SetYieldHook(nullptr);
    ASSERT_EQ(actual, expected) << '"' << statement << "\" sep '" << separator << "' hook " << hooked;
    if (hooked) {
      ASSERT_EQ(yields, examined) << '"' << statement << "\" sep '" << separator << "'";
    }
  }
}

// Statements around the 16-bit limit: each stage's overflow, and which one wins.
TEST(LinearScanningTest, ParseLineMatchesReferenceAroundTheLimit) {
  Host host;
  clsRC rc;
  rc.Init("unused", host.objects);
  std::mt19937 rng(7);
  const std::vector<std::string> fillers = {"a", "a|", "a |", " ", "a ,", "\"", "a;", "a,", "é", "NOT "};
  for (int n = 0; n < 160; ++n) {
    std::string statement = RandomText(rng, 4);
    const std::string& filler = fillers[n % fillers.size()];
    std::uniform_int_distribution<int> extra(-40, 40);
    while (statement.size() < static_cast<std::size_t>(32767 + extra(rng))) statement += filler;
    statement += RandomText(rng, 6);
    for (char separator : {' ', '|'}) {
      const reference::Split expected = Expected(statement, separator);
      ASSERT_EQ(Split(rc, *host.log, statement, separator), expected) << "case " << n << " sep '" << separator << "'";
      ASSERT_EQ(Scanned(statement, separator), expected) << "case " << n << " sep '" << separator << "'";
    }
    // The character-by-character scan a yield hook asks for overflows at the same place.
    std::size_t examined = 0;
    const reference::Split expected = reference::ParseLine(statement, ' ', &examined);
    StatementTokens tokens;
    std::size_t yields = 0;
    SetYieldHook(CountYield, &yields);
    const reference::Split hooked = SplitWithViews(tokens, statement, ' ');
    SetYieldHook(nullptr);
    ASSERT_EQ(hooked, expected) << "case " << n;
    ASSERT_EQ(yields, examined) << "case " << n;
  }
}

// Random scripts of short lines, most of them continuing, with the odd section among them.
TEST(LinearScanningTest, WalkMatchesReferenceOnRandomRuns) {
  std::mt19937 rng(5);
  const std::vector<std::string> ends = {",", "|", " |", "NOT", " NOT", "", "", "\"", ";", " ,"};
  const std::vector<std::string> sections = {
      "IDB_X BITMAP \"x.bmp\"", "IDI_%d ICON \"i.ico\"", "#include \"r.h\"", "#ifdef X", "#endif",
      "IDD_D DIALOG 0, 0, 10, 10", "BEGIN", "END", "IDR_M MENU", "STRINGTABLE", "// note,"};
  std::uniform_int_distribution<std::size_t> end(0, ends.size() - 1), section(0, sections.size() - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  for (int script = 0; script < 20000; ++script) {
    V lines;
    std::uniform_int_distribution<int> length(1, 30);
    for (int n = length(rng); n > 0; --n) {
      std::string line = percent(rng) < 8 ? sections[section(rng)] : RandomText(rng, 4);
      if (percent(rng) < 75) line += ends[end(rng)];
      lines.push_back(line);
    }
    lines.push_back("x");
    ExpectSameWalk(lines, "script " + std::to_string(script));
    if (HasFailure()) return;
  }
}

// Long runs of the shapes that made the walk quadratic, and runs long enough to overflow, with
// keywords before and after the overflowing stretch.
TEST(LinearScanningTest, WalkMatchesReferenceOnHostileShapes) {
  struct Shape {
    std::string name, head, line;
    int lines;
    std::string tail;
  };
  // Lines are long, so that a few hundred of them pass the 16-bit limit.
  const std::string w(36, 'w');
  const Shape shapes[] = {
      {"comma", "", "WS_X,", 1000, ""},
      {"not", "", "WS_X NOT", 1000, ""},
      {"bar", "", w + " |", 1000, ""},
      {"bar tight", "", w + "|", 1000, ""},
      {"quote", "", "\"a, b, " + w + ",", 1000, ""},
      {"semicolon", "", "a;" + w + ",", 1000, ""},
      {"comment", "", "// c,", 1000, ""},
      {"blank comma", "", w + " ,", 1000, ""},
      {"tabs", "", w + "\t|\t", 1000, ""},
      {"keywords", "", "ICON BITMAP,", 300, ""},
      {"mixed", "", "a \"b\" " + w + " NOT", 1000, ""},
      {"utf8", "", "\xC3\xA9\xC3\xA9" + w + "|", 1000, ""},
      {"long quote then keyword", "IDB_A BITMAP \"a,", w + ",", 1000, "b\" x ICON y, \"i.ico\""},
      {"long quote after keyword", "IDI_A ICON \"i.ico\", \"", w + ",", 1000, "b\""},
      {"long token then keyword", "x", w + " NOT", 1000, "y IDI_B ICON \"i.ico\""},
      {"blank comma then keyword", "ICON", w + " ,", 1000, "IDI_C ICON \"i.ico\""},
      {"bars then menu", "", w + "|", 1000, "IDR_M MENU"},
  };
  for (const Shape& shape : shapes) {
    V lines;
    if (!shape.head.empty()) lines.push_back(shape.head);
    lines.insert(lines.end(), static_cast<std::size_t>(shape.lines), shape.line);
    if (!shape.tail.empty()) lines.push_back(shape.tail);
    lines.push_back("END");
    ExpectSameWalk(lines, shape.name);
  }
  // Tokens, then an overflowing quoted stretch, then a keyword that the overflow hides.
  for (const char* opener : {"\"a,", "x \"a,", "NOT \"a,"}) {
    V lines(100, "x,");
    lines.push_back(opener);
    lines.insert(lines.end(), 1000, w + ",");
    lines.push_back("b\" IDI_D ICON \"i.ico\"");
    lines.push_back("END");
    ExpectSameWalk(lines, opener);
  }
}

TEST(LinearScanningTest, WalkMatchesReferenceOnCorpus) {
  namespace fs = std::filesystem;
  int scripts = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(TAMREL_TEST_DATA) / "corpus")) {
    if (entry.path().extension() == ".tsv") continue;
    clsRC rc;
    rc.Init(entry.path().string(), std::make_shared<HostObjects>());
    std::ifstream in(entry.path(), std::ios::binary);
    V lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    ExpectSameWalk(lines, entry.path().filename().string());
    ++scripts;
  }
  EXPECT_GT(scripts, 90);
}

// Walks that stop early: a run that ends the file, and one past the 16-bit line limit.
TEST(LinearScanningTest, WalkMatchesReferenceWhenARunRunsOff) {
  ExpectSameWalk({"a", "b,", "c,"}, "run off the end");
  ExpectSameWalk(V(32770, "x,"), "run past line 32767");
}

// A script of 16,000 lines that end in "|" overflows at almost every line: each report names
// at most 1,024 bytes instead of the rest of the run.
TEST(LinearScanningTest, ReportsOfALongRunStayShort) {
  std::string script;
  for (int n = 0; n < 16000; ++n) script += "WS_X |\r\n";
  script += "END\r\n";
  Loaded loaded = LoadText(script);
  EXPECT_TRUE(loaded.result);
  std::size_t bytes = 0;
  for (const LogEntry& e : loaded.log->entries) {
    EXPECT_LE(e.location->size(), 1024u);
    bytes += e.location->size();
  }
  EXPECT_GT(loaded.log->entries.size(), 9000u);
  EXPECT_LT(bytes, 20'000'000u);
}

// Without a log, an overflow in the walk has nowhere to be reported and the load goes on.
TEST(LinearScanningTest, WalkWithoutALogLoads) {
  TempScript script("a " + std::string(40000, 'x') + "\r\nIDI_A ICON \"a.ico\"\r\n");
  clsRC rc;
  EXPECT_TRUE(rc.Init(script.Path(), std::make_shared<HostObjects>(), 2));
  EXPECT_EQ(rc.Icons.Count(), 1);
}

}  // namespace
}  // namespace tamrel
