// Real public scripts (tests/data/corpus): each either loads or fails with exactly the report
// or message recorded in expectations.tsv. Every script that loads is a fixed point of the
// writer (load, write, load, write gives the same lines) and keeps its word count when its
// regenerated text is loaded again; its regenerated text passes the C preprocessor, and the
// APSTUDIO_INVOKED wrapper contributes nothing to what the preprocessor lets through. The
// bundled sample is held to the same properties.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "TestSupport.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

const fs::path kCorpus = fs::path(TAMREL_TEST_DATA) / "corpus";

// expectations.tsv: FILE, then "ok", or "report" with the message and location, or
// "messagebox" with the text of the message.
std::map<std::string, V> Expectations() {
  std::map<std::string, V> expectations;
  std::istringstream in(ReadBytes(kCorpus / "expectations.tsv"));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    V fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    expectations[fields[0]] = V(fields.begin() + 1, fields.end());
  }
  return expectations;
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const fs::path& path : CorpusScripts()) files.push_back(path.filename().string());
  return files;
}

std::string AsText(const LineCollection& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

// The regenerated text loads again, writes the same lines, and counts the same words.
void ExpectFixedPoint(const clsRC& original) {
  V first = ToVector(original.PrintLines());
  Loaded again = LoadText(AsText(original.PrintLines()));
  ASSERT_TRUE(again.result) << (again.log->entries.empty() ? "message box" : again.log->entries[0].message);
  EXPECT_EQ(ToVector(again.rc->PrintLines()), first);
  EXPECT_EQ(again.rc->DisplayWordCount(), original.DisplayWordCount());
  EXPECT_EQ(again.rc->DisplayWordCount(1), original.DisplayWordCount(1));
  EXPECT_EQ(again.rc->TotalControls(), original.TotalControls());
  EXPECT_EQ(again.rc->TotalAccelerators(), original.TotalAccelerators());
  EXPECT_EQ(again.rc->TotalMenuItems, original.TotalMenuItems);
}

// `cpp -P -undef` of a text: its output, or a failure with the text of standard error.
::testing::AssertionResult Preprocess(const std::string& text, std::string& output) {
  TempScript in(text), out(""), err("");
  std::string command = "cpp -P -undef '" + in.Path() + "' -o '" + out.Path() + "' 2>'" + err.Path() + "'";
  int status = std::system(command.c_str());
  output = ReadBytes(out.Path());
  if (status != 0) return ::testing::AssertionFailure() << "cpp failed: " << ReadBytes(err.Path());
  return ::testing::AssertionSuccess();
}

// The regenerated script, without its #include lines (their headers are not here), passes the
// preprocessor, and gives the same output with the whole wrapper cut out: no line of a stored
// block is live outside the resource editor.
void ExpectPreprocessorAcceptsWrapper(const clsRC& rc) {
  if (std::system("command -v cpp >/dev/null 2>&1") != 0) GTEST_SKIP() << "no cpp on this machine";
  std::string whole, unwrapped;
  bool inWrapper = false;
  for (const std::string& line : rc.PrintLines()) {
    std::string_view rest = line;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.starts_with("#include")) continue;
    if (line == "#ifdef APSTUDIO_INVOKED") inWrapper = true;
    whole += line + "\n";
    if (!inWrapper) unwrapped += line + "\n";
    if (line == "#endif    // APSTUDIO_INVOKED") inWrapper = false;
  }
  std::string wholeOut, unwrappedOut;
  ASSERT_TRUE(Preprocess(whole, wholeOut));
  ASSERT_TRUE(Preprocess(unwrapped, unwrappedOut));
  EXPECT_EQ(wholeOut, unwrappedOut);
}

class CorpusTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusTest, LoadsAsExpectedAndRegeneratesToAFixedPoint) {
  static const std::map<std::string, V> expectations = Expectations();
  const std::string& file = GetParam();
  auto found = expectations.find(file);
  ASSERT_NE(found, expectations.end()) << file << " has no line in expectations.tsv";
  const V& expected = found->second;

  Loaded loaded = LoadText(ReadBytes(kCorpus / file));
  if (expected.at(0) == "ok") {
    ASSERT_TRUE(loaded.result) << (loaded.log->entries.empty() ? "message box" : loaded.log->entries[0].message);
    EXPECT_TRUE(loaded.log->entries.empty());
    EXPECT_TRUE(loaded.messageBoxes.empty());
    ExpectFixedPoint(*loaded.rc);
    ExpectPreprocessorAcceptsWrapper(*loaded.rc);
  } else if (expected.at(0) == "report") {
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size(), 1u);
    EXPECT_EQ(loaded.log->entries[0].message, expected.at(1));
    EXPECT_EQ(loaded.log->entries[0].location.value_or("(none)"), expected.at(2));
  } else {
    EXPECT_FALSE(loaded.result);
    EXPECT_TRUE(loaded.log->entries.empty());
    EXPECT_EQ(loaded.messageBoxes, (V{expected.at(1)}));
  }
  // Read relaxed, every script loads, and its print reads back to itself.
  Loaded relaxed = LoadText(ReadBytes(kCorpus / file), nullptr, Layout::Relaxed);
  ASSERT_TRUE(relaxed.result) << (relaxed.log->entries.empty() ? "message box" : relaxed.log->entries[0].message);
  // It holds every resource the exact reader passes over (and more it cannot tell from other
  // lines, such as one-line user types with an unquoted file): raw, or as a version resource.
  for (const clsRC::UnreadStatement& unread : relaxed.rc->Unread) EXPECT_FALSE(unread.Resource) << unread.Kind;
  if (expected.at(0) == "ok") {
    EXPECT_GE(relaxed.rc->RawResources.Count() + relaxed.rc->VersionInfos.Count(),
              std::count_if(loaded.rc->Unread.begin(), loaded.rc->Unread.end(),
                            [](const clsRC::UnreadStatement& unread) { return unread.Resource; }));
  }
  const std::vector<std::string> printed = ToVector(relaxed.rc->PrintLines());
  std::string text;
  for (const std::string& line : printed) text.append(line).append("\r\n");
  Loaded again = LoadText(text, nullptr, Layout::Relaxed);
  ASSERT_TRUE(again.result);
  EXPECT_EQ(ToVector(again.rc->PrintLines()), printed);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, ::testing::ValuesIn(CorpusFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name;
                           for (char c : info.param) name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
                           return name;
                         });

TEST(SampleTest, BundledSampleLoadsAndRegeneratesToAFixedPoint) {
  Loaded loaded = LoadText(ReadBytes(fs::path(TAMREL_EXAMPLES) / "sample.rc"));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  EXPECT_EQ(loaded.rc->Dialogs.Count(), 3);
  EXPECT_EQ(loaded.rc->Menus.Count(), 1);
  ExpectFixedPoint(*loaded.rc);
  ExpectPreprocessorAcceptsWrapper(*loaded.rc);
}

}  // namespace
}  // namespace tamrel
