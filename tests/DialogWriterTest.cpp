// Every control keyword read, written and read again; the dialog writer; DialogNumber and the
// dialog word count. The worked example dialog is reproduced in ScriptWriterTest.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

std::string Joined(const V& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

// "ItemType|Text|ID|Map|ControlType|left,top,width,height|style expression"
std::string Describe(const clsControl& c) {
  return c.ItemType + "|" + c.Text + "|" + c.ID + "|" + c.Map + "|" + c.ControlType + "|" +
         std::to_string(c.Left) + "," + std::to_string(c.Top) + "," + std::to_string(c.Width) + "," +
         std::to_string(c.Height) + "|" + c.Style.ConvertLine();
}

// A control statement as a resource editor lays it out, and the lines written for the control
// read from it: the first field at column 32 behind the dialog's tab (24 for CONTROL and
// DEFPUSHBUTTON), the style as a suffix only when it is not blank.
const std::pair<V, V> kControls[] = {
    {{"  CONTROL  \"&Up\",IDC_UP,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,111,", "     38,25,10"},
     {"CONTROL\t\t\"&Up\", IDC_UP, \"Button\",", "\t\t\tBS_AUTORADIOBUTTON | WS_GROUP, 111, 38, 25, 10"}},
    // As the writer lays it out: tabs after the keyword, an empty style on the second line.
    {{"\tCONTROL\t\t\"Check, me\", IDC_C2, \"Button\",", "\t\t\t, 1, 2, 3, 4"},
     {"CONTROL\t\t\"Check, me\", IDC_C2, \"Button\",", "\t\t\t, 1, 2, 3, 4"}},
    {{"  SLIDER  \"s\",IDC_SL,1,2,3,4"}, {}},
    {{"  LTEXT  \"x\",IDC_T,40,-10,119,8,SS_NOPREFIX"}, {"LTEXT\t\t\t\"x\", IDC_T,40, -10, 119, 8"}},
    {{"  CTEXT \"c d\",IDC_C,1,2,3,4,SS_SUNKEN"}, {"CTEXT\t\t\t\"c d\", IDC_C, 1, 2, 3, 4, SS_SUNKEN"}},
    {{"  RTEXT \"r\",IDC_R,1,2,3,4"}, {"RTEXT\t\t\t\"r\", IDC_R, 1, 2, 3, 4"}},
    {{"  PUSHBUTTON \"Go\",IDOK,1,2,3,4,WS_TABSTOP | NOT WS_GROUP"},
     {"PUSHBUTTON\t\t\"Go\", IDOK, 1, 2, 3, 4, NOT WS_GROUP | WS_TABSTOP"}},
    {{"  DEFPUSHBUTTON \"OK\",IDOK,-5,0,50,14"}, {"DEFPUSHBUTTON\t\"OK\", IDOK, -5, 0, 50, 14"}},
    {{"  GROUPBOX \"G\",IDC_G,7,2,7,8,WS_GROUP"}, {"GROUPBOX\t\t\"G\", IDC_G, 7, 2, 7, 8, WS_GROUP"}},
    {{"  ICON  IDR_MAIN,IDC_STATIC,11,17,20,20"}, {"ICON\t\t\tIDR_MAIN, IDC_STATIC, 11, 17, 20, 20"}},
    {{"  EDITTEXT IDC_E,52,7,128,14,ES_AUTOHSCROLL | NOT WS_BORDER"},
     {"EDITTEXT\t\tIDC_E, 52, 7, 128, 14, ES_AUTOHSCROLL | NOT WS_BORDER"}},
    {{"  COMBOBOX  IDC_F,1,2,3,4,CBS_DROPDOWNLIST | WS_VSCROLL | ", "     WS_TABSTOP"},
     {"COMBOBOX\t\tIDC_F, 1, 2, 3, 4, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL"}},
    {{"  SCROLLBAR IDC_S,1,2,3,4"}, {"SCROLLBAR\t\tIDC_S, 1, 2, 3, 4"}},
    {{"  LISTBOX IDC_L,1,2,3,4,0x10000"}, {"LISTBOX\t\t\tIDC_L, 1, 2, 3, 4, WS_TABSTOP"}},
};

// Read, write, read again and write again: the two writes are the same lines, and each written
// control reads back as the same control (less an LTEXT's style, which is not written). The style
// has no table flag, so the writer gives "STYLE 0", without which the dialog could not be read again.
TEST(ControlFormatTest, ReadWriteReadWrite) {
  V lines = {"IDD_X DIALOGEX 0, 0, 246, 78", "STYLE 0x00C00000", "CAPTION \"Find\"",
             "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1", "BEGIN", "", "  // no control"};
  V expected = {"IDD_X DIALOG DISCARDABLE 0, 0, 246, 78", "STYLE 0", "CAPTION \"Find\"",
                "FONT 8, \"MS Shell Dlg\"", "BEGIN"};
  std::vector<int> firstLines;
  for (const auto& [statement, written] : kControls) {
    firstLines.push_back(static_cast<int>(lines.size()) + 1);
    lines.insert(lines.end(), statement.begin(), statement.end());
    for (const std::string& line : written) expected.push_back("\t" + line);
  }
  lines.push_back("END");
  expected.push_back("END");
  Loaded first = LoadText(Joined(lines));
  ASSERT_TRUE(first.result);
  const clsDialog& d = first.rc->Dialogs.Item(1);
  EXPECT_EQ(d.LastLine, static_cast<int>(lines.size()));
  ASSERT_EQ(d.Controls.Count(), static_cast<int>(std::size(kControls)));
  EXPECT_EQ(Describe(d.Controls.Item(3)), "SLIDER|||||0,0,0,0|");  // unknown keyword: type and index only
  EXPECT_EQ(d.Controls.Item(4).Style.ConvertLine(), "SS_NOPREFIX");
  V written = ToVector(d.PrintLines());
  EXPECT_EQ(written, expected);
  Loaded second = LoadText(Joined(written));
  ASSERT_TRUE(second.result);
  const clsDialog& again = second.rc->Dialogs.Item(1);
  EXPECT_EQ(ToVector(again.PrintLines()), written);
  std::int32_t back = 0;
  for (std::int32_t i = 1; i <= d.Controls.Count(); ++i) {
    clsControl control = d.Controls.Item(i);
    const int line = control.ItemType == "SLIDER" ? 0 : firstLines[static_cast<std::size_t>(i - 1)];
    EXPECT_EQ(control.RelIndex, i);
    EXPECT_EQ(control.Line, line) << control.ItemType;
    EXPECT_EQ(control.Style.Line, control.ItemType == "CONTROL" || !control.Style.Items.Empty() ? line : 0);
    if (line == 0) continue;  // not written
    if (control.ItemType == "LTEXT") control.Style = {};
    EXPECT_EQ(Describe(again.Controls.Item(++back)), Describe(control));
  }
}

// A blank caption is left out, another written untrimmed; an ICON's style is never written, nor
// a style that renders blank; a keyword in other case writes nothing.
TEST(DialogWriterTest, DefaultsCaptionsAndStylesLeftOut) {
  clsDialog dialog;
  dialog.ID = "IDD_X";
  dialog.Caption.Text = "   ";
  for (const std::string type : {"ICON", "PUSHBUTTON", "ltext"}) {
    clsControl control;
    control.ItemType = type;
    control.Style.Items.Add(type == "PUSHBUTTON" ? "  " : "SS_X", "key");
    dialog.Controls.Add(control);
  }
  EXPECT_EQ(ToVector(dialog.PrintLines()),
            (V{"IDD_X DIALOG  0, 0, 0, 0", "STYLE 0", "FONT 0, ", "BEGIN", "\tICON\t\t\t, , 0, 0, 0, 0",
               "\tPUSHBUTTON\t\t, , 0, 0, 0, 0", "END"}));
  dialog.Caption.Text = "  x";
  EXPECT_EQ(dialog.PrintLines().Item(3), "CAPTION   x");
}

TEST(DialogNumberTest, NumericTailAfterTheLastUnderscore) {
  const std::pair<std::string, std::string> cases[] = {
      {"A_1_2", "2"}, {"IDD_ABOUT", ""}, {"IDD_7_", ""}, {"101", "101"},
      {"_12", ""},    {"__5", "5"},      {"IDD_-3", "-3"}, {"", ""},
  };
  for (const auto& [id, number] : cases) {
    clsDialog dialog;
    dialog.ID = id;
    EXPECT_TRUE(dialog.DialogNumber().IsText()) << id;  // never fails
    EXPECT_EQ(dialog.DialogNumber().TextValue(), number) << id;
  }
}

TEST(DialogWordCountTest, CaptionAndControlsAddUpInSixteenBits) {
  Loaded loaded = LoadText(Crlf({"IDD_A DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "CAPTION \"Save 100 50%\"",
                                 "FONT 8, \"A\"", "BEGIN", "  LTEXT \"Two words\",IDC_A,1,2,3,4",
                                 "  CONTROL \"Two words\",IDC_B,\"Button\",0,1,2,3,4", "END"}));
  clsDialog& dialog = loaded.rc->Dialogs.Item(1);
  EXPECT_EQ(dialog.DisplayWordCount(), 5);  // the caption's three pieces, the LTEXT's two, no CONTROL's
  EXPECT_EQ(dialog.DisplayWordCount(2), 3);  // words: "100" and "50%" are none
  EXPECT_THROW(dialog.DisplayWordCount("not a number"), RCError);
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "a ";
  dialog.Caption.Text = dialog.Controls.Item(1).Text = many;
  EXPECT_THROW(dialog.DisplayWordCount(), RCError);  // 40,000 pieces pass the 16-bit sum
}

}  // namespace
}  // namespace tamrel
