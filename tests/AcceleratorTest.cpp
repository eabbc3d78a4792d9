// Accelerator tables: the header forms, the shortcut lines, what is skipped and what fails,
// and the written table reading back to the same shortcuts.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Table(std::string_view header, std::initializer_list<std::string_view> body) {
  std::string text = std::string(header) + "\r\nBEGIN\r\n";
  for (std::string_view line : body) text.append(line).append("\r\n");
  return text + "END\r\n";
}

TEST(AcceleratorReadTest, HeaderForms) {
  struct Case {
    std::string header;
    std::string id, itemType, predisposition, disposition, handling;
    std::string printed;
  };
  const Case cases[] = {
      {"IDR_A ACCELERATORS", "IDR_A", "ACCELERATORS", "", "", "", "IDR_A ACCELERATORS    "},
      {"IDR_A ACCELERATORS DISCARDABLE", "IDR_A", "ACCELERATORS", "", "DISCARDABLE", "",
       "IDR_A ACCELERATORS   DISCARDABLE "},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE", "IDR_A", "ACCELERATORS", "PRELOAD", "MOVEABLE", "",
       "IDR_A ACCELERATORS  PRELOAD MOVEABLE "},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE PURE", "IDR_A", "ACCELERATORS", "PRELOAD", "MOVEABLE", "PURE",
       "IDR_A ACCELERATORS  PRELOAD MOVEABLE PURE"},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE PURE X", "", "", "", "", "", "     "},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Table(c.header, {"VK_F1, ID_HELP, VIRTKEY"}));
    ASSERT_TRUE(loaded.result) << c.header;
    ASSERT_EQ(loaded.rc->Accelerators.Count(), 1);
    const clsAccelerator& table = loaded.rc->Accelerators.Item(1);
    EXPECT_EQ(table.ID, c.id) << c.header;
    EXPECT_EQ(table.ItemType, c.itemType) << c.header;
    EXPECT_EQ(table.Predisposition, c.predisposition) << c.header;
    EXPECT_EQ(table.Disposition, c.disposition) << c.header;
    EXPECT_EQ(table.Handling, c.handling) << c.header;
    EXPECT_EQ(table.Line, 1);
    EXPECT_EQ(loaded.rc->Accelerators.Key(1), c.id);
    EXPECT_EQ(table.PrintLines().Item(1), c.printed) << c.header;
  }
}

// Tables written without a memory option are keyed by their own identifiers, so two of them
// load side by side; the same identifier twice is still a duplicate.
TEST(AcceleratorReadTest, TwoWordHeadersKeepTheirIdentifiers) {
  Loaded two = LoadText(Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY"}) +
                        Table("IDR_B ACCELERATORS", {"VK_F2, ID_B, VIRTKEY"}));
  ASSERT_TRUE(two.result);
  ASSERT_EQ(two.rc->Accelerators.Count(), 2);
  EXPECT_EQ(two.rc->Accelerators.Item("idr_b").Keys.Item(1).ID, "ID_B");

  Loaded same = LoadText(Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY"}) +
                         Table("IDR_A ACCELERATORS DISCARDABLE", {"VK_F2, ID_B, VIRTKEY"}));
  EXPECT_FALSE(same.result);
  EXPECT_EQ(same.rc->Accelerators.Count(), 1);
  ASSERT_EQ(same.log->entries.size(), 1u);
  EXPECT_EQ(same.log->entries[0].message,
            "RCpA-03: Key is already associated with an element of this collection (457)");
  EXPECT_EQ(same.log->entries[0].location, "8:  END");
}

TEST(AcceleratorReadTest, ShortcutLines) {
  struct Case {
    std::string line;
    std::string key, id, itemType, modifier;
  };
  const Case cases[] = {
      {"VK_F6, ID_NEXT_PANE, VIRTKEY", "VK_F6", "ID_NEXT_PANE", "VIRTKEY", ""},
      {"\"N\",  ID_FILE_NEW,  VIRTKEY, CONTROL", "\"N\"", "ID_FILE_NEW", "VIRTKEY", "CONTROL"},
      {"VK_DELETE, ID_CUT, VIRTKEY, SHIFT, NOINVERT", "VK_DELETE", "ID_CUT", "VIRTKEY", "SHIFT"},
      {"\"a b\", ID_AB, ASCII", "\"a b\"", "ID_AB", "ASCII", ""},  // blanks do not split
      {"65 , ID_65 , ASCII", "65", "ID_65", "ASCII", ""},
      {"\t\"^C\",\tID_COPY,\tASCII", "\"^C\"", "ID_COPY", "ASCII", ""},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Table("IDR_A ACCELERATORS DISCARDABLE", {c.line}));
    ASSERT_TRUE(loaded.result) << c.line;
    const clsAcceleratorKey& key = loaded.rc->Accelerators.Item("IDR_A").Keys.Item(1);
    EXPECT_EQ(key.Key, c.key) << c.line;
    EXPECT_EQ(key.ID, c.id) << c.line;
    EXPECT_EQ(key.ItemType, c.itemType) << c.line;
    EXPECT_EQ(key.Modifier, c.modifier) << c.line;
    EXPECT_EQ(key.Line, 3);
    EXPECT_EQ(key.RelIndex, 0);
  }
}

TEST(AcceleratorReadTest, BlankAndCommentLinesAreSkipped) {
  Loaded loaded = LoadText(Crlf({"IDR_A ACCELERATORS DISCARDABLE", "\t BEGIN ", "VK_F1, ID_HELP, VIRTKEY", "",
                                 "    // the next one", "   ", "VK_F2, ID_RENAME, VIRTKEY", "END",
                                 "// after the table"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  const clsAccelerator& table = loaded.rc->Accelerators.Item("IDR_A");
  ASSERT_EQ(table.Keys.Count(), 2);
  EXPECT_EQ(table.Keys.Item(2).ID, "ID_RENAME");
  EXPECT_EQ(table.Keys.Item(2).Line, 7);
}

TEST(AcceleratorReadTest, Failures) {
  struct Case {
    std::string name;
    std::string text;
    std::optional<std::string> message, location;
    bool messageBox;
  };
  const Case cases[] = {
      {"one token", Table("IDR_A ACCELERATORS", {"VK_F1"}), "RCpA-03: Index out of range (9)", "3:  VK_F1", false},
      {"two tokens", Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY", "VK_F1, ID_A"}),
       "RCpA-03: Index out of range (9)", "4:  VK_F1, ID_A", false},
      {"no BEGIN", Crlf({"IDR_A ACCELERATORS", "VK_F1, ID_A, VIRTKEY", "END"}), {}, {}, true},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.text);
    EXPECT_FALSE(loaded.result) << c.name;
    EXPECT_EQ(loaded.rc->Accelerators.Count(), 0) << c.name;
    EXPECT_EQ(loaded.messageBoxes, c.messageBox ? V{"Unable to process accelerator section."} : V{}) << c.name;
    if (!c.message) {
      EXPECT_TRUE(loaded.log->entries.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.name;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message) << c.name;
    EXPECT_EQ(loaded.log->entries[0].location, c.location) << c.name;
  }
}

TEST(AcceleratorReadTest, TableThatRunsOutOfLinesIsKept) {
  Loaded loaded = LoadText(Crlf({"IDR_A ACCELERATORS", "BEGIN", "VK_F1, ID_A, VIRTKEY"}));
  EXPECT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->Accelerators.Count(), 1);
  EXPECT_EQ(loaded.rc->Accelerators.Item(1).Keys.Count(), 1);
}

TEST(AcceleratorWriteTest, KeyLengthSetsTheAlignmentTabs) {
  struct Case {
    std::string key;
    std::string modifier;
    std::string line;
  };
  const Case cases[] = {
      {"VK_F1", "", "VK_F1,\t\t\tID_X,\t\tVIRTKEY"},
      {"\"N\"", "CONTROL", "\"N\",\t\t\tID_X,\t\tVIRTKEY,\tCONTROL"},
      {"VK_F10", "SHIFT", "VK_F10,\t\tID_X,\t\tVIRTKEY,\tSHIFT"},
      {"VK_ESCAPE_X", "", "VK_ESCAPE_X,\t\tID_X,\t\tVIRTKEY"},
      {"VK_BACKSPACE", "ALT", "VK_BACKSPACE,\tID_X,\t\tVIRTKEY,\tALT"},
  };
  for (const Case& c : cases) {
    clsAcceleratorKey key;
    key.Key = c.key;
    key.ID = "ID_X";
    key.ItemType = "VIRTKEY";
    key.Modifier = c.modifier;
    EXPECT_EQ(ToVector(key.PrintLines()), V{c.line}) << c.key;
  }
}

// A written table reads back to the same shortcuts: a shortcut without options must not end
// in a comma, or the next line would be joined to it.
TEST(AcceleratorWriteTest, WrittenTableReadsBack) {
  Loaded loaded = LoadText(Table("IDR_A ACCELERATORS PRELOAD MOVEABLE PURE",
                                 {"\"N\", ID_NEW, VIRTKEY, CONTROL", "VK_F6, ID_NEXT, VIRTKEY",
                                  "VK_F6, ID_PREV, VIRTKEY, SHIFT, NOINVERT", "VK_F1, ID_HELP, VIRTKEY"}));
  ASSERT_TRUE(loaded.result);
  const V expected{"IDR_A ACCELERATORS  PRELOAD MOVEABLE PURE",
                   "BEGIN",
                   "\t\"N\",\t\t\tID_NEW,\t\tVIRTKEY,\tCONTROL",
                   "\tVK_F6,\t\t\tID_NEXT,\t\tVIRTKEY",
                   "\tVK_F6,\t\t\tID_PREV,\t\tVIRTKEY,\tSHIFT",
                   "\tVK_F1,\t\t\tID_HELP,\t\tVIRTKEY",
                   "END"};
  EXPECT_EQ(ToVector(loaded.rc->Accelerators.Item(1).PrintLines()), expected);

  std::string again;
  for (const std::string& line : expected) again.append(line).append("\r\n");
  Loaded reread = LoadText(again);
  ASSERT_TRUE(reread.result);
  ASSERT_EQ(reread.rc->Accelerators.Item(1).Keys.Count(), 4);
  EXPECT_EQ(ToVector(reread.rc->Accelerators.Item(1).PrintLines()), expected);
}

}  // namespace
}  // namespace tamrel
