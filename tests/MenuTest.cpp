// Menus: counting them, the entry type that holds items and popups alike, and menus nested ten
// thousand deep. Reading and writing them, and their failures, are golden scripts (menu-*.rc).
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
  // A copy keeps what relaxed reading fills: the section language, option statements, MENUEX arguments.
  Loaded relaxed = LoadText(Crlf({"LANGUAGE 9, 1", "M MENUEX", "VERSION 2", "BEGIN", "POPUP \"P\", 5, , , 7", "BEGIN",
                                  "MENUITEM \"I\", 6", "END", "END"}),
                            nullptr, Layout::Relaxed);
  const clsMenu& read = relaxed.rc->Menus.Item(1);
  const clsMenu copied = read;
  EXPECT_EQ(copied.SectionLanguage, "9, 1");
  EXPECT_EQ(copied.PrintLines(), read.PrintLines());
  EXPECT_EQ(copied.PrintLines().Count(), 8);
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
