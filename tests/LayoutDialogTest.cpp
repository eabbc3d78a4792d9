// Dialog layout: control kinds from keyword, class and style; mnemonic markers; word wrapping;
// dialog units of a laid-out dialog; and the fit checker's findings on small scripts.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "layout/DialogLayout.h"
#include "layout/FitChecker.h"
#include "layout/TextMeasurer.h"

namespace tamrel {
namespace {

std::string Dialog(std::initializer_list<std::string_view> controls, std::string_view size = "200, 100",
                   std::string_view caption = "\"Test\"") {
  std::string script = "IDD_T DIALOG DISCARDABLE 0, 0, " + std::string(size) +
                       "\r\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\nCAPTION " +
                       std::string(caption) + "\r\nFONT 8, \"MS Shell Dlg\"\r\nBEGIN\r\n";
  for (std::string_view control : controls) script.append("    ").append(control).append("\r\n");
  return script + "END\r\n";
}

struct Fixture {
  explicit Fixture(const std::string& script) : loaded(LoadText(script)), layouter(FontMap::Default(), measurer) {}
  const clsDialog& First() const { return loaded.rc->Dialogs.Item(1); }
  DialogLayout Layout() { return layouter.Layout(*loaded.rc, First()); }

  Loaded loaded;
  TextMeasurer measurer;
  DialogLayouter layouter;
};

TEST(LayoutDialog, ClassifiesControlsByKeywordClassAndStyle) {
  struct Case {
    const char* statement;
    ControlKind kind;
    TextAlign align;
  };
  const Case cases[] = {
      {"PUSHBUTTON \"a\",1,0,0,10,10", ControlKind::PushButton, TextAlign::Center},
      {"DEFPUSHBUTTON \"a\",1,0,0,10,10", ControlKind::DefPushButton, TextAlign::Center},
      {"GROUPBOX \"a\",1,0,0,10,10", ControlKind::GroupBox, TextAlign::Left},
      {"LTEXT \"a\",1,0,0,10,10", ControlKind::Static, TextAlign::Left},
      {"CTEXT \"a\",1,0,0,10,10", ControlKind::Static, TextAlign::Center},
      {"RTEXT \"a\",1,0,0,10,10", ControlKind::Static, TextAlign::Right},
      {"EDITTEXT 1,0,0,10,10", ControlKind::Edit, TextAlign::Left},
      {"LISTBOX 1,0,0,10,10", ControlKind::ListBox, TextAlign::Left},
      {"COMBOBOX 1,0,0,10,10", ControlKind::ComboBox, TextAlign::Left},
      {"SCROLLBAR 1,0,0,10,10", ControlKind::ScrollBar, TextAlign::Left},
      {"ICON IDI_A,1,0,0,10,10", ControlKind::Icon, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_PUSHBUTTON,0,0,10,10", ControlKind::PushButton, TextAlign::Center},
      {"CONTROL \"a\",1,\"button\",BS_DEFPUSHBUTTON | BS_LEFT,0,0,10,10", ControlKind::DefPushButton, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,0,0,10,10", ControlKind::CheckBox, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_3STATE,0,0,10,10", ControlKind::CheckBox, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_AUTORADIOBUTTON,0,0,10,10", ControlKind::RadioButton, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_GROUPBOX,0,0,10,10", ControlKind::GroupBox, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",BS_AUTOCHECKBOX | BS_PUSHLIKE,0,0,10,10", ControlKind::PushButton, TextAlign::Center},
      {"CONTROL \"a\",1,\"Button\",BS_OWNERDRAW,0,0,10,10", ControlKind::Other, TextAlign::Left},
      // Numbers: the reader keeps their low bits as PS_ flags.
      {"CONTROL \"a\",1,\"Button\",0x9,0,0,10,10", ControlKind::RadioButton, TextAlign::Left},
      {"CONTROL \"a\",1,\"Button\",0x50010007,0,0,10,10", ControlKind::GroupBox, TextAlign::Left},
      {"CONTROL \"a\",1,\"Static\",SS_CENTER,0,0,10,10", ControlKind::Static, TextAlign::Center},
      {"CONTROL \"a\",1,\"Static\",SS_RIGHT | SS_NOPREFIX,0,0,10,10", ControlKind::Static, TextAlign::Right},
      {"CONTROL \"a\",1,\"Static\",SS_LEFTNOWORDWRAP,0,0,10,10", ControlKind::Static, TextAlign::Left},
      {"CONTROL \"IDI_A\",1,\"Static\",SS_ICON,0,0,10,10", ControlKind::Icon, TextAlign::Left},
      {"CONTROL \"IDB_A\",1,\"Static\",SS_BITMAP,0,0,10,10", ControlKind::Icon, TextAlign::Left},
      {"CONTROL \"\",1,\"Static\",SS_ETCHEDHORZ,0,0,10,10", ControlKind::Other, TextAlign::Left},
      {"CONTROL \"\",1,\"Edit\",ES_AUTOHSCROLL,0,0,10,10", ControlKind::Edit, TextAlign::Left},
      {"CONTROL \"\",1,\"ComboBox\",CBS_DROPDOWN,0,0,10,10", ControlKind::ComboBox, TextAlign::Left},
      {"CONTROL \"\",1,\"SysListView32\",WS_BORDER,0,0,10,10", ControlKind::Other, TextAlign::Left},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    Fixture f(Dialog({c.statement}));
    ASSERT_EQ(f.First().Controls.Count(), 1);
    DialogLayout layout = f.Layout();
    EXPECT_EQ(layout.controls[0].kind, c.kind);
    EXPECT_EQ(layout.controls[0].align, c.align);
  }
}

TEST(LayoutDialog, StripsMnemonicMarkers) {
  struct Case {
    const char* written;
    const char* shown;
    char32_t mnemonic;
  };
  for (const Case& c : {Case{"&Open", "Open", U'o'}, Case{"Save &As...", "Save As...", U'a'},
                        Case{"Fish && Chips", "Fish & Chips", 0}, Case{"&&&Fish", "&Fish", U'f'},
                        Case{"A&b&c", "Abc", U'b'}, Case{"End&", "End", 0}, Case{"", "", 0},
                        Case{"\xC3\x9C&\xC3\x9C" "ber", "\xC3\x9C\xC3\x9C" "ber", U'\u00FC'},
                        Case{"&\xD0\x94\xD0\xB0", "\xD0\x94\xD0\xB0", U'\u0434'}}) {
    SCOPED_TRACE(c.written);
    char32_t mnemonic = 1;
    EXPECT_EQ(StripMnemonic(c.written, mnemonic), c.shown);
    EXPECT_EQ(mnemonic, c.mnemonic);
  }
}

TEST(LayoutDialog, WrapsAtBlanksLineFeedsAndBetweenCjkCharacters) {
  TextMeasurer measurer;
  DialogLayouter layouter(FontMap::Default(), measurer);
  const std::string face = "MS Shell Dlg";
  const double px = PointsToPixels(8);
  const MappedFont font = FontMap::Default().Map(face, px);
  const double word = measurer.Advance(font, px, "word");
  const double two = measurer.Advance(font, px, "word word");
  struct Case {
    const char* text;
    double width;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"word word word", two + 0.01, {"word word", "word"}},
      {"word word word", two - 0.01, {"word", "word", "word"}},
      {"word  word", word + 0.01, {"word", "word"}},           // blanks at a break vanish
      {"wordwordword word", word, {"wordwordword", "word"}},   // a long word stays whole
      {"word\\nword", 1000, {"word\\nword"}},                  // only a real line feed breaks
      {"word\nword word", 1000, {"word", "word word"}},
      {"\xE5\x8F\x96\xE6\xB6\x88\xE5\x8F\x96", 1, {"\xE5\x8F\x96", "\xE6\xB6\x88", "\xE5\x8F\x96"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LaidOutText laid = layouter.LayOutText(c.text, face, px, true, c.width);
    std::vector<std::string> lines;
    for (const TextLine& line : laid.lines) lines.push_back(line.text);
    EXPECT_EQ(lines, c.lines);
    EXPECT_TRUE(laid.wrapped);
    EXPECT_DOUBLE_EQ(laid.heightPx, laid.lineHeightPx * static_cast<double>(c.lines.size()));
  }
  LaidOutText single = layouter.LayOutText("&word word", face, px, true, 0);
  ASSERT_EQ(single.lines.size(), 1u);
  EXPECT_DOUBLE_EQ(single.widthPx, two);
  EXPECT_EQ(single.mnemonic, U'w');
  EXPECT_FALSE(single.wrapped);
}

TEST(LayoutDialog, DialogUnitsMarginsAndTextsOfALaidOutDialog) {
  Fixture f(ReadBytes(std::string(TAMREL_TEST_DATA) + "/layout/overflow.rc"));
  ASSERT_TRUE(f.loaded.result);
  DialogLayout layout = f.layouter.Layout(*f.loaded.rc, f.loaded.rc->Dialogs.Item("IDD_SEEDED"));
  EXPECT_EQ(layout.font.family, "Tahoma");  // MS Shell Dlg
  EXPECT_DOUBLE_EQ(layout.pixelSize, 32.0 / 3.0);
  EXPECT_DOUBLE_EQ(layout.pxPerDuX, 1.5);    // average width 6 px
  EXPECT_DOUBLE_EQ(layout.pxPerDuY, 1.625);  // 13 px a line
  EXPECT_EQ(layout.rect.width, 100);
  EXPECT_EQ(layout.rect.height, 96);
  // The caption: 8 px before the text, 8 px before the close button of 46 px (a modal frame
  // has no icon).
  EXPECT_DOUBLE_EQ(layout.captionReservedPx, 62.0);
  EXPECT_EQ(layout.caption.font.family, "Liberation Sans");
  EXPECT_DOUBLE_EQ(layout.caption.pixelSize, 12.0);

  auto control = [&](std::string_view id) -> const ControlLayout& {
    for (const ControlLayout& c : layout.controls)
      if (c.control->ID == id) return c;
    throw std::runtime_error("no control " + std::string(id));
  };
  // Code page 1252 read: the sharp s arrives as UTF-8.
  const ControlLayout& check = control("IDC_CASE");
  EXPECT_EQ(check.text.text, "Gro\xC3\x9F-/Kleinschreibung beachten");
  EXPECT_EQ(check.kind, ControlKind::CheckBox);
  EXPECT_DOUBLE_EQ(check.needWidthDu, (check.text.widthPx + 18.0) / 1.5);
  // "Abbrechen" and 4 px of border each side.
  const ControlLayout& cancel = control("IDCANCEL");
  EXPECT_DOUBLE_EQ(cancel.needWidthDu, (cancel.text.widthPx + 8) / 1.5);
  EXPECT_EQ(cancel.haveWidthDu, 30);
  EXPECT_EQ(cancel.text.mnemonic, 0u);
  // Two lines high: wraps, and measures its height.
  const ControlLayout& wraps = control("IDC_WRAPS");
  EXPECT_TRUE(wraps.text.wrapped);
  EXPECT_EQ(wraps.text.lines.size(), 2u);
  EXPECT_DOUBLE_EQ(wraps.needHeightDu, 16.0);
  // SS_NOPREFIX keeps every '&'.
  const ControlLayout& noPrefix = control("IDC_NOPREFIX");
  EXPECT_EQ(noPrefix.text.text, "A&&B und C&D");
  EXPECT_EQ(noPrefix.text.mnemonic, 0u);
  EXPECT_FALSE(control("IDC_FIND").hasText);
}

TEST(LayoutFitCheck, FindsClashesAndStrayControlsButNotDropDownLists) {
  Fixture f(Dialog({"LTEXT \"&Name:\",IDC_STATIC,4,4,40,8", "CONTROL \"&north\",IDC_N,\"Button\",BS_AUTOCHECKBOX,4,14,60,10",
                    "LTEXT \"Fish && Chips\",IDC_F,4,26,60,8", "LTEXT \"F&ish\",IDC_G,4,36,60,8,SS_NOPREFIX",
                    "PUSHBUTTON \"&Fine\",IDC_FINE,-2,50,40,14", "COMBOBOX IDC_C,100,80,60,90,CBS_DROPDOWNLIST",
                    "EDITTEXT IDC_E,100,90,60,14"},
                   "200, 100"));
  // "Fish && Chips" has no mnemonic, and "F&ish" under SS_NOPREFIX none either, so "&Fine" clashes
  // with nothing; the combo box is 14 units high when closed and stays inside.
  std::vector<FitFinding> findings = CheckDialog(f.Layout());
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(findings[0].kind, FindingKind::DuplicateMnemonic);
  EXPECT_EQ(findings[0].itemId, "IDC_N");
  EXPECT_EQ(findings[0].otherIndex, 0u);
  EXPECT_EQ(findings[0].controlIndex, 1u);
  EXPECT_EQ(findings[0].otherLine, 6);
  EXPECT_EQ(findings[0].line, 7);
  EXPECT_EQ(findings[1].kind, FindingKind::OutsideDialog);
  EXPECT_EQ(findings[1].itemId, "IDC_FINE");
  EXPECT_EQ(findings[1].message, "IDD_T/IDC_FINE at -2, 50, 40, 14 lies outside the dialog (200 x 100)");
  EXPECT_EQ(findings[2].kind, FindingKind::OutsideDialog);
  EXPECT_EQ(findings[2].itemId, "IDC_E");
}

TEST(LayoutFitCheck, CaptionAndOverflowFindingsCarryTheirNumbers) {
  Fixture f(Dialog({"PUSHBUTTON \"Abbrechen\",IDCANCEL,4,4,30,14"}, "60, 40", "\"A rather long caption\""));
  std::vector<FitFinding> findings = CheckDialog(f.Layout());
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].itemId, "CAPTION");
  EXPECT_EQ(findings[0].line, 3);
  EXPECT_EQ(findings[0].controlIndex, static_cast<std::size_t>(-1));
  EXPECT_EQ(findings[1].itemId, "IDCANCEL");
  EXPECT_DOUBLE_EQ(findings[1].haveDu, 30);
  EXPECT_NEAR(findings[1].overPercent, (findings[1].needDu - 30) / 30 * 100, 1e-9);
  EXPECT_EQ(findings[1].message, "IDD_T/IDCANCEL \"Abbrechen\" needs 39 du, has 30 (29%)");
  EXPECT_FALSE(findings[1].height);
}

}  // namespace
}  // namespace tamrel

namespace tamrel {
namespace {

TEST(LayoutFitCheck, MenuMnemonicsClashOnlyWithinOneLevel) {
  Loaded loaded = LoadText(Crlf({"IDR_M MENU DISCARDABLE", "BEGIN", "    POPUP \"&File\"", "    BEGIN",
                                 "        MENUITEM \"&Find\\tCtrl+F\",   ID_FIND",
                                 "        MENUITEM \"&Open\",           ID_OPEN",
                                 "        POPUP \"&Other\"", "        BEGIN",
                                 "            MENUITEM \"&Open\",       ID_OPEN2",
                                 "            MENUITEM \"F&ormat && \\tCtrl+&O\", ID_FORMAT", "        END",
                                 "        MENUITEM SEPARATOR", "        MENUITEM \"Fish && Chips\", ID_FISH", "    END",
                                 "    POPUP \"&Fish\"", "    BEGIN", "        MENUITEM \"&Go\", ID_GO", "    END", "END"}));
  ASSERT_TRUE(loaded.result);
  std::vector<FitFinding> findings = CheckMenus(*loaded.rc);
  std::vector<std::string> messages;
  for (const FitFinding& f : findings) {
    EXPECT_EQ(f.kind, FindingKind::DuplicateMnemonic);
    messages.push_back(std::to_string(f.line) + " " + f.message);
  }
  std::sort(messages.begin(), messages.end());
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "10 IDR_M/ID_FORMAT \"Format & \" has the mnemonic 'o' of ID_OPEN2 \"Open\" (line 9)",
                          "15 IDR_M/POPUP \"Fish\" has the mnemonic 'f' of POPUP \"File\" (line 3)",
                          "7 IDR_M/POPUP \"Other\" has the mnemonic 'o' of ID_OPEN \"Open\" (line 6)"}));
}

}  // namespace
}  // namespace tamrel
