// Menus: reading MENU resources into trees, writing them back, counting their words, and the
// entry type that holds items and popups alike, down to menus nested thousands deep.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

const std::string kMainMenu = Crlf({
    "// the main menu",                                     // 1
    "IDR_MAIN MENU DISCARDABLE",                            // 2
    "BEGIN",                                                // 3
    "    POPUP \"&File\"",                                  // 4
    "    BEGIN",                                            // 5
    "        MENUITEM \"&Open...\",   ID_FILE_OPEN",        // 6
    "",                                                     // 7
    "        // comment",                                   // 8
    "        MENUITEM SEPARATOR",                           // 9
    "        MENUITEM \"E&xit\",      ID_APP_EXIT, GRAYED",  // 10
    "    END",                                              // 11
    "    MENUITEM \"&Help\",          ID_HELP",             // 12
    "    POPUP \"&View\"",                                  // 13
    "    BEGIN",                                            // 14
    "        POPUP \"&Zoom\"",                              // 15
    "        BEGIN",                                        // 16
    "            MENUITEM \"In\",     ID_ZOOM_IN",          // 17
    "        END",                                          // 18
    "    END",                                              // 19
    "END",                                                  // 20
});

TEST(MenuReadTest, BuildsTheTreeInFileOrder) {
  Loaded loaded = LoadText(kMainMenu);
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  const clsRC& rc = *loaded.rc;
  ASSERT_EQ(rc.Menus.Count(), 1);
  EXPECT_EQ(rc.TotalMenuItems, 8);  // five items and three popups

  const clsMenu& menu = rc.Menus.Item(1);
  EXPECT_EQ(menu.ID, "IDR_MAIN");
  EXPECT_EQ(menu.ItemType, "MENU");
  EXPECT_EQ(menu.Disposition, "DISCARDABLE");
  EXPECT_EQ(menu.Text, "");
  EXPECT_EQ(menu.Map, "POPUP");
  EXPECT_EQ(menu.Line, 2);
  EXPECT_EQ(menu.RelIndex, 1);
  ASSERT_EQ(menu.Items.Count(), 3);

  const clsMenu& file = menu.Items.Item(1).Popup();
  EXPECT_EQ(file.ID, "IDR_MAIN");
  EXPECT_EQ(file.ItemType, "POPUP");
  EXPECT_EQ(file.Text, "\"&File\"");
  EXPECT_EQ(file.Disposition, "");
  EXPECT_EQ(file.Map, "POPUP");
  EXPECT_EQ(file.Line, 4);
  EXPECT_EQ(file.RelIndex, 1);
  ASSERT_EQ(file.Items.Count(), 3);  // the blank and the comment line are no items

  struct ItemCase {
    const clsMenuItem& item;
    std::string text, map;
    int line, relIndex;
  };
  const ItemCase items[] = {
      {file.Items.Item(1).MenuItem(), "\"&Open...\"", "ID_FILE_OPEN", 6, 1},
      {file.Items.Item(2).MenuItem(), "SEPARATOR", "SEPARATOR", 9, 2},
      {file.Items.Item(3).MenuItem(), "\"E&xit\"", "ID_APP_EXIT", 10, 3},  // GRAYED dropped
      {menu.Items.Item(2).MenuItem(), "\"&Help\"", "ID_HELP", 12, 2},
  };
  for (const ItemCase& c : items) {
    EXPECT_EQ(c.item.ItemType, "MENUITEM");
    EXPECT_EQ(c.item.Text, c.text);
    EXPECT_EQ(c.item.Map, c.map);
    EXPECT_EQ(c.item.Line, c.line) << c.text;
    EXPECT_EQ(c.item.RelIndex, c.relIndex) << c.text;
    EXPECT_EQ(c.item.ID, "");
  }

  const clsMenu& view = menu.Items.Item(3).Popup();
  EXPECT_EQ(view.RelIndex, 3);
  EXPECT_EQ(view.Line, 13);
  const clsMenu& zoom = view.Items.Item(1).Popup();
  EXPECT_EQ(zoom.ID, "IDR_MAIN");
  EXPECT_EQ(zoom.Text, "\"&Zoom\"");
  EXPECT_EQ(zoom.RelIndex, 1);
  EXPECT_EQ(zoom.Items.Item(1).MenuItem().Line, 17);
}

TEST(MenuReadTest, HeaderForms) {
  struct Case {
    std::string header;
    std::string id, itemType, disposition;
    V printed;
  };
  const Case cases[] = {
      {"IDR_A MENU", "IDR_A", "MENU", "", {"IDR_A MENU ", "BEGIN", "END"}},
      {"IDR_A MENU DISCARDABLE", "IDR_A", "MENU", "DISCARDABLE", {"IDR_A MENU DISCARDABLE", "BEGIN", "END"}},
      {"IDR_A MENU PRELOAD DISCARDABLE", "IDR_A", "MENU", "PRELOAD", {"IDR_A MENU PRELOAD", "BEGIN", "END"}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Crlf({c.header, "BEGIN", "END"}));
    ASSERT_TRUE(loaded.result) << c.header;
    ASSERT_EQ(loaded.rc->Menus.Count(), 1);
    const clsMenu& menu = loaded.rc->Menus.Item(1);
    EXPECT_EQ(menu.ID, c.id);
    EXPECT_EQ(menu.ItemType, c.itemType);
    EXPECT_EQ(menu.Disposition, c.disposition);
    EXPECT_EQ(ToVector(menu.PrintLines()), c.printed);
  }
}

TEST(MenuReadTest, TwoResourcesShareTheItemCount) {
  Loaded loaded = LoadText(Crlf({"IDR_A MENU", "BEGIN", "  MENUITEM \"A\", ID_A", "END", "",
                                 "IDR_B MENU", "BEGIN", "  POPUP \"P\"", "  BEGIN", "    MENUITEM \"B\", ID_B",
                                 "  END", "END"}));
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->Menus.Count(), 2);
  EXPECT_EQ(loaded.rc->Menus.Item(1).ID, "IDR_A");
  EXPECT_EQ(loaded.rc->Menus.Item(2).ID, "IDR_B");
  EXPECT_EQ(loaded.rc->TotalMenuItems, 3);
}

TEST(MenuReadTest, BlocksThatRunOutOfLinesAreKept) {
  Loaded flat = LoadText(Crlf({"IDR_A MENU", "BEGIN", "  MENUITEM \"A\", ID_A"}));
  EXPECT_TRUE(flat.result);
  ASSERT_EQ(flat.rc->Menus.Count(), 1);
  EXPECT_EQ(flat.rc->Menus.Item(1).Items.Count(), 1);

  Loaded nested = LoadText(Crlf({"IDR_A MENU", "BEGIN", "  POPUP \"P\"", "  BEGIN", "    MENUITEM \"A\", ID_A"}));
  EXPECT_TRUE(nested.result);
  EXPECT_TRUE(nested.log->entries.empty());
  ASSERT_EQ(nested.rc->Menus.Count(), 1);
  EXPECT_EQ(nested.rc->Menus.Item(1).Items.Item(1).Popup().Items.Count(), 1);
  EXPECT_EQ(nested.rc->TotalMenuItems, 2);
}

// The reader leaves the cursor on each block's closing line: the progress value after a popup is
// the line after its END, and the walk goes on after the menu's END.
TEST(MenuReadTest, ProgressFollowsTheCursor) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Crlf({"M MENU", "BEGIN", "MENUITEM \"A\", ID_A", "POPUP \"P\"", "BEGIN",
                                 "MENUITEM \"B\", ID_B", "END", "END"}),
                           form);
  ASSERT_TRUE(loaded.result);
  const V expected{"max=8", "value=0", "status:Building resource..", "value=4", "value=7", "value=8",
                   "max?", "value=0", "status:Ready."};
  EXPECT_EQ(V(form->calls.end() - static_cast<std::ptrdiff_t>(expected.size()), form->calls.end()), expected);
}

// Failures: a missing BEGIN ends the reading silently; a statement the reader cannot take is
// reported once, by the innermost block, and nothing of the unfinished tree is attached.
TEST(MenuReadTest, Failures) {
  struct Case {
    std::string name;
    std::vector<std::string_view> lines;
    std::optional<std::string> message, location;
    int totalMenuItems;
  };
  const Case cases[] = {
      {"no BEGIN after the header", {"IDR_A MENU", "MENUITEM \"A\", ID_A", "END"}, {}, {}, 0},
      {"no BEGIN after a popup",
       {"IDR_A MENU", "BEGIN", "  MENUITEM \"A\", ID_A", "  POPUP \"P\"", "  MENUITEM \"B\", ID_B", "END"},
       {},
       {},
       1},
      {"header of one token", {"MENU", "BEGIN", "END"}, "RCpM-03: Index out of range (9)", "1:  MENU", 0},
      {"popup without caption",
       {"IDR_A MENU", "BEGIN", "  MENUITEM \"A\", ID_A", "  POPUP", "  BEGIN", "  END", "END"},
       "RCpM-03: Index out of range (9)",
       "4:  POPUP",
       1},
      {"item without identifier, two levels deep",
       {"IDR_A MENU", "BEGIN", "  POPUP \"P\"", "  BEGIN", "    POPUP \"Q\"", "    BEGIN",
        "      MENUITEM \"B\", ID_B", "      MENUITEM \"A\"", "    END", "  END", "END"},
       "RCpM-07: Index out of range (9)",
       "8:  MENUITEM \"A\"",
       1},
  };
  for (const Case& c : cases) {
    std::string text;
    for (std::string_view line : c.lines) text.append(line).append("\r\n");
    Loaded loaded = LoadText(text);
    EXPECT_FALSE(loaded.result) << c.name;
    EXPECT_EQ(loaded.rc->Menus.Count(), 0) << c.name;
    EXPECT_EQ(loaded.rc->TotalMenuItems, c.totalMenuItems) << c.name;
    EXPECT_TRUE(loaded.messageBoxes.empty()) << c.name;
    if (!c.message) {
      EXPECT_TRUE(loaded.log->entries.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.name;
    EXPECT_EQ(loaded.log->entries[0].message, *c.message) << c.name;
    EXPECT_EQ(loaded.log->entries[0].location, c.location) << c.name;
  }
}

// A header on the last line has no BEGIN line to look at: the location of the report cannot be
// built either, so the walk reports instead.
TEST(MenuReadTest, HeaderOnTheLastLineIsReportedByTheWalk) {
  Loaded loaded = LoadText(Crlf({"IDR_A MENU"}));
  EXPECT_FALSE(loaded.result);
  ASSERT_EQ(loaded.log->entries.size(), 1u);
  EXPECT_EQ(loaded.log->entries[0].message, "RCprf-07: Index out of range (9)");
}

TEST(MenuWriteTest, NestingAddsOneTabALevel) {
  Loaded loaded = LoadText(kMainMenu);
  ASSERT_TRUE(loaded.result);
  const V expected{
      "IDR_MAIN MENU DISCARDABLE",
      "BEGIN",
      "\tPOPUP \"&File\"",
      "\tBEGIN",
      "\t\tMENUITEM \"&Open...\",\t\t\t\tID_FILE_OPEN",
      "\t\tMENUITEM SEPARATOR",
      "\t\tMENUITEM \"E&xit\",\t\t\t\tID_APP_EXIT",
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
  const clsMenu& menu = loaded.rc->Menus.Item(1);
  EXPECT_EQ(ToVector(menu.PrintLines()), expected);
  EXPECT_EQ(ToVector(menu.PrintLines()), expected);  // writing changes nothing

  // What was written reads back into the same tree.
  std::string again;
  for (const std::string& line : expected) again.append(line).append("\r\n");
  Loaded reread = LoadText(again);
  ASSERT_TRUE(reread.result);
  EXPECT_EQ(ToVector(reread.rc->Menus.Item(1).PrintLines()), expected);
  EXPECT_EQ(reread.rc->TotalMenuItems, loaded.rc->TotalMenuItems);
}

TEST(MenuWriteTest, CaptionLengthSetsTheAlignmentTabs) {
  struct Case {
    std::size_t length;  // quotes included
    std::string tabs;    // after the comma
  };
  const Case cases[] = {{2, "\t\t\t\t"}, {11, "\t\t\t\t"}, {12, "\t\t\t"}, {23, "\t\t\t"}, {24, "\t\t"}, {40, "\t\t"}};
  for (const Case& c : cases) {
    clsMenuItem item;
    item.ItemType = "MENUITEM";
    item.Text = "\"" + std::string(c.length - 2, 'x') + "\"";
    item.Map = "ID_X";
    EXPECT_EQ(ToVector(item.PrintLines()), V{"MENUITEM " + item.Text + "," + c.tabs + "ID_X"}) << c.length;
  }
  clsMenuItem separator;
  separator.ItemType = "MENUITEM";
  separator.Text = "SEPARATOR";
  separator.Map = "ignored";
  EXPECT_EQ(ToVector(separator.PrintLines()), V{"MENUITEM SEPARATOR"});
}

TEST(MenuCountTest, ItemsAreCountedCaptionsAreNot) {
  Loaded loaded = LoadText(Crlf({"IDR_A MENU", "BEGIN", "  POPUP \"three word caption\"", "  BEGIN",
                                 "    MENUITEM \"Open\", ID_OPEN", "    MENUITEM \"Close\", ID_CLOSE", "  END",
                                 "END"}));
  ASSERT_TRUE(loaded.result);
  clsMenu& menu = loaded.rc->Menus.Item(1);
  EXPECT_EQ(menu.DisplayWordCount(), 2);
  EXPECT_EQ(menu.Items.Item(1).DisplayWordCount(), 2);

  clsMenuItem separator;
  separator.Text = "SEPARATOR";
  menu.Items.Item(1).Popup().Items.Add(separator);
  EXPECT_EQ(menu.DisplayWordCount(), 3);

  clsMenuItem mixed;
  mixed.Text = "\"Zoom 200 50%\"";  // pieces: "Zoom, 200, 50%"
  menu.Items.Add(mixed);
  EXPECT_EQ(menu.DisplayWordCount(), 6);
  EXPECT_EQ(menu.DisplayWordCount(0), 6);
  EXPECT_EQ(menu.DisplayWordCount(1), 4);
  EXPECT_EQ(menu.DisplayWordCount("2"), 4);
  EXPECT_THROW(menu.DisplayWordCount("abc"), RCError);  // passed on to the items, which need a number
  EXPECT_EQ(clsMenu().DisplayWordCount("abc"), 0);
}

TEST(MenuCountTest, SumPastThe16BitRangeOverflows) {
  std::string words;
  for (int i = 0; i < 20000; ++i) words += "w ";
  clsMenuItem item;
  item.Text = words;
  clsMenu popup;
  popup.Items.Add(item);
  clsMenu menu;
  menu.Items.Add(item);
  EXPECT_EQ(menu.DisplayWordCount(), 20000);
  menu.Items.Add(popup);
  try {
    menu.DisplayWordCount();
    FAIL() << "expected an overflow";
  } catch (const RCError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
}

TEST(MenuEntryTest, HoldsAnItemOrAPopup) {
  clsMenuItem item;
  item.ItemType = "MENUITEM";
  item.Text = "\"Open file\"";
  item.Map = "ID_OPEN";
  clsMenu popup;
  popup.ItemType = "POPUP";
  popup.Text = "\"File\"";
  popup.Items.Add(item);

  MenuEntry itemEntry = item;
  MenuEntry popupEntry = popup;
  EXPECT_FALSE(itemEntry.IsPopup());
  EXPECT_TRUE(popupEntry.IsPopup());
  EXPECT_EQ(itemEntry.MenuItem().Map, "ID_OPEN");
  EXPECT_EQ(popupEntry.Popup().Text, "\"File\"");
  for (auto wrongKind : {std::function<void()>([&] { itemEntry.Popup(); }),
                         std::function<void()>([&] { popupEntry.MenuItem(); })}) {
    try {
      wrongKind();
      ADD_FAILURE() << "expected a type mismatch";
    } catch (const RCError& e) {
      EXPECT_EQ(e.Number(), err::TypeMismatch);
    }
  }

  // Both kinds answer the same calls.
  EXPECT_EQ(ToVector(itemEntry.PrintLines()), ToVector(item.PrintLines()));
  EXPECT_EQ(ToVector(popupEntry.PrintLines()), ToVector(popup.PrintLines()));
  EXPECT_EQ(itemEntry.DisplayWordCount(), 2);
  EXPECT_EQ(popupEntry.DisplayWordCount(), 2);
  EXPECT_EQ(popupEntry.Visit([](const auto& child) { return child.Text; }), "\"File\"");
  popupEntry.Visit([](auto& child) { child.Text = "\"Edit\""; });
  EXPECT_EQ(popupEntry.Popup().Text, "\"Edit\"");

  // A moved-from or default entry still holds something: an empty item.
  MenuEntry taken = std::move(popupEntry);
  EXPECT_TRUE(taken.IsPopup());
  EXPECT_FALSE(popupEntry.IsPopup());  // NOLINT(bugprone-use-after-move): the state is specified
  EXPECT_EQ(popupEntry.MenuItem().Text, "");
  EXPECT_EQ(MenuEntry().DisplayWordCount(), 0);
}

TEST(MenuEntryTest, CopiesAreIndependentTrees) {
  Loaded loaded = LoadText(kMainMenu);
  ASSERT_TRUE(loaded.result);
  const clsMenu& original = loaded.rc->Menus.Item(1);
  const V lines = ToVector(original.PrintLines());

  clsMenu copy = original;
  EXPECT_EQ(ToVector(copy.PrintLines()), lines);
  copy.Items.Item(3).Popup().Items.Item(1).Popup().Items.Item(1).MenuItem().Text = "\"Out\"";
  copy.Items.Item(1).Popup().Text = "\"&Datei\"";
  EXPECT_EQ(ToVector(original.PrintLines()), lines);
  EXPECT_NE(ToVector(copy.PrintLines()), lines);

  clsMenu assigned;
  assigned = original;
  EXPECT_EQ(ToVector(assigned.PrintLines()), lines);
  assigned = copy;  // replaces a whole tree
  EXPECT_EQ(ToVector(assigned.PrintLines()), ToVector(copy.PrintLines()));
  const clsMenu& self = assigned;
  assigned = self;
  EXPECT_EQ(ToVector(assigned.PrintLines()), ToVector(copy.PrintLines()));

  // Keys a host gave to entries are copied with them.
  clsMenu keyed;
  keyed.Items.Add(clsMenuItem{}, "first");
  keyed.Items.Add(clsMenu{}, "second");
  clsMenu keyedCopy = keyed;
  EXPECT_TRUE(keyedCopy.Items.Item("SECOND").IsPopup());
  EXPECT_EQ(keyedCopy.Items.Key(1), "first");

  // The whole document copies as a value.
  clsRC document = *loaded.rc;
  loaded.rc.reset();
  EXPECT_EQ(ToVector(document.Menus.Item(1).PrintLines()), lines);
}

// ---- Deep nesting ----

constexpr int kDepth = 10000;

std::string DeepMenuScript(int depth) {
  std::string text = "IDR_DEEP MENU DISCARDABLE\r\nBEGIN\r\n";
  text.reserve(static_cast<std::size_t>(depth) * 30);
  for (int i = 0; i < depth; ++i) text += "POPUP \"Level\"\r\nBEGIN\r\n";
  text += "MENUITEM \"Deep item\", ID_DEEP\r\n";
  for (int i = 0; i <= depth; ++i) text += "END\r\n";
  return text;
}

template <class Menu>  // clsMenu or const clsMenu
Menu& Innermost(Menu& menu) {
  Menu* at = &menu;
  while (at->Items.Count() > 0 && at->Items.Item(1).IsPopup()) at = &at->Items.Item(1).Popup();
  return *at;
}

void DeepMenuRoundTrip() {
  Loaded loaded = LoadText(DeepMenuScript(kDepth));
  ASSERT_TRUE(loaded.result);
  ASSERT_TRUE(loaded.log->entries.empty());
  EXPECT_EQ(loaded.rc->TotalMenuItems, kDepth + 1);
  const clsMenu& menu = loaded.rc->Menus.Item(1);
  const clsMenu& innermost = Innermost(menu);
  EXPECT_EQ(innermost.Line, 2 * kDepth + 1);
  EXPECT_EQ(innermost.Items.Item(1).MenuItem().Map, "ID_DEEP");
  EXPECT_EQ(menu.DisplayWordCount(), 2);
  EXPECT_EQ(menu.DisplayWordCount(1), 2);

  {
    const LineCollection lines = menu.PrintLines();
    ASSERT_EQ(lines.Count(), 3 * kDepth + 4);
    EXPECT_EQ(lines.Item(3), "\tPOPUP \"Level\"");
    EXPECT_EQ(lines.Item(2 * kDepth + 3), std::string(kDepth + 1, '\t') + "MENUITEM \"Deep item\",\t\t\t\tID_DEEP");
    EXPECT_EQ(lines.Item(2 * kDepth + 4), std::string(kDepth, '\t') + "END");
    EXPECT_EQ(lines.Item(3 * kDepth + 4), "END");
  }

  clsRC copy = *loaded.rc;
  Innermost(copy.Menus.Item(1)).Items.Item(1).MenuItem().Text = "\"Changed three words\"";
  EXPECT_EQ(copy.Menus.Item(1).DisplayWordCount(), 3);
  EXPECT_EQ(menu.DisplayWordCount(), 2);

  clsMenu assigned;
  assigned = copy.Menus.Item(1);          // copy assignment of a deep tree
  assigned = clsMenu(menu);               // move assignment frees the previous deep tree
  EXPECT_EQ(assigned.DisplayWordCount(), 2);
  MenuEntry entry = assigned;             // an entry holding a deep popup, copied and destroyed
  MenuEntry entryCopy = entry;
  EXPECT_EQ(entryCopy.DisplayWordCount(), 2);
  loaded.rc.reset();                      // destroys the original tree
}

// Runs `body` on a thread with a small stack, so that a walk recursing once per menu level
// would overflow it.
void OnSmallStack(void (*body)()) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* argument) -> void* {
                  (*static_cast<void (**)()>(argument))();
                  return nullptr;
                },
                &body),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(MenuDeepTest, TenThousandLevelsOnASmallStack) { OnSmallStack(&DeepMenuRoundTrip); }

}  // namespace
}  // namespace tamrel
