// The dialog reader: header forms, the STYLE / CAPTION / FONT / BEGIN layout and its messages,
// every control keyword, and the reports of failures inside a dialog.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Lines(const V& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

// A dialog with the given header and control statements around a fixed middle.
V DialogLines(const std::string& header, const V& controls) {
  V lines = {header, "STYLE WS_POPUP", "FONT 8, \"MS Sans Serif\"", "BEGIN"};
  lines.insert(lines.end(), controls.begin(), controls.end());
  lines.push_back("END");
  return lines;
}

TEST(DialogReaderTest, ReadsTheWholeDialog) {
  Loaded loaded = LoadText(Crlf({
      "// About box",
      "IDD_ABOUTBOX DIALOG DISCARDABLE  0, 0, 235, 55",
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU",
      "CAPTION \"About Notepad\"",
      "FONT 8, \"MS Sans Serif\"",
      "BEGIN",
      "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20",
      "    DEFPUSHBUTTON   \"OK\",IDOK,178,7,50,14,WS_GROUP",
      "END",
      "IDD_NEXT DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "END",
  }));
  ASSERT_TRUE(loaded.result);
  EXPECT_TRUE(loaded.log->entries.empty());
  ASSERT_EQ(loaded.rc->Dialogs.Count(), 2);  // the walk goes on after the dialog
  const clsDialog& d = loaded.rc->Dialogs.Item("idd_aboutbox");
  EXPECT_EQ(d.ID, "IDD_ABOUTBOX");
  EXPECT_EQ(d.ItemType, "DIALOG");
  EXPECT_EQ(d.Disposition, "DISCARDABLE");
  EXPECT_EQ((V{std::to_string(d.Left), std::to_string(d.Top), std::to_string(d.Width), std::to_string(d.Height)}),
            (V{"0", "0", "235", "55"}));
  EXPECT_EQ(ToVector(d.Style.Items), (V{"DS_MODALFRAME", "WS_CAPTION", "WS_POPUP", "WS_SYSMENU"}));
  EXPECT_EQ(d.Caption.Text, "\"About Notepad\"");
  EXPECT_EQ(d.Font.Name, "\"MS Sans Serif\"");
  EXPECT_EQ(d.Font.Size, 8);
  EXPECT_EQ((std::vector<int>{d.Line, d.Style.Line, d.Caption.Line, d.Font.Line, d.LastLine}),
            (std::vector<int>{2, 3, 4, 5, 9}));
  ASSERT_EQ(d.Controls.Count(), 2);
  EXPECT_EQ(d.Controls.Item(1).Map, "IDR_MAINFRAME");
  EXPECT_EQ(d.Controls.Item(2).Style.Line, 8);
}

TEST(DialogReaderTest, HeaderForms) {
  struct Case {
    std::string header;
    std::string itemType, disposition;
    std::vector<int> placement;  // left, top, width, height
  };
  const Case cases[] = {
      {"IDD_A DIALOG DISCARDABLE 0, 0, 235, 55", "DIALOG", "DISCARDABLE", {0, 0, 235, 55}},
      {"IDD_A DIALOGEX 0, 0, 186, 95", "DIALOGEX", "DISCARDABLE", {0, 0, 186, 95}},
      {"IDD_A DIALOG MOVEABLE 1, 2, 3, 4", "DIALOG", "MOVEABLE", {1, 2, 3, 4}},
      {"IDD_A DIALOGEX 0, 0, 100, 50, 77", "DIALOGEX", "DISCARDABLE", {0, 0, 100, 50}},  // help ID ignored
      {"IDD_A DIALOG -5, -6, 10, 20", "DIALOG", "DISCARDABLE", {-5, -6, 10, 20}},
      // Two memory options: the coordinates start at the first number.
      {"IDD_A DIALOG PRELOAD DISCARDABLE 90, 9, 144, 188", "DIALOG", "PRELOAD", {90, 9, 144, 188}},
      {"IDD_A DIALOG PRELOAD MOVEABLE PURE 1, 2, 3, 4", "DIALOG", "PRELOAD", {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Lines(DialogLines(c.header, {})));
    ASSERT_TRUE(loaded.result) << c.header;
    const clsDialog& d = loaded.rc->Dialogs.Item(1);
    EXPECT_EQ(d.ItemType, c.itemType) << c.header;
    EXPECT_EQ(d.Disposition, c.disposition) << c.header;
    EXPECT_EQ((std::vector<int>{d.Left, d.Top, d.Width, d.Height}), c.placement) << c.header;
  }
}

TEST(DialogReaderTest, CaptionIsOptionalAndMayStandOnTheNextLine) {
  Loaded loaded = LoadText(Crlf({
      "IDD_A DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "END",
      "IDD_B DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "CAPTION", "\"Split caption\"", "FONT 9, \"B\"", "{", "}",
      "IDD_C DIALOG 0, 0, 10, 10", "STYLE WS_CHILD |", "  WS_VISIBLE", "", "FONT 10, \"C\"", "BEGIN", "END",
  }));
  ASSERT_TRUE(loaded.result);
  ASSERT_EQ(loaded.rc->Dialogs.Count(), 3);
  const clsDialog& a = loaded.rc->Dialogs.Item("IDD_A");
  EXPECT_EQ(a.Caption.Text, "");
  EXPECT_EQ(a.Font.Line, 3);
  const clsDialog& b = loaded.rc->Dialogs.Item("IDD_B");
  EXPECT_EQ(b.Caption.Text, "\"Split caption\"");
  EXPECT_EQ(b.Caption.Line, 8);
  EXPECT_EQ(b.Font.Size, 9);
  EXPECT_EQ(b.LastLine, 12);
  const clsDialog& c = loaded.rc->Dialogs.Item("IDD_C");  // one blank line before FONT is passed over
  EXPECT_EQ(ToVector(c.Style.Items), (V{"WS_CHILD", "WS_VISIBLE"}));
  EXPECT_EQ(c.Font.Line, 17);
}

TEST(DialogReaderTest, LayoutMessages) {
  struct Case {
    V lines;
    std::string message;
  };
  const Case cases[] = {
      {{"IDD_X DIALOG 0, 0, 1, 1", "CAPTION \"c\"", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "END"},
       "Unable to process: IDD_X style information."},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "EXSTYLE WS_EX_TOPMOST", "FONT 8, \"A\"", "BEGIN", "END"},
       "Unable to process: IDD_X font information."},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "CAPTION \"c\"", "MENU IDR_M", "FONT 8, \"A\"", "BEGIN", "END"},
       "Unable to process: IDD_X font information."},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "", "BEGIN", "END"},
       "Unable to process: IDD_X begin controls."},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "  CONTROL x", "END"},
       "Unable to process: IDD_X begin controls."},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Lines(c.lines) + Lines(DialogLines("IDD_LATER DIALOG 0, 0, 1, 1", {})));
    EXPECT_FALSE(loaded.result) << c.message;
    EXPECT_EQ(loaded.messageBoxes, V{c.message});
    EXPECT_TRUE(loaded.log->entries.empty()) << c.message;
    EXPECT_EQ(loaded.rc->Dialogs.Count(), 0) << c.message;  // the walk stopped at the failure
  }
}

TEST(DialogReaderTest, ControlKeywords) {
  struct Case {
    V lines;  // the statement's physical lines; a blank or comment line gives no control
    std::string itemType, text, id, map, controlType;
    std::vector<int> placement;
    V style;
    bool known = true;  // a keyword the reader fills
  };
  const Case cases[] = {
      {{"    CONTROL         \"\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,30,80,10"},
       "CONTROL", "\"\"", "IDC_CHECK", "", "\"Button\"", {7, 30, 80, 10}, {"BS_AUTOCHECKBOX", "WS_TABSTOP"}},
      // As the writer lays it out: tabs after the keyword, an empty style on the second line.
      {{"\tCONTROL\t\t\"Check\", IDC_C2, \"Button\",", "\t\t\t, 1, 2, 3, 4"},
       "CONTROL", "\"Check\"", "IDC_C2", "", "\"Button\"", {1, 2, 3, 4}, {}},
      {{"    CONTROL         \"&Up\",IDC_UP,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,111,", "        38,25,10"},
       "CONTROL", "\"&Up\"", "IDC_UP", "", "\"Button\"", {111, 38, 25, 10}, {"BS_AUTORADIOBUTTON", "WS_GROUP"}},
      {{"    LTEXT           \"Fi&nd what:\",IDC_STATIC,6,9,42,8"},
       "LTEXT", "\"Fi&nd what:\"", "IDC_STATIC", "", "", {6, 9, 42, 8}, {}},
      {{""}, "", "", "", "", "", {}, {}},
      {{"    LTEXT           \"x\",IDC_STATIC,40,10,119,8,SS_NOPREFIX"},
       "LTEXT", "\"x\"", "IDC_STATIC", "", "", {40, 10, 119, 8}, {"SS_NOPREFIX"}},
      {{"    CTEXT           \"c\",IDC_C,1,2,3,4,SS_SUNKEN"}, "CTEXT", "\"c\"", "IDC_C", "", "", {1, 2, 3, 4}, {"SS_SUNKEN"}},
      {{"    RTEXT           \"r\",IDC_R,1,2,3,4"}, "RTEXT", "\"r\"", "IDC_R", "", "", {1, 2, 3, 4}, {}},
      {{"    PUSHBUTTON      \"Cancel\",IDCANCEL,189,23,50,14,WS_TABSTOP | NOT WS_GROUP"},
       "PUSHBUTTON", "\"Cancel\"", "IDCANCEL", "", "", {189, 23, 50, 14}, {"NOT WS_GROUP", "WS_TABSTOP"}},
      {{"    DEFPUSHBUTTON   \"OK\",IDOK,-5,0,50,14"}, "DEFPUSHBUTTON", "\"OK\"", "IDOK", "", "", {-5, 0, 50, 14}, {}},
      {{"    // a comment"}, "", "", "", "", "", {}, {}},
      {{"    GROUPBOX        \"Direction\",IDC_STATIC,107,26,74,28,WS_GROUP"},
       "GROUPBOX", "\"Direction\"", "IDC_STATIC", "", "", {107, 26, 74, 28}, {"WS_GROUP"}},
      {{"    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20"},
       "ICON", "", "IDC_STATIC", "IDR_MAINFRAME", "", {11, 17, 20, 20}, {}},
      {{"    EDITTEXT        IDC_FIND_TEXT,52,7,128,14,ES_AUTOHSCROLL"},
       "EDITTEXT", "", "IDC_FIND_TEXT", "", "", {52, 7, 128, 14}, {"ES_AUTOHSCROLL"}},
      {{"    COMBOBOX        IDC_FONT,52,28,127,80,CBS_DROPDOWNLIST | WS_VSCROLL | ", "        WS_TABSTOP"},
       "COMBOBOX", "", "IDC_FONT", "", "", {52, 28, 127, 80}, {"CBS_DROPDOWNLIST", "WS_TABSTOP", "WS_VSCROLL"}},
      {{"    LISTBOX         IDC_L,1,2,3,4,0x10000"}, "LISTBOX", "", "IDC_L", "", "", {1, 2, 3, 4}, {"WS_TABSTOP"}},
      {{"    SCROLLBAR       IDC_S,1,2,3,4"}, "SCROLLBAR", "", "IDC_S", "", "", {1, 2, 3, 4}, {}},
      {{"    SLIDER          \"s\",IDC_SL,1,2,3,4"}, "SLIDER", "", "", "", "", {0, 0, 0, 0}, {}, false},
      {{"    PUSHBUTTON      \"Last\",IDC_LAST,1,2,3,4"}, "PUSHBUTTON", "\"Last\"", "IDC_LAST", "", "", {1, 2, 3, 4}, {}},
  };
  V lines = DialogLines("IDD_X DIALOG 0, 0, 1, 1", {});
  lines.pop_back();
  std::vector<int> firstLines;
  for (const Case& c : cases) {
    firstLines.push_back(static_cast<int>(lines.size()) + 1);
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
  }
  lines.push_back("END");
  Loaded loaded = LoadText(Lines(lines));
  ASSERT_TRUE(loaded.result);
  const clsDialog& d = loaded.rc->Dialogs.Item(1);
  EXPECT_EQ(d.LastLine, static_cast<int>(lines.size()));

  int relIndex = 0;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    if (c.itemType.empty()) continue;
    ++relIndex;
    ASSERT_GE(d.Controls.Count(), relIndex);
    const clsControl& control = d.Controls.Item(relIndex);
    SCOPED_TRACE(c.lines[0]);
    EXPECT_EQ(control.ItemType, c.itemType);
    EXPECT_EQ(control.RelIndex, relIndex);
    EXPECT_EQ(control.Text, c.text);
    EXPECT_EQ(control.ID, c.id);
    EXPECT_EQ(control.Map, c.map);
    EXPECT_EQ(control.ControlType, c.controlType);
    EXPECT_EQ((std::vector<int>{control.Left, control.Top, control.Width, control.Height}), c.placement);
    EXPECT_EQ(ToVector(control.Style.Items), c.style);
    EXPECT_EQ(control.Line, c.known ? firstLines[i] : 0);
    bool styleRead = c.itemType == "CONTROL" || !c.style.empty();  // CONTROL always has a style argument
    EXPECT_EQ(control.Style.Line, styleRead ? firstLines[i] : 0);
  }
  EXPECT_EQ(d.Controls.Count(), relIndex);
}

TEST(DialogReaderTest, BlockWithoutEndRunsToTheEndOfTheDocument) {
  Loaded loaded = LoadText(Crlf({"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "{",
                                 "    LTEXT \"a\",IDC_A,1,2,3,4"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->Dialogs.Item(1).LastLine, 6);
  EXPECT_EQ(loaded.rc->Dialogs.Item(1).Controls.Count(), 1);
}

TEST(DialogReaderTest, FailuresAreReportedWithTheStepAndStatement) {
  struct Case {
    V lines;
    std::string message, location;
  };
  const Case cases[] = {
      {{"IDD_X DIALOG 0, 0, 70000, 5"}, "RCpD-01: Overflow (6)", "1:  IDD_X DIALOG 0, 0, 70000, 5"},
      {{"IDD_X DIALOG 0, 0, abc, 5"}, "RCpD-01: Type mismatch (13)", "1:  IDD_X DIALOG 0, 0, abc, 5"},
      {{"IDD_X DIALOG DISCARDABLE"}, "RCpD-01: Index out of range (9)", "1:  IDD_X DIALOG DISCARDABLE"},
      {{"IDD_X DIALOG 0, 0, 1, 1", ""}, "RCpD-02: Index out of range (9)", "2:  "},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP | 0x100000000"}, "RCpD-02: Overflow (6)",
       "2:  STYLE WS_POPUP | 0x100000000"},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "CAPTION \"c\"", "// no font"},
       "RCpD-04: Index out of range (9)", "4:  // no font"},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT x, \"A\""}, "RCpD-04: Type mismatch (13)",
       "3:  FONT x, \"A\""},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "  CONTROL \"a\",IDC_A,\"Button\",0,1,x,3,4"},
       "RCpD-07: Type mismatch (13)", "5:  CONTROL \"a\",IDC_A,\"Button\",0,1,x,3,4"},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "  LTEXT \"a\",IDC_A,1,2,3"},
       "RCpD-08: Index out of range (9)", "5:  LTEXT \"a\",IDC_A,1,2,3"},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "  ICON IDI_A"},
       "RCpD-09: Index out of range (9)", "5:  ICON IDI_A"},
      {{"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "  EDITTEXT IDC_E,1,2,3,40000"},
       "RCpD-10: Overflow (6)", "5:  EDITTEXT IDC_E,1,2,3,40000"},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Lines(c.lines) + "END\r\n");
    EXPECT_FALSE(loaded.result) << c.message;
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.message;
    EXPECT_EQ(loaded.log->entries[0].message, c.message);
    EXPECT_EQ(loaded.log->entries[0].location, c.location);
    EXPECT_EQ(loaded.log->entries[0].path, loaded.rc->Path);
    EXPECT_TRUE(loaded.messageBoxes.empty()) << c.message;
    EXPECT_EQ(loaded.rc->Dialogs.Count(), 0) << c.message;
  }
}

TEST(DialogReaderTest, DuplicateIdIsReportedWithTheLastStepTaken) {
  // The step label is that of the last control keyword read, or "06" for a block with none.
  struct Case {
    V controls;
    std::string message;
  };
  const Case cases[] = {
      {{}, "RCpD-06: Key is already associated with an element of this collection (457)"},
      {{"  LTEXT \"a\",IDC_A,1,2,3,4", "  SLIDER x"},
       "RCpD-08: Key is already associated with an element of this collection (457)"},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Lines(DialogLines("IDD_X DIALOG 0, 0, 1, 1", {})) +
                             Lines(DialogLines("idd_x DIALOG 0, 0, 2, 2", c.controls)));
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size(), 1u);
    EXPECT_EQ(loaded.log->entries[0].message, c.message);
    int end = 10 + static_cast<int>(c.controls.size());
    EXPECT_EQ(loaded.log->entries[0].location, std::to_string(end) + ":  END");
    ASSERT_EQ(loaded.rc->Dialogs.Count(), 1);
    EXPECT_EQ(loaded.rc->Dialogs.Item(1).Width, 1);
  }
}

TEST(DialogReaderTest, ProgressFollowsTheControlStatements) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(Lines(DialogLines("IDD_X DIALOG 0, 0, 1, 1",
                                             {"  LTEXT \"a\",IDC_A,1,2,3,4", "  COMBOBOX IDC_B,1,2,3,4,WS_CHILD |",
                                              "     WS_VISIBLE", "  LTEXT \"c\",IDC_C,1,2,3,4"})),
                           form);
  ASSERT_TRUE(loaded.result);
  V values;
  for (const std::string& call : form->calls)
    if (call.starts_with("value=")) values.push_back(call);
  // Before the dialog: 0; the reader: after each statement of the block; then the walk.
  EXPECT_EQ(values, (V{"value=0", "value=6", "value=8", "value=9", "value=0"}));
}

}  // namespace
}  // namespace tamrel
