// The string table: every section read into one table, identifiers alone on their line, what
// is skipped and what fails, the single written block and the word count.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

TEST(StringTableReadTest, SectionsJoinOneTable) {
  Loaded loaded = LoadText(Crlf({
      "STRINGTABLE DISCARDABLE",            // 1
      "BEGIN",                              // 2
      "    IDS_OPEN    \"Open a file\"",     // 3
      "",                                   // 4
      "    // grouped",                     // 5
      "    IDS_LONG_IDENTIFIER",            // 6
      "        \"Text on the next line\"",  // 7
      "    101         \"Numbered\"",        // 8
      "END",                                // 9
      "STRINGTABLE PRELOAD",                // 10
      "    BEGIN",                          // 11
      "    IDS_CLOSE,  \"Close\"",           // 12
      "    END",                            // 13
  }));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  const clsStringTable& table = loaded.rc->StringTable;
  EXPECT_EQ(table.ItemType, "STRINGTABLE");
  EXPECT_EQ(table.Disposition, "PRELOAD");
  EXPECT_EQ(table.Line, 0);

  struct Expected {
    std::string id, text;
    int line;
  };
  const Expected expected[] = {
      {"IDS_OPEN", "\"Open a file\"", 3},
      {"IDS_LONG_IDENTIFIER", "\"Text on the next line\"", 6},
      {"101", "\"Numbered\"", 8},
      {"IDS_CLOSE", "\"Close\"", 12},
  };
  ASSERT_EQ(table.Entries.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    const clsStringTableEntry& entry = table.Entries.Item(i + 1);
    EXPECT_EQ(entry.ID, expected[i].id);
    EXPECT_EQ(entry.Text, expected[i].text);
    EXPECT_EQ(entry.Line, expected[i].line);
    EXPECT_EQ(table.Entries.Item(expected[i].id).Text, expected[i].text);
  }

  EXPECT_EQ(ToVector(table.PrintLines()), (V{"STRINGTABLE DISCARDABLE", "BEGIN",
                                             "\tIDS_OPEN\t\t\t\"Open a file\"",
                                             "\tIDS_LONG_IDENTIFIER\t\t\"Text on the next line\"",
                                             "\t101\t\t\t\t\"Numbered\"", "\tIDS_CLOSE\t\t\t\"Close\"", "END"}));
}

// A header written without a memory option reads; the table's Disposition is then empty, as
// the last header read had none.
TEST(StringTableReadTest, OneWordHeader) {
  Loaded loaded = LoadText(Crlf({"STRINGTABLE DISCARDABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "BEGIN",
                                 "IDS_B \"B\"", "END"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  EXPECT_EQ(loaded.rc->StringTable.ItemType, "STRINGTABLE");
  EXPECT_EQ(loaded.rc->StringTable.Disposition, "");
  EXPECT_EQ(loaded.rc->StringTable.Entries.Count(), 2);
}

TEST(StringTableReadTest, Failures) {
  struct Case {
    std::string name;
    std::string text;
    std::optional<std::string> message, location;
    int entries;
    bool messageBox;
  };
  const Case cases[] = {
      {"same identifier twice",
       Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B \"B\"", "ids_a \"again\"", "IDS_C \"C\"", "END"}),
       "RCpST-03: Key is already associated with an element of this collection (457)", "5:  ids_a \"again\"", 2,
       false},
      {"same identifier in a later section",
       Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END"}),
       "RCpST-03: Key is already associated with an element of this collection (457)", "7:  IDS_A \"A\"", 1, false},
      {"no text even on the next line", Crlf({"STRINGTABLE", "BEGIN", "IDS_A", "", "END"}),
       "RCpST-03: Index out of range (9)", "3:  IDS_A", 0, false},
      {"no BEGIN", Crlf({"STRINGTABLE DISCARDABLE", "IDS_A \"A\"", "END"}), {}, {}, 0, true},
      {"no BEGIN in a later section",
       Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "IDS_B \"B\"", "END"}), {}, {}, 1, true},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.text);
    EXPECT_FALSE(loaded.result) << c.name;
    EXPECT_EQ(loaded.rc->StringTable.Entries.Count(), c.entries) << c.name;
    EXPECT_EQ(loaded.messageBoxes, c.messageBox ? V{"Unable to process string table section."} : V{}) << c.name;
    if (!c.message) {
      EXPECT_TRUE(loaded.log->entries.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.name;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message) << c.name;
    EXPECT_EQ(loaded.log->entries[0].location, c.location) << c.name;
  }
}

TEST(StringTableReadTest, SectionThatRunsOutOfLinesIsKept) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B", "\"B\""}), form);
  EXPECT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->StringTable.Entries.Count(), 2);
  // The reader's progress follows its cursor: past the joined pair, one past the last line.
  const V tail(form->calls.end() - 5, form->calls.end());
  EXPECT_EQ(tail, (V{"value=4", "value=6", "max?", "value=0", "status:Ready."}));
}

// Every line of the largest script is an entry: adding and the duplicate test stay cheap.
TEST(StringTableReadTest, ThirtyTwoThousandEntries) {
  constexpr int kEntries = 32760;
  std::string text = "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 1; i <= kEntries; ++i) text += "IDS_" + std::to_string(i) + " \"Entry" + std::to_string(i) + "\"\r\n";
  text += "END\r\n";
  Loaded loaded = LoadText(text);
  ASSERT_TRUE(loaded.result);
  const clsStringTable& table = loaded.rc->StringTable;
  ASSERT_EQ(table.Entries.Count(), kEntries);
  EXPECT_EQ(table.Entries.Item("ids_32760").Line, kEntries + 2);
  EXPECT_EQ(table.PrintLines().Count(), kEntries + 3);
  EXPECT_EQ(table.DisplayWordCount(), kEntries);
}

TEST(StringTableWriteTest, IdentifierLengthSetsTheAlignmentTabs) {
  struct Case {
    std::string id;
    std::string tabs;
  };
  const Case cases[] = {{"1", "\t\t\t\t"},      {"IDS_A", "\t\t\t\t"},         {"IDS_AB", "\t\t\t"},
                        {"IDS_ABCDEFG", "\t\t\t"}, {"IDS_ABCDEFGH", "\t\t"}, {"IDS_A_VERY_LONG_NAME", "\t\t"}};
  for (const Case& c : cases) {
    clsStringTableEntry entry;
    entry.ID = c.id;
    entry.Text = "\"x\"";
    EXPECT_EQ(ToVector(entry.PrintLines()), V{c.id + c.tabs + "\"x\""}) << c.id;
  }
}

TEST(StringTableWriteTest, HeaderIsAlwaysTheSame) {
  clsStringTable table;
  EXPECT_EQ(ToVector(table.PrintLines()), (V{"STRINGTABLE DISCARDABLE", "BEGIN", "END"}));
  table.ItemType = "OTHER";
  table.Disposition = "PRELOAD";
  EXPECT_EQ(table.PrintLines().Item(1), "STRINGTABLE DISCARDABLE");
}

TEST(StringTableCountTest, EntriesAreSummed) {
  clsStringTable table;
  EXPECT_EQ(table.DisplayWordCount(), 0);
  EXPECT_EQ(table.DisplayWordCount("abc"), 0);
  clsStringTableEntry first;
  first.ID = "IDS_A";
  first.Text = "\"Page 2 of 10\"";  // pieces: "Page, 2, of, 10"
  clsStringTableEntry second;
  second.ID = "IDS_B";
  second.Text = "\"100% <done>\"";
  table.Entries.Add(first, first.ID);
  table.Entries.Add(second, second.ID);
  struct Case {
    Variant operation;
    int count;
  };
  const Case cases[] = {{Variant(), 6}, {0, 6}, {"0", 6}, {1, 3}, {-1, 3}, {"3", 3}};
  for (const Case& c : cases) EXPECT_EQ(table.DisplayWordCount(c.operation), c.count);
  EXPECT_EQ(first.DisplayWordCount(1), 3);  // "2" is a number; 10" is not
  EXPECT_THROW(table.DisplayWordCount("abc"), RCError);
}

}  // namespace
}  // namespace tamrel
