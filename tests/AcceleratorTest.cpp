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

// Each header form fills its fields; the written header keeps every separator.
TEST(AcceleratorReadTest, HeaderForms) {
  const std::pair<std::string, std::string> cases[] = {  // header, written header
      {"IDR_A ACCELERATORS", "IDR_A ACCELERATORS    "},
      {"IDR_A ACCELERATORS DISCARDABLE", "IDR_A ACCELERATORS   DISCARDABLE "},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE", "IDR_A ACCELERATORS  PRELOAD MOVEABLE "},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE PURE", "IDR_A ACCELERATORS  PRELOAD MOVEABLE PURE"},
      {"IDR_A ACCELERATORS PRELOAD MOVEABLE PURE X", "     "},
  };
  for (const auto& [header, written] : cases) {
    Loaded loaded = LoadText(Table(header, {"VK_F1, ID_HELP, VIRTKEY"}));
    ASSERT_TRUE(loaded.result) << header;
    const clsAccelerator& table = loaded.rc->Accelerators.Item(1);
    EXPECT_EQ(table.PrintLines().Item(1), written);
    EXPECT_EQ(loaded.rc->Accelerators.Key(1), table.ID);
    EXPECT_EQ(table.Line, 1);
  }
}

// Tables written without a memory option keep their own identifiers, so two of them load side
// by side; the same identifier twice is still a duplicate.
TEST(AcceleratorReadTest, TwoWordHeadersKeepTheirIdentifiers) {
  Loaded two = LoadText(Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY"}) +
                        Table("IDR_B ACCELERATORS", {"VK_F2, ID_B, VIRTKEY"}));
  ASSERT_TRUE(two.result);
  EXPECT_EQ(two.rc->Accelerators.Item("idr_b").Keys.Item(1).ID, "ID_B");
  EXPECT_EQ(two.rc->Accelerators.Item("IDR_A").ItemType, "ACCELERATORS");

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
  const V cases[] = {  // line; Key, ID, ItemType, Modifier
      {"VK_F6, ID_NEXT_PANE, VIRTKEY", "VK_F6", "ID_NEXT_PANE", "VIRTKEY", ""},
      {"VK_DELETE, ID_CUT, VIRTKEY, SHIFT, NOINVERT", "VK_DELETE", "ID_CUT", "VIRTKEY", "SHIFT"},
      {"\"a b\", ID_AB, ASCII", "\"a b\"", "ID_AB", "ASCII", ""},  // blanks do not split
      {"\t65 , ID_65 ,\tASCII", "65", "ID_65", "ASCII", ""},
  };
  for (const V& c : cases) {
    Loaded loaded = LoadText(Table("IDR_A ACCELERATORS", {"", "// first", c[0]}));
    ASSERT_TRUE(loaded.result) << c[0];
    const Collection<clsAcceleratorKey>& keys = loaded.rc->Accelerators.Item(1).Keys;
    ASSERT_EQ(keys.Count(), 1);  // the blank and the comment line are skipped
    const clsAcceleratorKey& key = keys.Item(1);
    EXPECT_EQ((V{c[0], key.Key, key.ID, key.ItemType, key.Modifier}), c);
    EXPECT_EQ(key.Line, 5);
  }
}

TEST(AcceleratorReadTest, Failures) {
  struct Case {
    std::string text;
    std::optional<std::string> message, location;
  };
  const Case cases[] = {
      {Table("IDR_A ACCELERATORS", {"VK_F1"}), "RCpA-03: Index out of range (9)", "3:  VK_F1"},
      {Table("IDR_A ACCELERATORS", {"", "VK_F1, ID_A"}), "RCpA-03: Index out of range (9)", "4:  VK_F1, ID_A"},
      {Crlf({"IDR_A ACCELERATORS", "VK_F1, ID_A, VIRTKEY", "END"}), {}, {}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(c.text);
    EXPECT_FALSE(loaded.result);
    EXPECT_EQ(loaded.rc->Accelerators.Count(), 0);
    EXPECT_EQ(loaded.messageBoxes, c.message ? V{} : V{"Unable to process accelerator section."});
    ASSERT_EQ(loaded.log->entries.size(), c.message ? 1u : 0u);
    if (!c.message) continue;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message);
    EXPECT_EQ(loaded.log->entries[0].location, c.location);
  }

  Loaded unclosed = LoadText(Crlf({"IDR_A ACCELERATORS", "\t BEGIN ", "VK_F1, ID_A, VIRTKEY"}));
  EXPECT_TRUE(unclosed.result);
  EXPECT_EQ(unclosed.rc->Accelerators.Item(1).Keys.Count(), 1);
}

TEST(AcceleratorWriteTest, KeyLengthSetsTheAlignmentTabs) {
  const V cases[] = {  // Key, Modifier, line
      {"VK_F1", "", "VK_F1,\t\t\tID_X,\t\tVIRTKEY"},
      {"VK_F10", "SHIFT", "VK_F10,\t\tID_X,\t\tVIRTKEY,\tSHIFT"},
      {"VK_ESCAPE_X", "", "VK_ESCAPE_X,\t\tID_X,\t\tVIRTKEY"},
      {"VK_BACKSPACE", "ALT", "VK_BACKSPACE,\tID_X,\t\tVIRTKEY,\tALT"},
  };
  for (const V& c : cases) {
    clsAcceleratorKey key;
    key.Key = c[0];
    key.ID = "ID_X";
    key.ItemType = "VIRTKEY";
    key.Modifier = c[1];
    EXPECT_EQ(ToVector(key.PrintLines()), V{c[2]}) << c[0];
  }
}

// A shortcut without options must not end in a comma, or reading the written table back would
// join the next line to it.
TEST(AcceleratorWriteTest, WrittenTableReadsBack) {
  const V written{"IDR_A ACCELERATORS  PRELOAD MOVEABLE PURE", "BEGIN", "\t\"N\",\t\t\tID_NEW,\t\tVIRTKEY,\tCONTROL",
                  "\tVK_F6,\t\t\tID_NEXT,\t\tVIRTKEY", "\tVK_F1,\t\t\tID_HELP,\t\tVIRTKEY", "END"};
  Loaded loaded = LoadText(Table("IDR_A ACCELERATORS PRELOAD MOVEABLE PURE",
                                 {"\"N\", ID_NEW, VIRTKEY, CONTROL", "VK_F6, ID_NEXT, VIRTKEY", "VK_F1, ID_HELP, VIRTKEY"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(ToVector(loaded.rc->Accelerators.Item(1).PrintLines()), written);

  std::string again;
  for (const std::string& line : written) again.append(line).append("\r\n");
  Loaded reread = LoadText(again);
  ASSERT_TRUE(reread.result);
  EXPECT_EQ(ToVector(reread.rc->Accelerators.Item(1).PrintLines()), written);
}

}  // namespace
}  // namespace tamrel
