// The dialog, caption, font and control writers, DialogNumber and the dialog word counts;
// regenerated dialogs read back to the same model.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

clsControl MakeControl(std::string itemType, std::string text, std::string id, std::vector<int> placement,
                       const V& style = {}, std::string map = {}, std::string controlType = {}) {
  clsControl control;
  control.ItemType = std::move(itemType);
  control.Text = std::move(text);
  control.ID = std::move(id);
  control.Map = std::move(map);
  control.ControlType = std::move(controlType);
  control.Left = placement[0];
  control.Top = placement[1];
  control.Width = placement[2];
  control.Height = placement[3];
  Tokens tokens;
  for (const std::string& flag : style) tokens.Add(flag);
  control.Style.AddStyles(tokens);
  return control;
}

// The dialog of the worked example: an about box with a label, a default button and a check box.
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

std::string Joined(const LineCollection& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

// Every dialog of a document written out, one blank line after each.
LineCollection WriteDialogs(const clsRC& rc) {
  LineCollection lines;
  for (const clsDialog& dialog : rc.Dialogs) {
    for (const std::string& line : dialog.PrintLines()) lines.Add(line);
    lines.Add("");
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

TEST(DialogWriterTest, DialogVariants) {
  struct Case {
    std::string name;
    void (*change)(clsDialog&);
    V lines;
  };
  const Case cases[] = {
      {"no controls", [](clsDialog& d) { d.Controls = {}; },
       {"IDD_ABOUT DIALOG DISCARDABLE 0, 0, 186, 95", "STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU",
        "CAPTION \"About\"", "FONT 8, \"MS Sans Serif\"", "BEGIN", "END"}},
      {"blank caption, empty style, empty disposition, negative placement, DIALOGEX",
       [](clsDialog& d) {
         d.Controls = {};
         d.Caption.Text = "   ";
         d.Style = {};
         d.Disposition = "";
         d.ItemType = "DIALOGEX";
         d.Left = -5;
         d.Top = -1;
       },
       {"IDD_ABOUT DIALOG  -5, -1, 186, 95", "STYLE 0", "FONT 8, \"MS Sans Serif\"", "BEGIN", "END"}},
      {"caption with leading blanks, font never set",
       [](clsDialog& d) {
         d.Controls = {};
         d.Caption.Text = "  x";
         d.Font = {};
       },
       {"IDD_ABOUT DIALOG DISCARDABLE 0, 0, 186, 95", "STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU",
        "CAPTION   x", "FONT 0, ", "BEGIN", "END"}},
      {"controls that write no line",
       [](clsDialog& d) {
         d.Controls = {};
         d.Controls.Add(MakeControl("SLIDER", "\"s\"", "IDC_S", {1, 2, 3, 4}));
         d.Controls.Add(MakeControl("ltext", "\"s\"", "IDC_S", {1, 2, 3, 4}));
       },
       {"IDD_ABOUT DIALOG DISCARDABLE 0, 0, 186, 95", "STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU",
        "CAPTION \"About\"", "FONT 8, \"MS Sans Serif\"", "BEGIN", "END"}},
  };
  for (const Case& c : cases) {
    clsDialog dialog = AboutDialog();
    c.change(dialog);
    EXPECT_EQ(ToVector(dialog.PrintLines()), c.lines) << c.name;
  }
}

TEST(ControlWriterTest, Formats) {
  struct Case {
    clsControl control;
    V lines;
  };
  const Case cases[] = {
      {MakeControl("CONTROL", "\"Check\"", "IDC_CHECK", {7, 30, 80, 10}, {}, "", "\"Button\""),
       {"CONTROL\t\t\"Check\", IDC_CHECK, \"Button\",", "\t\t\t, 7, 30, 80, 10"}},
      {MakeControl("LTEXT", "\"a\"", "IDC_A", {0, -5, 3, 4}, {"SS_NOPREFIX"}),
       {"LTEXT\t\t\t\"a\", IDC_A,0, -5, 3, 4"}},
      {MakeControl("PUSHBUTTON", "\"Cancel\"", "IDCANCEL", {1, 2, 3, 4}), {"PUSHBUTTON\t\t\"Cancel\", IDCANCEL, 1, 2, 3, 4"}},
      {MakeControl("PUSHBUTTON", "", "IDOK", {1, 2, 3, 4}, {"WS_TABSTOP", "NOT WS_GROUP"}),
       {"PUSHBUTTON\t\t, IDOK, 1, 2, 3, 4, NOT WS_GROUP | WS_TABSTOP"}},
      {MakeControl("GROUPBOX", "\"G\"", "IDC_G", {1, 2, 3, 4}, {"WS_GROUP"}), {"GROUPBOX\t\t\"G\", IDC_G, 1, 2, 3, 4, WS_GROUP"}},
      {MakeControl("DEFPUSHBUTTON", "\"OK\"", "IDOK", {1, 2, 3, 4}), {"DEFPUSHBUTTON\t\"OK\", IDOK, 1, 2, 3, 4"}},
      {MakeControl("ICON", "\"ignored\"", "IDC_STATIC", {11, 17, 20, 20}, {"SS_ICON"}, "IDR_MAINFRAME"),
       {"ICON\t\t\tIDR_MAINFRAME, IDC_STATIC, 11, 17, 20, 20"}},
      {MakeControl("CTEXT", "\"c\"", "IDC_C", {1, 2, 3, 4}, {"SS_SUNKEN"}), {"CTEXT\t\t\t\"c\", IDC_C, 1, 2, 3, 4, SS_SUNKEN"}},
      {MakeControl("RTEXT", "\"r\"", "IDC_R", {1, 2, 3, 4}), {"RTEXT\t\t\t\"r\", IDC_R, 1, 2, 3, 4"}},
      {MakeControl("EDITTEXT", "", "IDC_E", {52, 7, 128, 14}, {"ES_AUTOHSCROLL"}),
       {"EDITTEXT\t\tIDC_E, 52, 7, 128, 14, ES_AUTOHSCROLL"}},
      {MakeControl("COMBOBOX", "", "IDC_F", {1, 2, 3, 4}, {"CBS_DROPDOWNLIST", "WS_VSCROLL"}),
       {"COMBOBOX\t\tIDC_F, 1, 2, 3, 4, CBS_DROPDOWNLIST | WS_VSCROLL"}},
      {MakeControl("SCROLLBAR", "", "IDC_S", {1, 2, 3, 4}), {"SCROLLBAR\t\tIDC_S, 1, 2, 3, 4"}},
      {MakeControl("LISTBOX", "", "IDC_L", {1, 2, 3, 4}, {"0x10000"}), {"LISTBOX\t\t\tIDC_L, 1, 2, 3, 4, WS_TABSTOP"}},
      {MakeControl("ltext", "\"a\"", "IDC_A", {1, 2, 3, 4}), {}},
      {MakeControl("Control", "\"a\"", "IDC_A", {1, 2, 3, 4}), {}},
      {MakeControl("SLIDER", "\"a\"", "IDC_A", {1, 2, 3, 4}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ToVector(c.control.PrintLines()), c.lines) << c.control.ItemType;
}

TEST(ControlWriterTest, BlankStyleRenderingAddsNoSuffix) {
  for (const char* keyword : {"PUSHBUTTON", "GROUPBOX", "DEFPUSHBUTTON", "CTEXT", "EDITTEXT", "LISTBOX"}) {
    clsControl control = MakeControl(keyword, "\"t\"", "IDC_X", {1, 2, 3, 4});
    control.Style.Items.Add("  ", "  ");
    std::string line = control.PrintLines().Item(1);
    EXPECT_TRUE(line.ends_with(", 4")) << line;
  }
}

// With the dialog's leading tab and tab stops every eight columns, the first field starts at
// column 32; only CONTROL's first line and DEFPUSHBUTTON start it at 24.
TEST(ControlWriterTest, FirstFieldColumn) {
  auto firstFieldColumn = [](const std::string& line) {
    int column = 8;  // behind the dialog's tab
    std::size_t i = 0;
    for (; i < line.size() && line[i] != '\t'; ++i) ++column;
    for (; i < line.size() && line[i] == '\t'; ++i) column = (column / 8 + 1) * 8;
    return column;
  };
  for (const char* keyword : {"LTEXT", "CTEXT", "RTEXT", "PUSHBUTTON", "GROUPBOX", "ICON", "EDITTEXT", "COMBOBOX",
                              "SCROLLBAR", "LISTBOX", "DEFPUSHBUTTON", "CONTROL"}) {
    LineCollection lines = MakeControl(keyword, "\"t\"", "IDC_X", {1, 2, 3, 4}, {"WS_TABSTOP"}).PrintLines();
    bool wide = std::string_view(keyword) == "DEFPUSHBUTTON" || std::string_view(keyword) == "CONTROL";
    EXPECT_EQ(firstFieldColumn(lines.Item(1)), wide ? 24 : 32) << keyword;
    if (lines.Count() == 2) {
      EXPECT_EQ(firstFieldColumn(lines.Item(2)), 32);
    }
  }
}

// Each control written into a dialog and the dialog read again gives the same control.
TEST(ControlWriterTest, EveryWrittenControlReadsBack) {
  const clsControl controls[] = {
      MakeControl("CONTROL", "\"Check, me\"", "IDC_CHECK", {7, 30, 80, 10}, {"BS_AUTOCHECKBOX", "WS_TABSTOP"}, "",
                  "\"Button\""),
      MakeControl("CONTROL", "\"\"", "IDC_BARE", {-7, 0, 8, 1}, {}, "", "\"Static\""),
      MakeControl("LTEXT", "\"Label\"", "IDC_STATIC", {1, 2, 3, 4}),
      MakeControl("CTEXT", "\"Centred text\"", "IDC_C", {1, 2, 3, 4}, {"SS_SUNKEN", "NOT WS_GROUP"}),
      MakeControl("RTEXT", "\"Right\"", "IDC_R", {1, 2, 3, 4}),
      MakeControl("PUSHBUTTON", "\"Go\"", "IDC_GO", {1, 2, 3, 4}, {"WS_DISABLED"}),
      MakeControl("DEFPUSHBUTTON", "\"OK\"", "IDOK", {1, 2, 3, 4}, {"WS_GROUP"}),
      MakeControl("GROUPBOX", "\"Box\"", "IDC_G", {1, 2, 3, 4}),
      MakeControl("ICON", "", "IDC_STATIC", {1, 2, 3, 4}, {}, "IDR_MAINFRAME"),
      MakeControl("EDITTEXT", "", "IDC_E", {52, 7, 128, 14}, {"ES_AUTOHSCROLL", "NOT WS_BORDER"}),
      MakeControl("COMBOBOX", "", "IDC_F", {1, 2, 3, 4}, {"CBS_DROPDOWNLIST", "WS_VSCROLL", "WS_TABSTOP"}),
      MakeControl("SCROLLBAR", "", "IDC_S", {1, 2, 3, 4}, {"SBS_VERT"}),
      MakeControl("LISTBOX", "", "IDC_L", {1, 2, 3, 4}),
  };
  clsDialog dialog = AboutDialog();
  dialog.Controls = {};
  for (const clsControl& control : controls) dialog.Controls.Add(control);
  Loaded loaded = LoadText(Joined(dialog.PrintLines()));
  ASSERT_TRUE(loaded.result);
  const clsDialog& read = loaded.rc->Dialogs.Item(1);
  ASSERT_EQ(read.Controls.Count(), static_cast<std::int32_t>(std::size(controls)));
  for (std::int32_t i = 1; i <= read.Controls.Count(); ++i) {
    const clsControl& a = controls[i - 1];
    const clsControl& b = read.Controls.Item(i);
    SCOPED_TRACE(a.ItemType + " " + a.ID);
    EXPECT_EQ(b.ItemType, a.ItemType);
    EXPECT_EQ(b.Text, a.Text);
    EXPECT_EQ(b.ID, a.ID);
    EXPECT_EQ(b.Map, a.Map);
    EXPECT_EQ(b.ControlType, a.ControlType);
    EXPECT_EQ((std::vector<int>{b.Left, b.Top, b.Width, b.Height}), (std::vector<int>{a.Left, a.Top, a.Width, a.Height}));
    EXPECT_EQ(ToVector(b.Style.Items), ToVector(a.Style.Items));
  }
}

// Read, write, read again and write again: the two writes are the same lines.
TEST(DialogWriterTest, ReadWriteReadWriteIsStable) {
  const std::string script = Crlf({
      "IDD_FIND DIALOGEX 0, 0, 246, 78",
      "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU",
      "CAPTION \"Find\"",
      "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1",
      "BEGIN",
      "    LTEXT           \"Fi&nd what:\",IDC_STATIC,6,9,42,8,SS_NOPREFIX",
      "    EDITTEXT        IDC_FIND_TEXT,52,7,128,14,ES_AUTOHSCROLL",
      "    CONTROL         \"Match &whole word only\",IDC_WHOLE_WORD,\"Button\",",
      "                    BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,6,30,100,10",
      "    CONTROL         \"&Up\",IDC_UP,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,111,",
      "                    38,25,10",
      "    GROUPBOX        \"Direction\",IDC_STATIC,107,26,74,28,WS_GROUP",
      "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20",
      "    CTEXT           \"Centre\",IDC_C,1,2,3,4",
      "    RTEXT           \"Right\",IDC_R,1,2,3,4,SS_SUNKEN",
      "    COMBOBOX        IDC_FONT,52,28,127,80,CBS_DROPDOWNLIST | WS_VSCROLL | ",
      "                    WS_TABSTOP",
      "    LISTBOX         IDC_LIST,1,2,3,4,0x00A00000",
      "    SCROLLBAR       IDC_BAR,1,2,3,4",
      "    DEFPUSHBUTTON   \"&Find Next\",IDOK,189,5,50,14,WS_GROUP",
      "    PUSHBUTTON      \"Cancel\",IDCANCEL,189,23,50,14",
      "END",
      "",
      "IDD_BARE DIALOG PRELOAD DISCARDABLE 90, 9, 144, 188",
      "STYLE 0x00C00000",
      "FONT 8, \"MS Sans Serif\"",
      "{",
      "}",
  });
  Loaded first = LoadText(script);
  ASSERT_TRUE(first.result);
  ASSERT_EQ(first.rc->Dialogs.Count(), 2);
  LineCollection written = WriteDialogs(*first.rc);

  Loaded second = LoadText(Joined(written));
  ASSERT_TRUE(second.result) << Joined(written);
  EXPECT_TRUE(second.log->entries.empty());
  EXPECT_EQ(ToVector(WriteDialogs(*second.rc)), ToVector(written));
  EXPECT_EQ(second.rc->Dialogs.Item("IDD_FIND").Controls.Count(), 13);
  // The style of no table flag is written as "STYLE 0" and reads back as an empty set.
  EXPECT_EQ(second.rc->Dialogs.Item("IDD_BARE").PrintLines().Item(2), "STYLE 0");
  EXPECT_TRUE(second.rc->Dialogs.Item("IDD_BARE").Style.Items.Empty());
}

TEST(DialogWriterTest, DialogNumber) {
  struct Case {
    std::string id, number;
  };
  const Case cases[] = {
      {"IDD_PAGE_12", "12"}, {"IDD_ABOUT", ""}, {"IDD_7_", ""}, {"101", "101"}, {"_12", ""},
      {"A_1_2", "2"},        {"__5", "5"},      {"IDD_-3", "-3"}, {"", ""},       {"IDD_1.5", "1.5"},
  };
  for (const Case& c : cases) {
    clsDialog dialog;
    dialog.ID = c.id;
    Variant number = dialog.DialogNumber();
    EXPECT_TRUE(number.IsText()) << c.id;
    EXPECT_EQ(number.TextValue(), c.number) << c.id;
  }
}

TEST(DialogWordCountTest, CaptionAndControlsAddUp) {
  clsDialog dialog;
  dialog.Caption.Text = "\"Save 100 50%\"";  // pieces: "Save, 100, 50%"
  EXPECT_EQ(dialog.Caption.DisplayWordCount(), 3);
  EXPECT_EQ(dialog.Caption.DisplayWordCount(0), 3);
  EXPECT_EQ(dialog.Caption.DisplayWordCount(1), 1);
  dialog.Controls.Add(MakeControl("LTEXT", "\"Two words\"", "IDC_A", {1, 2, 3, 4}));
  dialog.Controls.Add(MakeControl("CONTROL", "\"Not counted here\"", "IDC_B", {1, 2, 3, 4}));
  dialog.Controls.Add(MakeControl("EDITTEXT", "", "IDC_C", {1, 2, 3, 4}));
  dialog.Controls.Add(MakeControl("PUSHBUTTON", "\"<Back\"", "IDC_D", {1, 2, 3, 4}));
  EXPECT_EQ(dialog.Controls.Item(2).DisplayWordCount(), 0);
  EXPECT_EQ(dialog.Controls.Item(2).DisplayWordCount("not a number"), 0);
  EXPECT_EQ(dialog.DisplayWordCount(), 6);
  EXPECT_EQ(dialog.DisplayWordCount(0), 6);
  EXPECT_EQ(dialog.DisplayWordCount(2), 3);
  EXPECT_THROW(dialog.DisplayWordCount("not a number"), RCError);
}

TEST(DialogWordCountTest, SumBeyond16BitsIsAnOverflow) {
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "a ";
  clsDialog dialog;
  dialog.Caption.Text = many;
  dialog.Controls.Add(MakeControl("LTEXT", many, "IDC_A", {1, 2, 3, 4}));
  EXPECT_EQ(dialog.Controls.Item(1).DisplayWordCount(), 20000);
  try {
    dialog.DisplayWordCount();
    FAIL() << "no error";
  } catch (const RCError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
}

}  // namespace
}  // namespace tamrel
