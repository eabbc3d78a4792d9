// Menus: reading MENU resources into trees, writing and counting them, the entry type that holds
// items and popups alike, and menus nested ten thousand deep.
#include <gtest/gtest.h>
#include <pthread.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// "result menus items", then " | report @ location" per log entry and " | text" per message box.
std::string Outcome(const Loaded& loaded) {
  std::string text = std::to_string(loaded.result) + " " + std::to_string(loaded.rc->Menus.Count()) + " " +
                     std::to_string(loaded.rc->TotalMenuItems);
  for (const LogEntry& e : loaded.log->entries) text += " | " + e.message + " @ " + e.location.value_or("-");
  for (const std::string& box : loaded.messageBoxes) text += " | " + box;
  return text;
}

// Options after an item's identifier and header words after the memory option are dropped; a
// two-word header reads with an empty Disposition. Captions of 11, 12, 23 and 24 characters meet
// the tab steps. Blank and comment lines keep the line numbers but take no position.
TEST(MenuTest, ReadWriteReadAgain) {
  const std::initializer_list<std::string_view> written = {
      "IDR_MAIN MENU DISCARDABLE", "BEGIN", "\tPOPUP \"&File\"", "\tBEGIN", "\t\tMENUITEM \"&Open All\",\t\t\t\tID_OPEN",
      "\t\tMENUITEM SEPARATOR", "\tEND", "\tMENUITEM \"&Help Text\",\t\t\tID_HELP", "\tPOPUP \"&View\"", "\tBEGIN",
      "\t\tPOPUP \"&Zoom\"", "\t\tBEGIN", "\t\t\tMENUITEM \"Zoom 200 50% Of Width\",\t\t\tID_ZOOM", "\t\tEND", "\tEND",
      "END"};
  Loaded loaded = LoadText(Crlf(
      {"IDR_MAIN MENU DISCARDABLE PURE", "BEGIN", "    POPUP \"&File\"", "    BEGIN",
       "        MENUITEM \"&Open All\",   ID_OPEN, GRAYED", "", "        // comment", "        MENUITEM SEPARATOR",
       "    END", "    MENUITEM \"&Help Text\", ID_HELP", "    POPUP \"&View\"", "    BEGIN", "        POPUP \"&Zoom\"",
       "        BEGIN", "            MENUITEM \"Zoom 200 50% Of Width\", ID_ZOOM", "        END", "    END", "END",
       "IDR_SMALL MENU", "BEGIN", "MENUITEM \"About This Application\", ID_A", "END"}));
  EXPECT_EQ(Outcome(loaded), "1 2 8");  // five items and three popups
  const clsMenu& menu = loaded.rc->Menus.Item(1);
  EXPECT_EQ(ToVector(menu.PrintLines()), V(written.begin(), written.end()));
  EXPECT_EQ(ToVector(loaded.rc->Menus.Item(2).PrintLines()),
            (V{"IDR_SMALL MENU ", "BEGIN", "\tMENUITEM \"About This Application\",\t\tID_A", "END"}));
  const clsMenuItem& separator = menu.Items.Item(1).Popup().Items.Item(2).MenuItem();
  const clsMenu& view = menu.Items.Item(3).Popup();
  EXPECT_EQ((std::vector<int>{menu.Line, separator.Line, separator.RelIndex, view.Line, view.RelIndex}),
            (std::vector<int>{1, 8, 2, 11, 3}));
  EXPECT_EQ(view.Items.Item(1).Popup().ID, "IDR_MAIN");  // popups carry their menu's identifier
  EXPECT_EQ(ToVector(LoadText(Crlf(written)).rc->Menus.Item(1).PrintLines()), V(written.begin(), written.end()));
}

// A missing BEGIN, like a statement the reader cannot take, is reported once,
// by the innermost block; nothing of an unfinished tree is attached. Blocks that run out of lines
// are kept.
TEST(MenuTest, FailuresAndUnclosedBlocks) {
  const std::pair<std::string, std::string> cases[] = {
      {Crlf({"IDR_A MENU", "MENUITEM \"A\", ID_A", "END"}),
       "0 0 0 | RCpM-04: BEGIN expected after the block header (1001) @ 2:  MENUITEM \"A\", ID_A"},
      {Crlf({"IDR_A MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP \"P\"", "MENUITEM \"B\", ID_B", "END"}),
       "0 0 1 | RCpM-04: BEGIN expected after the block header (1001) @ 5:  MENUITEM \"B\", ID_B"},
      {Crlf({"MENU", "BEGIN", "END"}), "0 0 0 | RCpM-03: Index out of range (9) @ 1:  MENU"},
      {Crlf({"IDR_A MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP", "BEGIN", "END", "END"}),
       "0 0 1 | RCpM-03: Index out of range (9) @ 4:  POPUP"},
      {Crlf({"IDR_A MENU", "BEGIN", "POPUP \"P\"", "BEGIN", "POPUP \"Q\"", "BEGIN", "MENUITEM \"B\", ID_B",
        "MENUITEM \"A\"", "END", "END", "END"}),
       "0 0 1 | RCpM-07: Index out of range (9) @ 8:  MENUITEM \"A\""},
      {Crlf({"IDR_A MENU"}), "0 0 0 | RCprf-07: Index out of range (9) @ -"},
      {Crlf({"IDR_A MENU", "BEGIN", "POPUP \"P\"", "BEGIN", "MENUITEM \"A\", ID_A"}), "1 1 2"},
  };
  for (const auto& [script, outcome] : cases) EXPECT_EQ(Outcome(LoadText(script)), outcome);

  // The cursor stays on each block's closing line: progress after a popup is the line after its END.
  auto form = std::make_shared<RecordingForm>();
  LoadText(Crlf({"M MENU", "BEGIN", "MENUITEM \"A\", A", "POPUP \"P\"", "BEGIN", "MENUITEM \"B\", B", "END", "END"}),
           form);
  EXPECT_EQ(V(form->calls.end() - 7, form->calls.end()),
            (V{"status:Building resource..", "value=4", "value=7", "value=8", "max?", "value=0", "status:Ready."}));
}

// Items are counted, popup captions are not, the operation is passed on, and the 16-bit total
// overflows past 32,767. The wrong kind of entry is a type mismatch; copies are independent trees,
// keys included; a moved-from entry is an empty item.
TEST(MenuTest, CountsEntriesAndCopies) {
  Loaded loaded = LoadText(Crlf({"M MENU", "BEGIN", "POPUP \"three word caption\"", "BEGIN", "MENUITEM \"Open\", ID_A",
                                   "MENUITEM SEPARATOR", "END", "MENUITEM \"Zoom 200 50%\", ID_B", "END"}));
  clsMenu& menu = loaded.rc->Menus.Item(1);
  EXPECT_EQ(menu.DisplayWordCount(), 5);
  const std::pair<Variant, int> cases[] = {{0, 5}, {1, 3}, {"2", 3}};
  for (const auto& [operation, count] : cases) EXPECT_EQ(menu.DisplayWordCount(operation), count);
  EXPECT_EQ(ErrorOf([&] { menu.DisplayWordCount("abc"); }), err::TypeMismatch);
  EXPECT_EQ(clsMenu().DisplayWordCount("abc"), 0);
  EXPECT_EQ(ErrorOf([&] { menu.Items.Item(1).MenuItem(); }), err::TypeMismatch);
  EXPECT_EQ(ErrorOf([&] { menu.Items.Item(2).Popup(); }), err::TypeMismatch);

  clsMenuItem big;
  for (int i = 0; i < 20000; ++i) big.Text += "w ";
  menu.Items.Add(big, "big");
  clsMenu copy = menu;
  copy.Items.Item(1).Popup().Items.Item(1).MenuItem().Text = "\"Close\"";
  EXPECT_EQ(menu.Items.Item(1).Popup().Items.Item(1).MenuItem().Text, "\"Open\"");
  copy.Items.Add(MenuEntry(copy.Items.Item("BIG")));  // 40,000 words in all
  EXPECT_EQ(ErrorOf([&] { copy.DisplayWordCount(); }), err::Overflow);
  MenuEntry taken = std::move(menu.Items.Item(1));
  EXPECT_TRUE(taken.IsPopup());
  EXPECT_EQ(menu.Items.Item(1).MenuItem().Text, "");
}

// Load, write, copy, count and destroy ten thousand nested popups on a stack that a walk recursing
// once per level would overflow.
TEST(MenuTest, TenThousandLevelsOnASmallStack) {
  auto body = [](void*) -> void* {
    [] {
      constexpr int kDepth = 10000;
      std::string text = "IDR_DEEP MENU\r\nBEGIN\r\n";
      for (int i = 0; i < kDepth; ++i) text += "POPUP \"Level\"\r\nBEGIN\r\n";
      text += "MENUITEM \"Deep item\", ID_DEEP\r\n";
      for (int i = 0; i <= kDepth; ++i) text += "END\r\n";
      Loaded loaded = LoadText(text);
      EXPECT_EQ(Outcome(loaded), "1 1 10001");
      const LineCollection lines = loaded.rc->Menus.Item(1).PrintLines();
      ASSERT_EQ(lines.Count(), 3 * kDepth + 4);
      EXPECT_EQ(lines.Item(2 * kDepth + 3), std::string(kDepth + 1, '\t') + "MENUITEM \"Deep item\",\t\t\t\tID_DEEP");
      clsRC copy = *loaded.rc;
      loaded.rc.reset();
      EXPECT_EQ(MenuEntry(copy.Menus.Item(1)).DisplayWordCount(1), 2);
    }();
    return nullptr;
  };
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, body, nullptr), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

}  // namespace
}  // namespace tamrel
