// The string table: every section read into one table, identifiers alone on their line, what
// is skipped and what fails, the single written block and the word count.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

TEST(StringTableReadTest, SectionsJoinOneTable) {
  Loaded loaded = LoadText(Crlf({
      "STRINGTABLE DISCARDABLE", "BEGIN",
      "    IDS_OPEN    \"Open a file\"",                          // 3
      "", "    // grouped",
      "    IDS_LONG_IDENTIFIER", "        \"Text on the next line\"",  // 6 and 7
      "    101         \"Numbered\"",                             // 8
      "END",
      "STRINGTABLE",                                               // no memory option
      "    BEGIN", "    IDS_CLOSE,  \"Close\"", "    END",         // 12
  }));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  const clsStringTable& table = loaded.rc->StringTable;
  EXPECT_EQ(table.ItemType, "STRINGTABLE");
  EXPECT_EQ(table.Disposition, "");  // the last header read had none
  ASSERT_EQ(table.Entries.Count(), 4);
  const std::pair<std::string, int> lines[] = {{"IDS_OPEN", 3}, {"IDS_LONG_IDENTIFIER", 6}, {"101", 8}, {"ids_close", 12}};
  for (const auto& [id, line] : lines) EXPECT_EQ(table.Entries.Item(id).Line, line) << id;

  EXPECT_EQ(ToVector(table.PrintLines()), (V{"STRINGTABLE DISCARDABLE", "BEGIN",
                                             "\tIDS_OPEN\t\t\t\"Open a file\"",
                                             "\tIDS_LONG_IDENTIFIER\t\t\"Text on the next line\"",
                                             "\t101\t\t\t\t\"Numbered\"", "\tIDS_CLOSE\t\t\t\"Close\"", "END"}));
}

TEST(StringTableReadTest, Failures) {
  struct Case {
    std::string text;
    int entries;
    std::optional<std::string> message, location;
  };
  const std::string duplicate = "RCpST-03: Key is already associated with an element of this collection (457)";
  const Case cases[] = {
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B \"B\"", "ids_a \"again\"", "END"}), 2, duplicate,
       "5:  ids_a \"again\""},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END"}), 1, duplicate,
       "7:  IDS_A \"A\""},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A", "", "END"}), 0, "RCpST-03: Index out of range (9)", "3:  IDS_A"},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "IDS_B \"B\"", "END"}), 1, {}, {}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.text);
    EXPECT_FALSE(loaded.result);
    EXPECT_EQ(loaded.rc->StringTable.Entries.Count(), c.entries);
    EXPECT_EQ(loaded.messageBoxes, c.message ? V{} : V{"Unable to process string table section."});
    ASSERT_EQ(loaded.log->entries.size(), c.message ? 1u : 0u);
    if (!c.message) continue;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message);
    EXPECT_EQ(loaded.log->entries[0].location, c.location);
  }
}

TEST(StringTableReadTest, SectionThatRunsOutOfLinesIsKept) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B", "\"B\""}), form);
  EXPECT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->StringTable.Entries.Count(), 2);
  // Progress follows the cursor: past the joined pair, one past the last line.
  EXPECT_EQ(V(form->calls.end() - 5, form->calls.end()), (V{"value=4", "value=6", "max?", "value=0", "status:Ready."}));
}

// Every line of the largest script is an entry: adding and the duplicate test stay cheap.
TEST(StringTableReadTest, ThirtyTwoThousandEntries) {
  constexpr int kEntries = 32760;
  std::string text = "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 1; i <= kEntries; ++i) text += "IDS_" + std::to_string(i) + " \"Entry" + std::to_string(i) + "\"\r\n";
  Loaded loaded = LoadText(text + "END\r\n");
  ASSERT_TRUE(loaded.result);
  const clsStringTable& table = loaded.rc->StringTable;
  ASSERT_EQ(table.Entries.Count(), kEntries);
  EXPECT_EQ(table.Entries.Item("ids_32760").Line, kEntries + 2);
  EXPECT_EQ(table.PrintLines().Count(), kEntries + 3);
  EXPECT_EQ(table.DisplayWordCount(), kEntries);
}

TEST(StringTableWriteTest, IdentifierLengthSetsTheAlignmentTabs) {
  const std::pair<std::string, std::string> cases[] = {
      {"IDS_A", "\t\t\t\t"}, {"IDS_AB", "\t\t\t"}, {"IDS_ABCDEFG", "\t\t\t"}, {"IDS_ABCDEFGH", "\t\t"}};
  for (const auto& [id, tabs] : cases) {
    clsStringTableEntry entry;
    entry.ID = id;
    entry.Text = "\"x\"";
    EXPECT_EQ(ToVector(entry.PrintLines()), V{id + tabs + "\"x\""});
  }
  clsStringTable table;
  table.ItemType = "OTHER";
  table.Disposition = "PRELOAD";
  EXPECT_EQ(ToVector(table.PrintLines()), (V{"STRINGTABLE DISCARDABLE", "BEGIN", "END"}));
}

TEST(StringTableCountTest, EntriesAreSummed) {
  clsStringTable table;
  EXPECT_EQ(table.DisplayWordCount("abc"), 0);
  clsStringTableEntry first;
  first.Text = "\"Page 2 of 10\"";  // words: "Page and of; 2 is a number; 10" is not
  clsStringTableEntry second;
  second.Text = "\"100% <done>\"";  // no words
  table.Entries.Add(first, "IDS_A");
  table.Entries.Add(second, "IDS_B");
  const std::pair<Variant, int> cases[] = {{Variant(), 6}, {0, 6}, {"0", 6}, {1, 3}, {-1, 3}, {"3", 3}};
  for (const auto& [operation, count] : cases) EXPECT_EQ(table.DisplayWordCount(operation), count);
  EXPECT_THROW(table.DisplayWordCount("abc"), RCError);
}

}  // namespace
}  // namespace tamrel
