// The string table at its largest. Reading, writing and failing are golden scripts
// (tests/data/golden/stringtable-*.rc).
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
