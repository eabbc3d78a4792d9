// Dialog layout: word wrapping and the dialog units, margins and texts of a laid-out dialog.
// Control kinds and mnemonic markers are tables in tests/data/tables.json; the fit checker's
// findings on small scripts are in the transcript (tests/data/commands.txt).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "layout/DialogLayout.h"
#include "layout/FitChecker.h"
#include "layout/TextMeasurer.h"

namespace tamrel {
namespace {

struct Fixture {
  explicit Fixture(const std::string& script) : loaded(LoadText(script)), layouter(FontMap::Default(), measurer) {}
  const clsDialog& First() const { return loaded.rc->Dialogs.Item(1); }
  DialogLayout Layout() { return layouter.Layout(*loaded.rc, First()); }

  Loaded loaded;
  TextMeasurer measurer;
  DialogLayouter layouter;
};

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
  EXPECT_EQ(CheckMenus(*f.loaded.rc).size(), 1u);  // the seeded menu clash, code pages from the script
}

}  // namespace
}  // namespace tamrel
