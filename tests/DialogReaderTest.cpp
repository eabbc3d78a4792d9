// The dialog reader: header forms, the STYLE / CAPTION / FONT / BEGIN layout and its messages,
// every control keyword, and the reports of failures inside a dialog.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// A dialog with the given header and control statements around a fixed middle.
V DialogLines(const std::string& header, const V& controls = {}) {
  V lines = {header, "STYLE WS_POPUP", "FONT 8, \"MS Sans Serif\"", "BEGIN"};
  lines.insert(lines.end(), controls.begin(), controls.end());
  lines.push_back("END");
  return lines;
}

TEST(DialogReaderTest, HeaderForms) {
  const std::pair<std::string, std::string> cases[] = {  // header, "ItemType Disposition l,t,w,h"
      {"IDD_A DIALOG DISCARDABLE 0, 0, 235, 55", "DIALOG DISCARDABLE 0,0,235,55"},
      {"IDD_A DIALOGEX 0, 0, 186, 95, 77", "DIALOGEX DISCARDABLE 0,0,186,95"},
      {"IDD_A DIALOG MOVEABLE -5, -6, 10, 20", "DIALOG MOVEABLE -5,-6,10,20"},
      {"IDD_A DIALOG PRELOAD DISCARDABLE 90, 9, 144, 188", "DIALOG PRELOAD 90,9,144,188"},
      {"IDD_A DIALOG PRELOAD MOVEABLE PURE 1, 2, 3, 4", "DIALOG PRELOAD 1,2,3,4"},
  };
  for (const auto& [header, expected] : cases) {
    Loaded loaded = LoadText(Joined(DialogLines(header)));
    ASSERT_TRUE(loaded.result) << header;
    const clsDialog& d = loaded.rc->Dialogs.Item("idd_a");
    EXPECT_EQ(d.ItemType + " " + d.Disposition + " " + std::to_string(d.Left) + "," + std::to_string(d.Top) + "," +
                  std::to_string(d.Width) + "," + std::to_string(d.Height),
              expected);
  }
}

TEST(DialogReaderTest, CaptionFontAndLinePositions) {
  Loaded loaded = LoadText(Crlf({
      "IDD_A DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN", "END",
      "IDD_B DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "CAPTION", "\"Split caption\"", "FONT 9, \"B\"", "{", "}",
      "IDD_C DIALOG 0, 0, 10, 10", "STYLE WS_CHILD |", "  WS_VISIBLE", "", "FONT 10, \"C\"", "BEGIN", "END",
  }));
  ASSERT_TRUE(loaded.result);
  const clsDialog& a = loaded.rc->Dialogs.Item("IDD_A");
  EXPECT_EQ(a.Caption.Text, "");
  EXPECT_EQ(a.Font.Line, 3);
  const clsDialog& b = loaded.rc->Dialogs.Item("IDD_B");  // the caption text on the line after CAPTION
  EXPECT_EQ(b.Caption.Text, "\"Split caption\"");
  EXPECT_EQ(b.Font.Name, "\"B\"");
  EXPECT_EQ((std::vector<int>{b.Line, b.Style.Line, b.Caption.Line, b.Font.Line, b.Font.Size, b.LastLine}),
            (std::vector<int>{6, 7, 8, 10, 9, 12}));
  const clsDialog& c = loaded.rc->Dialogs.Item("IDD_C");  // one blank line before FONT is passed over
  EXPECT_EQ(c.Style.ConvertLine(), "WS_CHILD | WS_VISIBLE");
  EXPECT_EQ(c.Font.Line, 17);
}

TEST(DialogReaderTest, LayoutMessages) {
  const std::pair<V, std::string> cases[] = {
      {{"CAPTION \"c\"", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN"}, "style information."},
      {{"STYLE WS_POPUP", "EXSTYLE WS_EX_TOPMOST", "FONT 8, \"A\"", "BEGIN"}, "font information."},
      {{"STYLE WS_POPUP", "CAPTION \"c\"", "MENU IDR_M", "FONT 8, \"A\"", "BEGIN"}, "font information."},
      {{"STYLE WS_POPUP", "FONT 8, \"A\"", "", "BEGIN"}, "begin controls."},
  };
  for (const auto& [middle, message] : cases) {
    V lines = {"IDD_X DIALOG 0, 0, 1, 1"};
    lines.insert(lines.end(), middle.begin(), middle.end());
    lines.push_back("END");
    V later = DialogLines("IDD_LATER DIALOG 0, 0, 1, 1");
    lines.insert(lines.end(), later.begin(), later.end());
    Loaded loaded = LoadText(Joined(lines));
    EXPECT_FALSE(loaded.result);
    EXPECT_EQ(loaded.messageBoxes, V{"Unable to process: IDD_X " + message});
    EXPECT_TRUE(loaded.log->entries.empty()) << message;
    EXPECT_EQ(loaded.rc->Dialogs.Count(), 0) << message;  // the walk stopped at the failure
  }
}

TEST(DialogReaderTest, ControlKeywords) {
  struct Case {
    V lines;               // the statement's physical lines
    std::string expected;  // Describe(control); empty when the lines give no control
  };
  const Case cases[] = {
      {{"  CONTROL  \"\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,30,80,10"},
       "CONTROL|\"\"|IDC_CHECK||\"Button\"|7,30,80,10|BS_AUTOCHECKBOX | WS_TABSTOP"},
      // As the writer lays it out: tabs after the keyword, an empty style on the second line.
      {{"\tCONTROL\t\t\"Check\", IDC_C2, \"Button\",", "\t\t\t, 1, 2, 3, 4"}, "CONTROL|\"Check\"|IDC_C2||\"Button\"|1,2,3,4|"},
      {{"  CONTROL  \"&Up\",IDC_UP,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,111,", "     38,25,10"},
       "CONTROL|\"&Up\"|IDC_UP||\"Button\"|111,38,25,10|BS_AUTORADIOBUTTON | WS_GROUP"},
      {{""}, ""},
      {{"  LTEXT  \"x\",IDC_STATIC,40,10,119,8,SS_NOPREFIX"}, "LTEXT|\"x\"|IDC_STATIC|||40,10,119,8|SS_NOPREFIX"},
      {{"  CTEXT  \"c\",IDC_C,1,2,3,4,SS_SUNKEN"}, "CTEXT|\"c\"|IDC_C|||1,2,3,4|SS_SUNKEN"},
      {{"  PUSHBUTTON  \"Cancel\",IDCANCEL,189,23,50,14,WS_TABSTOP | NOT WS_GROUP"},
       "PUSHBUTTON|\"Cancel\"|IDCANCEL|||189,23,50,14|NOT WS_GROUP | WS_TABSTOP"},
      {{"  DEFPUSHBUTTON  \"OK\",IDOK,-5,0,50,14"}, "DEFPUSHBUTTON|\"OK\"|IDOK|||-5,0,50,14|"},
      {{"  // a comment"}, ""},
      {{"  GROUPBOX  \"Direction\",IDC_STATIC,107,26,74,28,WS_GROUP"}, "GROUPBOX|\"Direction\"|IDC_STATIC|||107,26,74,28|WS_GROUP"},
      {{"  ICON  IDR_MAINFRAME,IDC_STATIC,11,17,20,20"}, "ICON||IDC_STATIC|IDR_MAINFRAME||11,17,20,20|"},
      {{"  EDITTEXT  IDC_FIND_TEXT,52,7,128,14,ES_AUTOHSCROLL"}, "EDITTEXT||IDC_FIND_TEXT|||52,7,128,14|ES_AUTOHSCROLL"},
      {{"  COMBOBOX  IDC_FONT,52,28,127,80,CBS_DROPDOWNLIST | WS_VSCROLL | ", "     WS_TABSTOP"},
       "COMBOBOX||IDC_FONT|||52,28,127,80|CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL"},
      {{"  LISTBOX  IDC_L,1,2,3,4,0x10000"}, "LISTBOX||IDC_L|||1,2,3,4|WS_TABSTOP"},
      {{"  SLIDER  \"s\",IDC_SL,1,2,3,4"}, "SLIDER|||||0,0,0,0|"},  // unknown keyword: type and index only
      {{"  PUSHBUTTON  \"Last\",IDC_LAST,1,2,3,4"}, "PUSHBUTTON|\"Last\"|IDC_LAST|||1,2,3,4|"},
  };
  V lines = DialogLines("IDD_X DIALOG 0, 0, 1, 1");
  lines.pop_back();
  std::vector<int> firstLines;
  for (const Case& c : cases) {
    firstLines.push_back(static_cast<int>(lines.size()) + 1);
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
  }
  lines.push_back("END");
  Loaded loaded = LoadText(Joined(lines));
  ASSERT_TRUE(loaded.result);
  const clsDialog& d = loaded.rc->Dialogs.Item(1);
  EXPECT_EQ(d.LastLine, static_cast<int>(lines.size()));
  int relIndex = 0;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    if (c.expected.empty()) continue;
    const clsControl& control = d.Controls.Item(++relIndex);
    EXPECT_EQ(Describe(control), c.expected);
    EXPECT_EQ(control.RelIndex, relIndex);
    bool filled = control.ItemType != "SLIDER";
    EXPECT_EQ(control.Line, filled ? firstLines[i] : 0) << c.expected;
    bool styleRead = control.ItemType == "CONTROL" || !control.Style.Items.Empty();
    EXPECT_EQ(control.Style.Line, styleRead ? firstLines[i] : 0) << c.expected;
  }
  EXPECT_EQ(d.Controls.Count(), relIndex);
}

TEST(DialogReaderTest, BlockWithoutEndRunsToTheEndOfTheDocument) {
  Loaded loaded = LoadText(Crlf({"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "{", "  LTEXT \"a\",IDC_A,1,2,3,4"}));
  ASSERT_TRUE(loaded.result);
  EXPECT_EQ(loaded.rc->Dialogs.Item(1).LastLine, 6);
  EXPECT_EQ(loaded.rc->Dialogs.Item(1).Controls.Count(), 1);
}

TEST(DialogReaderTest, FailuresAreReportedWithTheStepAndStatement) {
  const V head = {"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN"};
  struct Case {
    V lines;
    std::string message;  // the location is the last line's number and the line behind two blanks
  };
  const Case cases[] = {
      {{"IDD_X DIALOG 0, 0, 70000, 5"}, "RCpD-01: Overflow (6)"},
      {{"IDD_X DIALOG DISCARDABLE"}, "RCpD-01: Index out of range (9)"},
      {{head[0], ""}, "RCpD-02: Index out of range (9)"},
      {{head[0], "STYLE WS_POPUP | 0x100000000"}, "RCpD-02: Overflow (6)"},
      {{head[0], head[1], "CAPTION \"c\"", "// no font"}, "RCpD-04: Index out of range (9)"},
      {{head[0], head[1], head[2], head[3], "CONTROL \"a\",IDC_A,\"Button\",0,1,x,3,4"}, "RCpD-07: Type mismatch (13)"},
      {{head[0], head[1], head[2], head[3], "LTEXT \"a\",IDC_A,1,2,3"}, "RCpD-08: Index out of range (9)"},
      {{head[0], head[1], head[2], head[3], "ICON IDI_A"}, "RCpD-09: Index out of range (9)"},
      {{head[0], head[1], head[2], head[3], "EDITTEXT IDC_E,1,2,3,40000"}, "RCpD-10: Overflow (6)"},
  };
  for (const Case& c : cases) {
    Loaded loaded = LoadText(Joined(c.lines) + "END\r\n");
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size(), 1u) << c.message;
    EXPECT_EQ(loaded.log->entries[0].message, c.message);
    EXPECT_EQ(loaded.log->entries[0].location, std::to_string(c.lines.size()) + ":  " + c.lines.back());
    EXPECT_EQ(loaded.log->entries[0].path, loaded.rc->Path);
    EXPECT_TRUE(loaded.messageBoxes.empty());
    EXPECT_EQ(loaded.rc->Dialogs.Count(), 0);
  }
}

TEST(DialogReaderTest, DuplicateIdIsReportedWithTheLastStepTaken) {
  // The step label is that of the last control keyword read, or "06" for a block with none.
  const std::pair<V, std::string> cases[] = {{{}, "RCpD-06"}, {{"  LTEXT \"a\",IDC_A,1,2,3,4", "  SLIDER x"}, "RCpD-08"}};
  for (const auto& [controls, step] : cases) {
    Loaded loaded = LoadText(Joined(DialogLines("IDD_X DIALOG 0, 0, 1, 1")) +
                             Joined(DialogLines("idd_x DIALOG 0, 0, 2, 2", controls)));
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size(), 1u);
    EXPECT_EQ(loaded.log->entries[0].message, step + ": " + std::string(DescribeError(err::DuplicateKey)) + " (457)");
    EXPECT_EQ(loaded.log->entries[0].location, std::to_string(10 + controls.size()) + ":  END");
    EXPECT_EQ(loaded.rc->Dialogs.Item(1).Width, 1);
  }
}

}  // namespace
}  // namespace tamrel
