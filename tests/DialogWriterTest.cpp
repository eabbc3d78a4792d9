// The dialog writer on a dialog built by hand and the dialog word count. Every
// control keyword read, written and read again is a golden script (dialog-every-control.rc).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

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
