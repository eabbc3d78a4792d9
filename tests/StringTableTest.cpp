// The string table: every section read into one table, identifiers alone on their line, what
// fails, the single written block and the word count.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// "result entries", then " | report @ location" per log entry and " | text" per message box.
std::string Outcome(const Loaded& loaded) {
  std::string text = std::to_string(loaded.result) + " " + std::to_string(loaded.rc->StringTable.Entries.Count());
  for (const LogEntry& e : loaded.log->entries) text += " | " + e.message + " @ " + e.location.value_or("-");
  for (const std::string& box : loaded.messageBoxes) text += " | " + box;
  return text;
}

// A one-word header reads with an empty Disposition, yet the table is written as one DISCARDABLE
// block. Identifiers of 3, 5, 6, 11 and 12 characters meet the tab steps. The word count sums the
// entries and passes the operation on.
TEST(StringTableTest, SectionsJoinOneTable) {
  const std::initializer_list<std::string_view> written = {
      "STRINGTABLE DISCARDABLE", "BEGIN", "\tIDS_A\t\t\t\t\"Page 2 of 10\"", "\tIDS_ABCDEFGH\t\t\"On the next line\"",
      "\t101\t\t\t\t\"Numbered\"", "\tIDS_AB\t\t\t\"Close\"", "\tIDS_ABCDEFG\t\t\t\"100% <done>\"", "END"};
  Loaded loaded = LoadText(Crlf({"STRINGTABLE DISCARDABLE", "BEGIN", "    IDS_A    \"Page 2 of 10\"", "", "    // grouped",
                                 "    IDS_ABCDEFGH", "        \"On the next line\"", "    101         \"Numbered\"",
                                 "END", "STRINGTABLE", "    BEGIN", "    IDS_AB,  \"Close\"",
                                 "IDS_ABCDEFG \"100% <done>\"", "    END"}));
  EXPECT_EQ(Outcome(loaded), "1 5");
  const clsStringTable& table = loaded.rc->StringTable;
  EXPECT_EQ((V{table.ItemType, table.Disposition}), (V{"STRINGTABLE", ""}));
  const std::pair<std::string, int> lines[] = {{"IDS_A", 3}, {"IDS_ABCDEFGH", 6}, {"101", 8}, {"ids_ab", 12}};
  for (const auto& [id, line] : lines) EXPECT_EQ(table.Entries.Item(id).Line, line) << id;
  EXPECT_EQ(ToVector(table.PrintLines()), V(written.begin(), written.end()));
  EXPECT_EQ(ToVector(LoadText(Crlf(written)).rc->StringTable.PrintLines()), V(written.begin(), written.end()));

  const std::pair<Variant, int> counts[] = {{Variant(), 12}, {0, 12}, {"0", 12}, {1, 9}, {-1, 9}, {"3", 9}};
  for (const auto& [operation, count] : counts) EXPECT_EQ(table.DisplayWordCount(operation), count);
  EXPECT_THROW(table.DisplayWordCount("abc"), RCError);
  EXPECT_EQ(clsStringTable().DisplayWordCount("abc"), 0);
}

// An identifier seen before, in any section and in any case, is a duplicate; a text missing, a report;
// a header without BEGIN, a message. A section that runs out of lines is kept.
TEST(StringTableTest, Failures) {
  const std::pair<std::string, std::string> cases[] = {
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "BEGIN", "IDS_B \"B\"", "ids_a \"A\"", "END"}),
       "0 2 | RCpST-03: Key is already associated with an element of this collection (457) @ 8:  ids_a \"A\""},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A", "", "END"}), "0 0 | RCpST-03: Index out of range (9) @ 3:  IDS_A"},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "END", "STRINGTABLE", "IDS_B \"B\"", "END"}),
       "0 1 | Unable to process string table section."},
      {Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B", "\"B\""}), "1 2"},
  };
  for (const auto& [script, outcome] : cases) EXPECT_EQ(Outcome(LoadText(script)), outcome);

  // Progress follows the cursor: past the joined pair, then one past the last line.
  auto form = std::make_shared<RecordingForm>();
  LoadText(Crlf({"STRINGTABLE", "BEGIN", "IDS_A \"A\"", "IDS_B", "\"B\""}), form);
  EXPECT_EQ(V(form->calls.end() - 5, form->calls.end()), (V{"value=4", "value=6", "max?", "value=0", "status:Ready."}));
}

// Every line of the largest script is an entry: adding and the duplicate test stay cheap.
TEST(StringTableTest, ThirtyTwoThousandEntries) {
  constexpr int kEntries = 32760;
  std::string text = "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 1; i <= kEntries; ++i) text += "IDS_" + std::to_string(i) + " \"Entry" + std::to_string(i) + "\"\r\n";
  Loaded loaded = LoadText(text + "END\r\n");
  EXPECT_EQ(Outcome(loaded), "1 32760");
  const clsStringTable& table = loaded.rc->StringTable;
  EXPECT_EQ(table.Entries.Item("ids_32760").Line, kEntries + 2);
  EXPECT_EQ(table.PrintLines().Count(), kEntries + 3);
  EXPECT_EQ(table.DisplayWordCount(), kEntries);
}

}  // namespace
}  // namespace tamrel
