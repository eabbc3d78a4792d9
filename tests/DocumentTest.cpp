// The document: Init and its operation code, reading the file into lines, the walk over the
// lines, keyword recognition, and the reports and host-form calls it makes.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

TEST(InitTest, WithoutOperationTwoNothingIsRead) {
  TempScript script("a\r\nb\r\n");
  auto log = std::make_shared<RecordingLog>();
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(log, "Log");
  for (const Variant& operation : {Variant(), Variant(1), Variant(3), Variant("x2")}) {
    clsRC rc;
    EXPECT_FALSE(rc.Init(script.Path(), hosts, operation));
    EXPECT_EQ(rc.Path, script.Path());
    EXPECT_EQ(rc.Lines.Count(), 0);
    EXPECT_FALSE(rc.Initialized);
  }
  EXPECT_TRUE(log->entries.empty());
  clsRC rc;
  EXPECT_TRUE(rc.Init(script.Path(), hosts, "2"));
  EXPECT_TRUE(rc.Initialized);
  EXPECT_EQ(ToVector(rc.Lines), (V{"a", "b"}));
}

// Failures of Init's own steps and of reading the file: exactly one report, no location.
TEST(InitTest, FailuresAreReportedOnceWithoutLocation) {
  TempScript script("a\r\n");
  struct Case {
    std::string path;
    Variant operation;
    bool formIsALog;
    std::string message;
    bool pathStored;  // Path is set after the host objects and the operation are checked
  };
  const Case cases[] = {
      {script.Path(), 70000, false, "RCinit-01.2: Overflow (6)", false},
      {script.Path(), 2, true, "RCinit-01.1: Type mismatch (13)", false},
      {"/nonexistent/dir/script.rc", 2, false, "RCrrf-00: File not found (53)", true},
      {std::filesystem::temp_directory_path().string(), 2, false, "RCrrf-00: Path or file access error (75)", true},
  };
  for (const Case& c : cases) {
    auto log = std::make_shared<RecordingLog>();
    auto hosts = std::make_shared<HostObjects>();
    if (c.formIsALog) hosts->Add(std::make_shared<RecordingLog>(), "ParentForm");
    hosts->Add(log, "Log");
    clsRC rc;
    EXPECT_FALSE(rc.Init(c.path, hosts, c.operation));
    ASSERT_EQ(log->entries.size(), 1u) << c.message;
    EXPECT_EQ(log->entries[0].message, c.message);
    EXPECT_FALSE(log->entries[0].location.has_value());
    EXPECT_EQ(log->entries[0].path, c.pathStored ? c.path : "");
    EXPECT_EQ(rc.Lines.Count(), 0);
    EXPECT_FALSE(rc.Initialized);
  }
}

TEST(InitTest, WithoutLogFailuresAreSilent) {
  clsRC rc;
  EXPECT_FALSE(rc.Init("/nonexistent.rc", std::make_shared<HostObjects>(), 2));
  EXPECT_FALSE(rc.Init("/nonexistent.rc", nullptr, 2));
}

TEST(InitTest, LogEntryThatIsNotALogRaisesFromTheReport) {
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(std::make_shared<RecordingForm>(), "Log");
  clsRC rc;
  EXPECT_EQ(ErrorOf([&] { rc.Init("/nonexistent.rc", hosts, 2); }), err::NoSuchMember);
}

TEST(ReadTest, EveryLineEndEndsALine) {
  struct Case {
    std::string bytes;
    V lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\nb\r\rc\r\n", {"a", "", "b", "", "c"}},
      {"\n", {""}},
      {"x", {"x"}},
      {"  // comment\t\r\n\t#define X 1  \r\n", {"  // comment\t", "\t#define X 1  "}},  // kept untrimmed
      {std::string("n\0ul\xff\r\n", 7), {std::string("n\0ul\xff", 5)}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.bytes);
    EXPECT_TRUE(loaded.result);
    EXPECT_EQ(ToVector(loaded.rc->Lines), c.lines);
  }
}

TEST(WalkTest, ScriptWithoutSectionsBuildsAndCreatesNoItem) {
  Loaded loaded = LoadText(Crlf({"// comment", "#define IDC_X 100", "#pragma code_page(1252)", "",
                                 "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US", "#if 0", "#endif",
                                 "VS_VERSION_INFO VERSIONINFO", "BEGIN", "  VALUE \"x\", \"y\"", "END"}));
  EXPECT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.rc->Initialized);
  EXPECT_TRUE(loaded.log->entries.empty());
  EXPECT_EQ(loaded.rc->Dialogs.Count() + loaded.rc->Menus.Count() + loaded.rc->Includes.Count(), 0);
}

TEST(WalkTest, StatementRunningPastTheEndIsReportedByTheWalk) {
  Loaded loaded = LoadText(Crlf({"// fine", "STYLE WS_CHILD |"}));
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCprf-12: Index out of range (9)");
  EXPECT_FALSE(loaded.log->entries[0].location.has_value());
}

TEST(WalkTest, SixteenBitLineLimit) {
  std::string lines32766;
  for (int i = 0; i < 32766; ++i) lines32766 += "// line\r\n";
  Loaded fits = LoadText(lines32766);
  EXPECT_TRUE(fits.result);
  EXPECT_TRUE(fits.log->entries.empty());

  Loaded over = LoadText(lines32766 + "// one more\r\n");
  EXPECT_FALSE(over.result);
  EXPECT_EQ(over.rc->Lines.Count(), 32767);
  ASSERT_EQ(over.log->entries.size(), 1u);
  EXPECT_EQ(over.log->entries[0].message, "RCprf-12: Overflow (6)");
}

TEST(WalkTest, HostFormCallsComeInOrder) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({"// a", "// b"}), form);
  EXPECT_TRUE(loaded.result);
  EXPECT_EQ(form->calls, (V{"status:Reading resource...", "status:Ready.", "max=2", "value=0",
                            "status:Building resource..", "max?", "value=2", "max?", "value=0",
                            "status:Ready."}));
}

TEST(FindKeyWordTest, ExactKeywordsOnly) {
  struct Case {
    V tokens;
    int k;
  };
  const Case cases[] = {
      {{"IDD_X", "DIALOG", "0"}, 2},   {{"A", "DIALOG"}, 2},         {{"", "ICON"}, 2},
      {{"bitmap", "x"}, 0},            {{"MAP", "#if", "I"}, 0},     {{"IDD_X", "DIALOGEX"}, 2},
      {{"GUIDELINES", "DESIGNINFO"}, 2}, {{"#include", "\"a.h\""}, 1}, {{"x", "CURSOR", "ICON"}, 2},
      {{"#ifdef", "X"}, 1},            {{"STRINGTABLE"}, 1},          {{"ACCELERATORS"}, 1},
  };
  clsRC rc;
  for (const Case& c : cases) {
    Tokens tokens;
    for (const std::string& t : c.tokens) tokens.Add(t);
    EXPECT_EQ(DocumentTestPeer::FindKeyWord(rc, tokens), c.k) << c.tokens[0];
  }
}

// The form is found once per Init: a second Init after the host took its form away (or put a
// wrong object there) drives no form, and the form of the first Init is not called again.
TEST(InitTest, EachInitFindsTheFormAfresh) {
  TempScript script("// a\r\n");
  auto form = std::make_shared<RecordingForm>();
  auto log = std::make_shared<RecordingLog>();
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(form, "ParentForm");
  hosts->Add(log, "Log");
  clsRC rc;
  EXPECT_TRUE(rc.Init(script.Path(), hosts, 2));
  const std::size_t callsOfFirstInit = form->calls.size();
  EXPECT_GT(callsOfFirstInit, 0u);

  hosts->Remove("ParentForm");
  EXPECT_TRUE(rc.Init(script.Path(), hosts, 2));
  EXPECT_EQ(form->calls.size(), callsOfFirstInit);
  EXPECT_TRUE(log->entries.empty());
  EXPECT_EQ(rc.Lines.Count(), 2);  // a second Init appends the lines again

  hosts->Add(std::make_shared<RecordingLog>(), "ParentForm");
  EXPECT_FALSE(rc.Init(script.Path(), hosts, 2));
  EXPECT_EQ(form->calls.size(), callsOfFirstInit);
  ASSERT_EQ(log->entries.size(), 1u);
  EXPECT_EQ(log->entries[0].message, "RCinit-01.1: Type mismatch (13)");

  auto second = std::make_shared<RecordingForm>();
  hosts->Remove("ParentForm");
  hosts->Add(second, "ParentForm");
  EXPECT_TRUE(rc.Init(script.Path(), hosts, 2));
  EXPECT_EQ(form->calls.size(), callsOfFirstInit);
  EXPECT_EQ(second->calls.front(), "status:Reading resource...");
  EXPECT_EQ(second->calls.back(), "status:Ready.");
}

}  // namespace
}  // namespace tamrel
