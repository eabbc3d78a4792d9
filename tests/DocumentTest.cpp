// The document: Init and its operation code, reading the file into lines, the walk's line
// limit and keyword recognition. The walk's reports and host-form calls on whole scripts are in
// the golden scripts (tests/data/golden).
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
