// Accelerator tables: the header forms, the shortcut lines, what fails, and the written table
// reading back to the same shortcuts.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Table(std::string_view header, std::initializer_list<std::string_view> body) {
  return Crlf({header, "BEGIN"}) + Crlf(body) + "END\r\n";
}

// Each header form fills its fields (two words: the identifier and type) and the written header
// keeps every separator. Blank and comment lines before a shortcut are skipped; options after the
// fourth token are dropped.
TEST(AcceleratorTest, HeadersAndShortcuts) {
  const V cases[] = {  // header, shortcut line; written header, written shortcut
      {"A ACCELERATORS", "VK_F6, ID_A, VIRTKEY", "A ACCELERATORS    ", "VK_F6,\t\t\tID_A,\t\tVIRTKEY"},
      {"A ACCELERATORS DISCARDABLE", "VK_DELETE, ID_B, VIRTKEY, SHIFT, NOINVERT", "A ACCELERATORS   DISCARDABLE ",
       "VK_DELETE,\t\tID_B,\t\tVIRTKEY,\tSHIFT"},
      {"A ACCELERATORS PRELOAD MOVEABLE", "\"a b\", ID_C, ASCII", "A ACCELERATORS  PRELOAD MOVEABLE ",
       "\"a b\",\t\t\tID_C,\t\tASCII"},
      {"A ACCELERATORS PRELOAD MOVEABLE PURE", "\t65 , ID_D ,\tASCII", "A ACCELERATORS  PRELOAD MOVEABLE PURE",
       "65,\t\t\tID_D,\t\tASCII"},
      {"A ACCELERATORS PRELOAD MOVEABLE PURE X", "F1, ID_E, VIRTKEY, ALT", "     ", "F1,\t\t\tID_E,\t\tVIRTKEY,\tALT"},
  };
  for (const V& c : cases) {
    Loaded loaded = LoadText(Table(c[0], {"", "// first", c[1]}));
    ASSERT_TRUE(loaded.result) << c[0];
    const clsAccelerator& table = loaded.rc->Accelerators.Item(1);
    EXPECT_EQ(ToVector(table.PrintLines()), (V{c[2], "BEGIN", "\t" + c[3], "END"}));
    EXPECT_EQ((std::vector<int>{table.Line, table.Keys.Item(1).Line}), (std::vector<int>{1, 5}));
  }
}

// A shortcut of fewer than three tokens is reported; a header without BEGIN shows a message; a
// table that runs out of lines is kept. Two-word headers keep their identifiers, so two such
// tables load side by side; the same identifier twice is a duplicate.
TEST(AcceleratorTest, Failures) {
  const std::pair<std::string, std::string> cases[] = {  // script; result, tables:keys | reports
      {Table("IDR_A ACCELERATORS", {"", "VK_F1, ID_A"}), "0 | RCpA-03: Index out of range (9) @ 4:  VK_F1, ID_A"},
      {Crlf({"IDR_A ACCELERATORS", "VK_F1, ID_A, VIRTKEY", "END"}), "0 | Unable to process accelerator section."},
      {Crlf({"IDR_A ACCELERATORS", "\t BEGIN ", "VK_F1, ID_A, VIRTKEY"}), "1 IDR_A:1"},
      {Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY"}) + Table("IDR_B ACCELERATORS", {"VK_F2, ID_B, VIRTKEY"}),
       "1 IDR_A:1 IDR_B:1"},
      {Table("IDR_A ACCELERATORS", {"VK_F1, ID_A, VIRTKEY"}) +
           Table("IDR_A ACCELERATORS DISCARDABLE", {"VK_F2, ID_B, VIRTKEY"}),
       "0 IDR_A:1 | RCpA-03: Key is already associated with an element of this collection (457) @ 8:  END"},
  };
  for (const auto& [script, outcome] : cases) {
    Loaded loaded = LoadText(script);
    std::string actual = std::to_string(loaded.result);
    for (const clsAccelerator& t : loaded.rc->Accelerators) actual += " " + t.ID + ":" + std::to_string(t.Keys.Count());
    for (const LogEntry& e : loaded.log->entries) actual += " | " + e.message + " @ " + e.location.value_or("-");
    for (const std::string& box : loaded.messageBoxes) actual += " | " + box;
    EXPECT_EQ(actual, outcome);
  }
}

// Keys of 5, 6, 11 and 12 characters meet the tab steps. A shortcut without a modifier ends
// without a comma, or reading the written table back would join the next line to it.
TEST(AcceleratorTest, WrittenTableReadsBack) {
  const std::initializer_list<std::string_view> written = {
      "IDR_A ACCELERATORS  PRELOAD MOVEABLE PURE", "BEGIN", "\tVK_F1,\t\t\tID_A,\t\tVIRTKEY",
      "\tVK_F10,\t\tID_B,\t\tVIRTKEY,\tSHIFT", "\tVK_BACKSPACE,\tID_C,\t\tVIRTKEY,\tALT",
      "\tVK_ESCAPE_X,\t\tID_D,\t\tVIRTKEY", "END"};
  Loaded loaded = LoadText(Crlf(written));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(ToVector(loaded.rc->Accelerators.Item(1).PrintLines()), V(written.begin(), written.end()));
}

}  // namespace
}  // namespace tamrel
