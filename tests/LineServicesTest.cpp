// Line services: joining continuation lines into statements, and tokenizing overlong statements.
// TrimWhite and ParseLine on ordinary statements are tables in tests/data/tables.json.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

// A document that keeps a recording log and reads nothing.
clsRC Logged(std::shared_ptr<RecordingLog> log) {
  clsRC rc;
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(std::move(log), "Log");
  rc.Init("unused", hosts);
  return rc;
}

clsRC WithLines(std::initializer_list<std::string> lines) {
  clsRC rc;
  for (const std::string& line : lines) rc.Lines.Add(line);
  return rc;
}

TEST(GetFullLineTest, StatementModeJoinsContinuationLines) {
  clsRC rc = WithLines({"  WS_CHILD |", "\tWS_VISIBLE", "x CANNOT", "y", "z not", "w,", "", "end"});
  Int16 count;
  EXPECT_EQ(rc.GetFullLine(1, count), " WS_CHILD | WS_VISIBLE");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(rc.GetFullLine(3, count), " x CANNOT y");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(rc.GetFullLine(5, count), " z not");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(rc.GetFullLine(6, count), " w, ");  // the empty line ends the statement
  EXPECT_EQ(count, 2);
}

TEST(GetFullLineTest, JoinedModeTakesExactlyNLines) {
  clsRC rc = WithLines({" IDS_X ", "", "\"text\""});
  Int16 count;
  EXPECT_EQ(rc.GetFullLine(1, count, 2), "IDS_X");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(rc.GetFullLine(2, count, "2"), "\"text\"");
  EXPECT_EQ(rc.GetFullLine(1, count, 0), "");
  EXPECT_EQ(count, 0);
}

// A stretch of 32767 characters without a split overflows the 16-bit scan position: the
// tokens found so far come back followed by "ERROR", and one report names the statement, cut
// to 1,024 bytes.
TEST(ParseLineTest, OverlongStatementGivesErrorToken) {
  auto log = std::make_shared<RecordingLog>();
  clsRC rc = Logged(log);
  std::string longToken(40000, 'x');
  EXPECT_EQ(ToVector(rc.ParseLine("a b " + longToken, ' ')), (std::vector<std::string>{"a", "b", "ERROR"}));
  ASSERT_EQ(log->entries.size(), 1u);
  EXPECT_EQ(log->entries[0].message, "RCpl-04: Overflow (6)");
  EXPECT_EQ(log->entries[0].location, std::string(1021, 'x') + "\xE2\x80\xA6");

  std::string fine(32766, 'y');
  EXPECT_EQ(ToVector(rc.ParseLine(fine, ' ')), (std::vector<std::string>{fine}));
  std::vector<std::string> many = ToVector(rc.ParseLine(std::string(30000, ',') + "z", ' '));
  EXPECT_EQ(many.size(), 30001u);
  EXPECT_EQ(log->entries.size(), 1u);
}

// A cut location never ends inside a UTF-8 sequence: it keeps whole characters only.
TEST(ParseLineTest, CutLocationKeepsWholeCharacters) {
  struct Case {
    std::size_t ascii;
    std::string character;
    std::size_t kept;  // bytes before the ellipsis
  };
  const Case cases[] = {
      {1021, "\xC3\xA9", 1021}, {1020, "\xC3\xA9", 1020}, {1019, "\xC3\xA9", 1021},
      {1020, "\xE2\x82\xAC", 1020}, {1019, "\xE2\x82\xAC", 1019}, {1018, "\xE2\x82\xAC", 1021},
      {1018, "\xF0\x9F\x98\x80", 1018}, {1017, "\xF0\x9F\x98\x80", 1021}, {0, "\xF0\x9F\x98\x80", 1020},
  };
  for (const Case& c : cases) {
    auto log = std::make_shared<RecordingLog>();
    clsRC rc = Logged(log);
    std::string text(c.ascii, 'x');
    while (text.size() < 33000) text += c.character;
    rc.ParseLine(text, ' ');
    ASSERT_EQ(log->entries.size(), 1u);
    const std::string& location = *log->entries[0].location;
    EXPECT_EQ(location, text.substr(0, c.kept) + "\xE2\x80\xA6") << c.ascii << " + " << c.character.size();
  }
}

// ParseLine never raises: a document that was never given host objects, or whose host
// collection has no log, drops the overflow report and still returns the tokens.
TEST(ParseLineTest, OverflowWithoutALogIsNotRaised) {
  const std::vector<std::string> expected = {"a", "ERROR"};
  const std::string statement = "a " + std::string(40000, 'x');
  clsRC never;
  EXPECT_EQ(ToVector(never.ParseLine(statement, ' ')), expected);
  clsRC noLog;
  noLog.Init("unused", std::make_shared<HostObjects>());
  EXPECT_EQ(ToVector(noLog.ParseLine(statement, ' ')), expected);
  EXPECT_EQ(ToVector(noLog.ParseLine(std::string(40000, '|'), '|')), (std::vector<std::string>{"ERROR"}));
}

}  // namespace
}  // namespace tamrel
