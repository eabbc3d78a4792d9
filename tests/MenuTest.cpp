// Menus: reading MENU resources into trees, writing them back, counting their words, the entry
// type that holds items and popups alike, and menus nested ten thousand deep.
#include <gtest/gtest.h>
#include <pthread.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Script(const V& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

clsMenuItem Item(std::string text, std::string map = "ID_X") {
  clsMenuItem item;
  item.ItemType = "MENUITEM";
  item.Text = std::move(text);
  item.Map = std::move(map);
  return item;
}

const V kWritten{
    "IDR_MAIN MENU DISCARDABLE",
    "BEGIN",
    "\tPOPUP \"&File\"",
    "\tBEGIN",
    "\t\tMENUITEM \"&Open...\",\t\t\t\tID_FILE_OPEN",
    "\t\tMENUITEM SEPARATOR",
    "\tEND",
    "\tMENUITEM \"&Help\",\t\t\t\tID_HELP",
    "\tPOPUP \"&View\"",
    "\tBEGIN",
    "\t\tPOPUP \"&Zoom\"",
    "\t\tBEGIN",
    "\t\t\tMENUITEM \"In\",\t\t\t\tID_ZOOM_IN",
    "\t\tEND",
    "\tEND",
    "END",
};

TEST(MenuReadTest, ReadsTreesAndWritesThemBack) {
  Loaded loaded = LoadText(Script({
      "IDR_MAIN MENU DISCARDABLE PURE", "BEGIN", "    POPUP \"&File\"", "    BEGIN",
      "        MENUITEM \"&Open...\",   ID_FILE_OPEN, GRAYED",  // 5: the option is dropped
      "", "        // comment", "        MENUITEM SEPARATOR", "    END",
      "    MENUITEM \"&Help\", ID_HELP",  // 10
      "    POPUP \"&View\"", "    BEGIN", "        POPUP \"&Zoom\"", "        BEGIN",
      "            MENUITEM \"In\", ID_ZOOM_IN", "        END", "    END", "END",
      "IDR_SMALL MENU", "BEGIN", "MENUITEM \"A\", ID_A", "END",  // no memory option
  }));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  const clsRC& rc = *loaded.rc;
  ASSERT_EQ(rc.Menus.Count(), 2);
  EXPECT_EQ(rc.TotalMenuItems, 8);  // five items and three popups, over both menus
  const clsMenu& menu = rc.Menus.Item(1);
  EXPECT_EQ(ToVector(menu.PrintLines()), kWritten);
  EXPECT_EQ(ToVector(rc.Menus.Item(2).PrintLines()), (V{"IDR_SMALL MENU ", "BEGIN", "\tMENUITEM \"A\",\t\t\t\tID_A", "END"}));

  EXPECT_EQ(menu.Disposition, "DISCARDABLE");  // later header words are dropped
  EXPECT_EQ(rc.Menus.Item(2).Disposition, "");
  EXPECT_EQ(menu.Line, 1);
  EXPECT_EQ(menu.RelIndex, 1);
  const clsMenu& file = menu.Items.Item(1).Popup();
  EXPECT_EQ(file.ID, "IDR_MAIN");
  EXPECT_EQ(file.Text, "\"&File\"");
  EXPECT_EQ(file.Line, 3);
  const clsMenuItem& separator = file.Items.Item(2).MenuItem();
  EXPECT_EQ(separator.Map, "SEPARATOR");
  EXPECT_EQ(separator.Line, 8);
  EXPECT_EQ(separator.RelIndex, 2);  // blank and comment lines do not count
  EXPECT_EQ(menu.Items.Item(2).MenuItem().Line, 10);
  const clsMenu& view = menu.Items.Item(3).Popup();
  EXPECT_EQ(view.RelIndex, 3);
  EXPECT_EQ(view.Items.Item(1).Popup().ID, "IDR_MAIN");

  // What was written reads back into the same tree.
  Loaded reread = LoadText(Script(kWritten));
  ASSERT_TRUE(reread.result);
  EXPECT_EQ(ToVector(reread.rc->Menus.Item(1).PrintLines()), kWritten);
}

// A missing BEGIN ends the reading silently; a statement the reader cannot take is reported
// once, by the innermost block; nothing of an unfinished tree is attached. Blocks that run out
// of lines are kept.
TEST(MenuReadTest, FailuresAndUnclosedBlocks) {
  struct Case {
    V lines;
    bool result;
    int menus, totalMenuItems;
    std::optional<std::string> message, location;
  };
  const Case cases[] = {
      {{"IDR_A MENU", "MENUITEM \"A\", ID_A", "END"}, false, 0, 0, {}, {}},
      {{"IDR_A MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP \"P\"", "MENUITEM \"B\", ID_B", "END"}, false, 0, 1, {}, {}},
      {{"MENU", "BEGIN", "END"}, false, 0, 0, "RCpM-03: Index out of range (9)", "1:  MENU"},
      {{"IDR_A MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP", "BEGIN", "END", "END"}, false, 0, 1,
       "RCpM-03: Index out of range (9)", "4:  POPUP"},
      {{"IDR_A MENU", "BEGIN", "POPUP \"P\"", "BEGIN", "POPUP \"Q\"", "BEGIN", "MENUITEM \"B\", ID_B",
        "MENUITEM \"A\"", "END", "END", "END"},
       false, 0, 1, "RCpM-07: Index out of range (9)", "8:  MENUITEM \"A\""},
      {{"IDR_A MENU"}, false, 0, 0, "RCprf-07: Index out of range (9)", {}},  // no line for the location
      {{"IDR_A MENU", "BEGIN", "MENUITEM \"A\", ID_A"}, true, 1, 1, {}, {}},
      {{"IDR_A MENU", "BEGIN", "POPUP \"P\"", "BEGIN", "MENUITEM \"A\", ID_A"}, true, 1, 2, {}, {}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Script(c.lines));
    const std::string name = c.lines.back();
    EXPECT_EQ(loaded.result, c.result) << name;
    EXPECT_EQ(loaded.rc->Menus.Count(), c.menus) << name;
    EXPECT_EQ(loaded.rc->TotalMenuItems, c.totalMenuItems) << name;
    EXPECT_TRUE(loaded.messageBoxes.empty()) << name;
    ASSERT_EQ(loaded.log->entries.size(), c.message ? 1u : 0u) << name;
    if (!c.message) continue;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message) << name;
    EXPECT_EQ(loaded.log->entries[0].location, c.location) << name;
  }
}

// The cursor stays on each block's closing line: progress after a popup is the line after its
// END, and the walk goes on after the menu's END.
TEST(MenuReadTest, ProgressFollowsTheCursor) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Script({"M MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP \"P\"", "BEGIN",
                                   "MENUITEM \"B\", ID_B", "END", "END"}),
                           form);
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(V(form->calls.end() - 7, form->calls.end()),
            (V{"status:Building resource..", "value=4", "value=7", "value=8", "max?", "value=0", "status:Ready."}));
}

TEST(MenuWriteTest, CaptionLengthSetsTheAlignmentTabs) {
  const std::pair<std::size_t, std::string> cases[] = {  // length with quotes, tabs after the comma
      {2, "\t\t\t\t"}, {11, "\t\t\t\t"}, {12, "\t\t\t"}, {23, "\t\t\t"}, {24, "\t\t"}, {40, "\t\t"}};
  for (const auto& [length, tabs] : cases) {
    clsMenuItem item = Item("\"" + std::string(length - 2, 'x') + "\"");
    EXPECT_EQ(ToVector(item.PrintLines()), V{"MENUITEM " + item.Text + "," + tabs + "ID_X"}) << length;
  }
}

TEST(MenuCountTest, ItemsAreCountedCaptionsAreNot) {
  clsMenu popup;
  popup.Text = "\"three word caption\"";
  popup.Items.Add(Item("\"Open\""));
  popup.Items.Add(Item("SEPARATOR"));
  clsMenu menu;
  menu.Items.Add(popup);
  menu.Items.Add(Item("\"Zoom 200 50%\""));
  EXPECT_EQ(menu.Items.Item(1).DisplayWordCount(), 2);
  const std::pair<Variant, int> cases[] = {{Variant(), 5}, {0, 5}, {1, 3}, {"2", 3}};
  for (const auto& [operation, count] : cases) EXPECT_EQ(menu.DisplayWordCount(operation), count);
  EXPECT_THROW(menu.DisplayWordCount("abc"), RCError);  // passed on to the items, which need a number
  EXPECT_EQ(clsMenu().DisplayWordCount("abc"), 0);

  std::string words;
  for (int i = 0; i < 20000; ++i) words += "w ";
  menu.Items.Item(1).Popup().Items.Add(Item(words));
  menu.Items.Add(Item(words));
  EXPECT_THROW(menu.DisplayWordCount(), RCError);  // past 32,767
}

TEST(MenuEntryTest, KindsCopiesAndMoves) {
  clsMenu popup;
  popup.ItemType = "POPUP";
  popup.Text = "\"File\"";
  popup.Items.Add(Item("\"Open\""));
  MenuEntry itemEntry = Item("\"a b\"");
  MenuEntry popupEntry = popup;
  EXPECT_FALSE(itemEntry.IsPopup());
  EXPECT_TRUE(popupEntry.IsPopup());
  EXPECT_EQ(ToVector(popupEntry.PrintLines()), ToVector(popup.PrintLines()));
  EXPECT_EQ(itemEntry.DisplayWordCount() + popupEntry.DisplayWordCount(), 3);
  EXPECT_EQ(popupEntry.Visit([](const auto& child) { return child.Text; }), "\"File\"");
  auto errorOf = [](auto&& call) {
    try {
      call();
    } catch (const RCError& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(errorOf([&] { itemEntry.Popup(); }), err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { popupEntry.MenuItem(); }), err::TypeMismatch);

  // Copies are independent trees, keys included; a moved-from entry holds an empty item.
  clsMenu menu;
  menu.Items.Add(popupEntry, "file");
  clsMenu copy = menu;
  copy.Items.Item("FILE").Popup().Items.Item(1).MenuItem().Text = "\"Close\"";
  EXPECT_EQ(menu.Items.Item(1).Popup().Items.Item(1).MenuItem().Text, "\"Open\"");
  clsMenu assigned;
  assigned = copy;
  const clsMenu& self = assigned;
  assigned = self;
  EXPECT_EQ(ToVector(assigned.PrintLines()), ToVector(copy.PrintLines()));
  MenuEntry taken = std::move(popupEntry);
  EXPECT_TRUE(taken.IsPopup());
  EXPECT_EQ(popupEntry.MenuItem().Text, "");  // NOLINT(bugprone-use-after-move): an empty item by design
}

// ---- Deep nesting ----

constexpr int kDepth = 10000;

template <class Menu>  // clsMenu or const clsMenu
Menu& Innermost(Menu& menu) {
  Menu* at = &menu;
  while (at->Items.Item(1).IsPopup()) at = &at->Items.Item(1).Popup();
  return *at;
}

void DeepMenuRoundTrip() {
  std::string text = "IDR_DEEP MENU DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 0; i < kDepth; ++i) text += "POPUP \"Level\"\r\nBEGIN\r\n";
  text += "MENUITEM \"Deep item\", ID_DEEP\r\n";
  for (int i = 0; i <= kDepth; ++i) text += "END\r\n";
  Loaded loaded = LoadText(text);
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->TotalMenuItems, kDepth + 1);
  const clsMenu& menu = loaded.rc->Menus.Item(1);
  EXPECT_EQ(Innermost(menu).Line, 2 * kDepth + 1);
  EXPECT_EQ(menu.DisplayWordCount(1), 2);
  {
    const LineCollection lines = menu.PrintLines();
    ASSERT_EQ(lines.Count(), 3 * kDepth + 4);
    EXPECT_EQ(lines.Item(2 * kDepth + 3), std::string(kDepth + 1, '\t') + "MENUITEM \"Deep item\",\t\t\t\tID_DEEP");
    EXPECT_EQ(lines.Item(2 * kDepth + 4), std::string(kDepth, '\t') + "END");
  }

  clsRC copy = *loaded.rc;
  Innermost(copy.Menus.Item(1)).Items.Item(1).MenuItem().Text = "\"Changed three words\"";
  EXPECT_EQ(copy.Menus.Item(1).DisplayWordCount(), 3);
  EXPECT_EQ(menu.DisplayWordCount(), 2);
  clsMenu assigned;
  assigned = copy.Menus.Item(1);  // copy assignment
  assigned = clsMenu(menu);       // move assignment frees the previous tree
  MenuEntry entry = assigned;
  MenuEntry entryCopy = entry;
  EXPECT_EQ(entryCopy.DisplayWordCount(), 2);
  loaded.rc.reset();
}

// A walk that recursed once per level would overflow this stack.
TEST(MenuDeepTest, TenThousandLevelsOnASmallStack) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  auto body = [](void*) -> void* {
    DeepMenuRoundTrip();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, body, nullptr), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

}  // namespace
}  // namespace tamrel
