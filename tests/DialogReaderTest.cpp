// The dialog reader: header forms, STYLE / CAPTION / FONT / BEGIN and their line positions, and
// every way a dialog fails: the three messages and the reports with step and statement.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

// DIALOGEX's fifth number, a caption on the line after CAPTION, several memory options before
// the coordinates, a continued STYLE with one blank line before FONT, and a block without END,
// which runs to the end of the document.
TEST(DialogReaderTest, HeadersCaptionsFontsAndLines) {
  Loaded loaded = LoadText(Crlf({
      "IDD_B DIALOGEX 0, 0, 186, 95, 77", "STYLE WS_POPUP", "CAPTION", "\"Split caption\"", "FONT 9, \"B\"",
      "{", "}",
      "IDD_C DIALOG PRELOAD DISCARDABLE 90, 9, 144, 188", "STYLE WS_CHILD |", "  WS_VISIBLE", "",
      "FONT 10, \"C\"", "BEGIN", "END",
      "IDD_D DIALOG PRELOAD MOVEABLE PURE -1, -2, 3, 4", "STYLE WS_POPUP", "CAPTION \"D\"", "FONT 8, \"A\"",
      "{", "  LTEXT \"a\",IDC_A,1,2,3,4",
  }));
  ASSERT_TRUE(loaded.result);
  V dialogs;  // "type disposition left,top,width,height|style|caption|font|lines of header,
              // style, caption, font and block end|controls"
  for (const clsDialog& d : loaded.rc->Dialogs) {
    auto n = [](int value) { return std::to_string(value) + ","; };
    dialogs.push_back(d.ItemType + " " + d.Disposition + " " + n(d.Left) + n(d.Top) + n(d.Width) +
                      n(d.Height) + "|" + d.Style.ConvertLine() + "|" + d.Caption.Text + "|" +
                      n(d.Font.Size) + d.Font.Name + "|" + n(d.Line) + n(d.Style.Line) + n(d.Caption.Line) +
                      n(d.Font.Line) + n(d.LastLine) + "|" + n(d.Controls.Count()));
  }
  EXPECT_EQ(dialogs, (V{"DIALOGEX DISCARDABLE 0,0,186,95,|WS_POPUP|\"Split caption\"|9,\"B\"|1,2,3,5,7,|0,",
                        "DIALOG PRELOAD 90,9,144,188,|WS_CHILD | WS_VISIBLE||10,\"C\"|8,9,0,12,14,|0,",
                        "DIALOG PRELOAD -1,-2,3,4,|WS_POPUP|\"D\"|8,\"A\"|15,16,17,18,21,|1,"}));
}

// Each case is the first `head` lines of a sound dialog and then `rest`; a later dialog follows,
// never read, since a failure stops the walk. Reports give the line and statement that failed.
TEST(DialogReaderTest, FailuresGiveAMessageOrAReport) {
  const V head = {"IDD_X DIALOG 0, 0, 1, 1", "STYLE WS_POPUP", "FONT 8, \"A\"", "BEGIN"};
  const std::string unable = "Unable to process: IDD_X ";
  const std::string duplicate = ": Key is already associated with an element of this collection (457)";
  const std::tuple<std::size_t, V, std::string> cases[] = {
      {1, {"CAPTION \"c\"", "STYLE WS_POPUP"}, unable + "style information."},
      {2, {"EXSTYLE WS_EX_TOPMOST", "FONT 8, \"A\""}, unable + "font information."},
      {2, {"CAPTION \"c\"", "MENU IDR_M", "FONT 8, \"A\""}, unable + "font information."},
      {3, {"", "BEGIN"}, unable + "begin controls."},
      {0, {"IDD_X DIALOG 0, 0, 70000, 5"}, "RCpD-01: Overflow (6)"},
      {0, {"IDD_X DIALOG DISCARDABLE"}, "RCpD-01: Index out of range (9)"},
      {1, {""}, "RCpD-02: Index out of range (9)"},
      {1, {"STYLE WS_POPUP | 0x100000000"}, "RCpD-02: Overflow (6)"},
      {2, {"CAPTION \"c\"", "// no font"}, "RCpD-04: Index out of range (9)"},
      {4, {"CONTROL \"a\",IDC_A,\"Button\",0,1,x,3,4"}, "RCpD-07: Type mismatch (13)"},
      {4, {"LTEXT \"a\",IDC_A,1,2,3"}, "RCpD-08: Index out of range (9)"},
      {4, {"ICON IDI_A"}, "RCpD-09: Index out of range (9)"},
      {4, {"EDITTEXT IDC_E,1,2,3,40000"}, "RCpD-10: Overflow (6)"},
      // A second IDD_X fails at its END: step 06 without controls, else the last keyword's step.
      {4, {"END", "idd_x DIALOG 0, 0, 2, 2", head[1], head[2], head[3], "END"}, "RCpD-06" + duplicate},
      {4, {"END", "idd_x DIALOG 0, 0, 2, 2", head[1], head[2], head[3], "  LTEXT \"a\",IDC_A,1,2,3,4",
           "  SLIDER x", "END"}, "RCpD-08" + duplicate},
  };
  for (const auto& [headLines, rest, message] : cases) {
    std::string text;
    for (std::size_t i = 0; i < headLines; ++i) text += head[i] + "\r\n";
    for (const std::string& line : rest) text += line + "\r\n";
    Loaded loaded = LoadText(text + Crlf({"IDD_Y DIALOG 0, 0, 1, 1", head[1], head[2], head[3], "END"}));
    EXPECT_FALSE(loaded.result) << message;
    V shown = loaded.messageBoxes;  // message boxes, then reports with their location and path
    for (const LogEntry& e : loaded.log->entries)
      shown.push_back(e.message + " @ " + e.location.value_or("none") + " @ " + e.path);
    const std::string line = std::to_string(headLines + rest.size()) + ":  " + rest.back();
    const std::string report = message + " @ " + line + " @ " + loaded.rc->Path;
    EXPECT_EQ(shown, V{message.starts_with(unable) ? message : report});
    const bool twice = message.ends_with(duplicate);  // the first IDD_X stays
    ASSERT_EQ(loaded.rc->Dialogs.Count(), twice ? 1 : 0) << message;
    for (const clsDialog& kept : loaded.rc->Dialogs) EXPECT_EQ(kept.Width, 1);
  }
}

}  // namespace
}  // namespace tamrel
