// The dialog, caption, font and control writers, DialogNumber and the dialog word counts;
// regenerated dialogs read back to the same model.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// The about box of the worked example: a label, a default button and a check box.
clsDialog AboutDialog() {
  clsDialog dialog;
  dialog.ID = "IDD_ABOUT";
  dialog.Disposition = "DISCARDABLE";
  dialog.Width = 186;
  dialog.Height = 95;
  Tokens style;
  for (const char* flag : {"WS_SYSMENU", "DS_MODALFRAME", "WS_POPUP"}) style.Add(flag);
  dialog.Style.AddStyles(style);
  dialog.Caption.Text = "\"About\"";
  dialog.Font.Size = 8;
  dialog.Font.Name = "\"MS Sans Serif\"";
  dialog.Controls.Add(MakeControl("LTEXT", "\"Version 1.0\"", "IDC_STATIC", {7, 7, 120, 8}));
  dialog.Controls.Add(MakeControl("DEFPUSHBUTTON", "\"OK\"", "IDOK", {129, 74, 50, 14}, {"WS_GROUP"}));
  dialog.Controls.Add(MakeControl("CONTROL", "\"Check\"", "IDC_CHECK", {7, 30, 80, 10},
                                  {"BS_AUTOCHECKBOX", "WS_TABSTOP"}, "", "\"Button\""));
  return dialog;
}

// Every dialog of a document written out, one blank line after each.
V WriteDialogs(const clsRC& rc) {
  V lines;
  for (const clsDialog& dialog : rc.Dialogs) {
    for (const std::string& line : dialog.PrintLines()) lines.push_back(line);
    lines.emplace_back();
  }
  return lines;
}

TEST(DialogWriterTest, WorkedExampleLineForLine) {
  EXPECT_EQ(ToVector(AboutDialog().PrintLines()),
            (V{
                "IDD_ABOUT DIALOG DISCARDABLE 0, 0, 186, 95",
                "STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU",
                "CAPTION \"About\"",
                "FONT 8, \"MS Sans Serif\"",
                "BEGIN",
                "\tLTEXT\t\t\t\"Version 1.0\", IDC_STATIC,7, 7, 120, 8",
                "\tDEFPUSHBUTTON\t\"OK\", IDOK, 129, 74, 50, 14, WS_GROUP",
                "\tCONTROL\t\t\"Check\", IDC_CHECK, \"Button\",",
                "\t\t\t\tBS_AUTOCHECKBOX | WS_TABSTOP, 7, 30, 80, 10",
                "END",
            }));
}

TEST(DialogWriterTest, HeaderStyleCaptionAndFontVariants) {
  clsDialog dialog = AboutDialog();
  dialog.Controls = {};
  dialog.Controls.Add(MakeControl("SLIDER", "\"s\"", "IDC_S", {1, 2, 3, 4}));  // writes no line
  dialog.Caption.Text = "   ";
  dialog.Style = {};
  dialog.Disposition = "";
  dialog.ItemType = "DIALOGEX";
  dialog.Left = -5;
  EXPECT_EQ(ToVector(dialog.PrintLines()),
            (V{"IDD_ABOUT DIALOG  -5, 0, 186, 95", "STYLE 0", "FONT 8, \"MS Sans Serif\"", "BEGIN", "END"}));
  dialog.Caption.Text = "  x";
  dialog.Font = {};
  EXPECT_EQ(ToVector(dialog.PrintLines()),
            (V{"IDD_ABOUT DIALOG  -5, 0, 186, 95", "STYLE 0", "CAPTION   x", "FONT 0, ", "BEGIN", "END"}));
}

// Each format, and each written control read back through a dialog as the same control.
TEST(ControlWriterTest, FormatsReadBack) {
  const std::pair<clsControl, V> cases[] = {
      {MakeControl("CONTROL", "\"Check, me\"", "IDC_CHECK", {7, 30, 80, 10}, {}, "", "\"Button\""),
       {"CONTROL\t\t\"Check, me\", IDC_CHECK, \"Button\",", "\t\t\t, 7, 30, 80, 10"}},
      {MakeControl("LTEXT", "\"a\"", "IDC_A", {0, -5, 3, 4}), {"LTEXT\t\t\t\"a\", IDC_A,0, -5, 3, 4"}},
      {MakeControl("PUSHBUTTON", "\"Go\"", "IDOK", {1, 2, 3, 4}, {"WS_TABSTOP", "NOT WS_GROUP"}),
       {"PUSHBUTTON\t\t\"Go\", IDOK, 1, 2, 3, 4, NOT WS_GROUP | WS_TABSTOP"}},
      {MakeControl("GROUPBOX", "\"G\"", "IDC_G", {1, 2, 3, 4}), {"GROUPBOX\t\t\"G\", IDC_G, 1, 2, 3, 4"}},
      {MakeControl("DEFPUSHBUTTON", "\"OK\"", "IDOK", {1, 2, 3, 4}), {"DEFPUSHBUTTON\t\"OK\", IDOK, 1, 2, 3, 4"}},
      {MakeControl("ICON", "", "IDC_STATIC", {11, 17, 20, 20}, {}, "IDR_MAIN"), {"ICON\t\t\tIDR_MAIN, IDC_STATIC, 11, 17, 20, 20"}},
      {MakeControl("CTEXT", "\"c d\"", "IDC_C", {1, 2, 3, 4}, {"SS_SUNKEN"}), {"CTEXT\t\t\t\"c d\", IDC_C, 1, 2, 3, 4, SS_SUNKEN"}},
      {MakeControl("RTEXT", "\"r\"", "IDC_R", {1, 2, 3, 4}), {"RTEXT\t\t\t\"r\", IDC_R, 1, 2, 3, 4"}},
      {MakeControl("EDITTEXT", "", "IDC_E", {52, 7, 128, 14}, {"ES_AUTOHSCROLL", "NOT WS_BORDER"}),
       {"EDITTEXT\t\tIDC_E, 52, 7, 128, 14, ES_AUTOHSCROLL | NOT WS_BORDER"}},
      {MakeControl("COMBOBOX", "", "IDC_F", {1, 2, 3, 4}, {"CBS_SORT", "WS_VSCROLL"}),
       {"COMBOBOX\t\tIDC_F, 1, 2, 3, 4, CBS_SORT | WS_VSCROLL"}},
      {MakeControl("SCROLLBAR", "", "IDC_S", {1, 2, 3, 4}), {"SCROLLBAR\t\tIDC_S, 1, 2, 3, 4"}},
      {MakeControl("LISTBOX", "", "IDC_L", {1, 2, 3, 4}, {"0x10000"}), {"LISTBOX\t\t\tIDC_L, 1, 2, 3, 4, WS_TABSTOP"}},
  };
  clsDialog dialog = AboutDialog();
  dialog.Controls = {};
  for (const auto& [control, lines] : cases) {
    EXPECT_EQ(ToVector(control.PrintLines()), lines) << control.ItemType;
    dialog.Controls.Add(control);
  }
  Loaded loaded = LoadText(Joined(ToVector(dialog.PrintLines())));
  ASSERT_TRUE(loaded.result);
  const clsDialog& read = loaded.rc->Dialogs.Item(1);
  ASSERT_EQ(read.Controls.Count(), dialog.Controls.Count());
  for (std::int32_t i = 1; i <= read.Controls.Count(); ++i)
    EXPECT_EQ(Describe(read.Controls.Item(i)), Describe(dialog.Controls.Item(i)));
}

TEST(ControlWriterTest, StylesLeftOut) {
  const std::pair<clsControl, std::string> cases[] = {
      {MakeControl("LTEXT", "\"a\"", "IDC_A", {1, 2, 3, 4}, {"SS_NOPREFIX"}), "LTEXT\t\t\t\"a\", IDC_A,1, 2, 3, 4"},
      {MakeControl("ICON", "\"no\"", "IDC_I", {1, 2, 3, 4}, {"SS_ICON"}, "IDR_M"), "ICON\t\t\tIDR_M, IDC_I, 1, 2, 3, 4"},
      {MakeControl("PUSHBUTTON", "", "IDOK", {1, 2, 3, 4}, {"  "}), "PUSHBUTTON\t\t, IDOK, 1, 2, 3, 4"},  // renders blank
  };
  for (const auto& [control, line] : cases) EXPECT_EQ(ToVector(control.PrintLines()), V{line});
  for (const char* keyword : {"ltext", "Control", "SLIDER"})
    EXPECT_TRUE(MakeControl(keyword, "\"a\"", "IDC_A", {1, 2, 3, 4}).PrintLines().Empty());
}

// Read, write, read again and write again: the two writes are the same lines.
TEST(DialogWriterTest, ReadWriteReadWriteIsStable) {
  Loaded first = LoadText(Crlf({
      "IDD_FIND DIALOGEX 0, 0, 246, 78",
      "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU",
      "CAPTION \"Find\"",
      "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1",
      "BEGIN",
      "    LTEXT           \"Fi&nd what:\",IDC_STATIC,6,9,42,8,SS_NOPREFIX",
      "    EDITTEXT        IDC_FIND_TEXT,52,7,128,14,ES_AUTOHSCROLL",
      "    CONTROL         \"&Up\",IDC_UP,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,111,",
      "                    38,25,10",
      "    COMBOBOX        IDC_FONT,52,28,127,80,CBS_DROPDOWNLIST | WS_VSCROLL | ",
      "                    WS_TABSTOP",
      "    LISTBOX         IDC_LIST,1,2,3,4,0x00A00000",
      "    DEFPUSHBUTTON   \"&Find Next\",IDOK,189,5,50,14,WS_GROUP",
      "END",
      "IDD_BARE DIALOG PRELOAD DISCARDABLE 90, 9, 144, 188",
      "STYLE 0x00C00000",
      "FONT 8, \"MS Sans Serif\"",
      "{",
      "}",
  }));
  ASSERT_TRUE(first.result);
  ASSERT_EQ(first.rc->Dialogs.Count(), 2);
  V written = WriteDialogs(*first.rc);
  Loaded second = LoadText(Joined(written));
  ASSERT_TRUE(second.result) << Joined(written);
  EXPECT_EQ(WriteDialogs(*second.rc), written);
  EXPECT_EQ(second.rc->Dialogs.Item("IDD_FIND").Controls.Count(), 6);
  EXPECT_EQ(second.rc->Dialogs.Item("IDD_BARE").PrintLines().Item(2), "STYLE 0");  // no table flag
}

TEST(DialogWriterTest, DialogNumber) {
  const std::pair<std::string, std::string> cases[] = {
      {"IDD_PAGE_12", "12"}, {"IDD_ABOUT", ""}, {"IDD_7_", ""}, {"101", "101"},       {"_12", ""},
      {"A_1_2", "2"},        {"__5", "5"},      {"IDD_-3", "-3"}, {"", ""},
  };
  for (const auto& [id, number] : cases) {
    clsDialog dialog;
    dialog.ID = id;
    Variant result = dialog.DialogNumber();
    EXPECT_TRUE(result.IsText()) << id;
    EXPECT_EQ(result.TextValue(), number) << id;
  }
}

TEST(DialogWordCountTest, CaptionAndControlsAddUp) {
  clsDialog dialog;
  dialog.Caption.Text = "\"Save 100 50%\"";  // pieces: "Save, 100, 50%"
  EXPECT_EQ(dialog.Caption.DisplayWordCount(), 3);
  EXPECT_EQ(dialog.Caption.DisplayWordCount(1), 1);
  dialog.Controls.Add(MakeControl("LTEXT", "\"Two words\"", "IDC_A", {1, 2, 3, 4}));
  dialog.Controls.Add(MakeControl("CONTROL", "\"Not counted here\"", "IDC_B", {1, 2, 3, 4}));
  dialog.Controls.Add(MakeControl("PUSHBUTTON", "\"<Back\"", "IDC_D", {1, 2, 3, 4}));
  EXPECT_EQ(dialog.Controls.Item(2).DisplayWordCount("not a number"), 0);
  EXPECT_EQ(dialog.DisplayWordCount(), 6);
  EXPECT_EQ(dialog.DisplayWordCount(0), 6);
  EXPECT_EQ(dialog.DisplayWordCount(2), 3);
  EXPECT_THROW(dialog.DisplayWordCount("not a number"), RCError);

  std::string many;
  for (int i = 0; i < 20000; ++i) many += "a ";
  dialog.Caption.Text = many;
  dialog.Controls.Item(1).Text = many;
  EXPECT_THROW(dialog.DisplayWordCount(), RCError);  // 40,000 pieces pass the 16-bit sum
}

}  // namespace
}  // namespace tamrel
