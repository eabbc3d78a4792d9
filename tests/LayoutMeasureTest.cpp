// Font mapping, dialog units and text measurement against values read independently from the
// font files (units per em, the OS/2 table's Windows ascent and descent, and the advances of the
// hmtx table, read with a few lines of Python's struct module; see the README).
#include <gtest/gtest.h>

#include "layout/DialogLayout.h"
#include "layout/FontMap.h"
#include "layout/TextMeasurer.h"

namespace tamrel {
namespace {

// Liberation Sans 2: 2048 units per em, Windows ascent 1854 and descent 434.
constexpr double kEightPointPx = 8.0 * 96.0 / 72.0;

// Which family a face maps to, and the dialog base units of the Windows faces, are rows of
// tests/data/tables.json (FontFamily, BaseUnits).

TEST(LayoutFontMap, ReportsBadTablesAndMissingFontsAsErrors) {
  EXPECT_THROW(FontMap::Parse("{", "t.json"), FontError);
  EXPECT_THROW(FontMap::Parse("[1]", "t.json"), FontError);
  EXPECT_THROW(FontMap::Parse(R"({"faces": {"A": 3}})", "t.json"), FontError);
  EXPECT_THROW(FontMap::Parse(R"({"scripts": [{"family": "X", "ranges": [["zz", "1"]]}]})", "t.json"), FontError);
  EXPECT_THROW(FontMap::Load("/nonexistent/fonts.json"), FontError);
  const FontMap missing = FontMap::Parse(R"({"faces": {"Arial": "No Such Family 4711"}})", "t.json");
  try {
    missing.Map("Arial", kEightPointPx);
    FAIL() << "no error";
  } catch (const FontError& e) {
    EXPECT_NE(std::string(e.what()).find("No Such Family 4711"), std::string::npos);
  }
  TextMeasurer measurer;
  EXPECT_THROW(measurer.Advance(MappedFont{"X", "X", "/nonexistent/font.ttf", 0, false}, 10, "a"), FontError);
}

TEST(LayoutMeasure, DialogUnitsOfLiberationSansAtEightPoints) {
  TextMeasurer measurer;
  const MappedFont font = FontMap::Default().Map("Arial", kEightPointPx);
  const FontMetrics metrics = measurer.Metrics(font, kEightPointPx);
  // 1854 * 10.667 / 2048 = 9.66 and 434 * 10.667 / 2048 = 2.26: 10 + 2 pixels.
  EXPECT_EQ(metrics.ascentPx, 10);
  EXPECT_EQ(metrics.descentPx, 2);
  EXPECT_EQ(metrics.heightPx, 12);
  // The alphabet's hmtx advances add up to 62138 units = 323.6 px; (324 / 26 + 1) / 2 = 6.
  EXPECT_NEAR(metrics.alphabetPx, 323.6, 1.0);
  EXPECT_EQ(metrics.averageWidthPx, 6);
}

TEST(LayoutMeasure, BitmapStrikeMeasuresInWholePixels) {
  TextMeasurer measurer;
  const FontMap bitmap = FontMap::Parse(
      R"({"font_dirs": ["/usr/share/wine/fonts"], "faces": {"MS Sans Serif": ["MS Sans Serif"]}})", "t.json");
  // A bitmap strike measures in whole pixels, whatever the size asked for; a character outside
  // its set measures as the default character.
  const MappedFont strike = bitmap.Map("MS Sans Serif", kEightPointPx);
  EXPECT_EQ(strike.strikePx, 13);
  EXPECT_EQ(measurer.Advance(strike, kEightPointPx, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 323);
  EXPECT_EQ(measurer.Advance(strike, 99.0, "Abbrechen"), 52);  // the strike's advances in the file
  EXPECT_EQ(measurer.Advance(strike, kEightPointPx, "\xD0\x96"), measurer.Advance(strike, kEightPointPx, "\x81"));
}

TEST(LayoutMeasure, AdvancesOfKnownStrings) {
  TextMeasurer measurer;
  const MappedFont sans = FontMap::Default().Map("Arial", kEightPointPx);
  const MappedFont mono = FontMap::Default().Map("\"Courier New\"", kEightPointPx);
  EXPECT_EQ(mono.requested, "Courier New");
  struct Case {
    const MappedFont* font;
    const char* text;
    double units;  // the hmtx advances added up
  };
  for (const Case& c : {Case{&sans, "Abbrechen", 9906}, Case{&sans, "Cancel", 6375}, Case{&mono, "Abbrechen", 11061},
                        Case{&sans, "", 0}}) {
    SCOPED_TRACE(c.text);
    EXPECT_NEAR(measurer.Advance(*c.font, kEightPointPx, c.text), c.units * kEightPointPx / 2048, 1e-9);
    // Twice the size, twice the width: advances are unhinted.
    EXPECT_NEAR(measurer.Advance(*c.font, 2 * kEightPointPx, c.text), 2 * c.units * kEightPointPx / 2048, 1e-9);
  }
  // Kerning is on: A and V come closer than their advances (1366 units each) say.
  EXPECT_LT(measurer.Advance(sans, kEightPointPx, "AV"), 2732 * kEightPointPx / 2048 - 0.1);
}

}  // namespace
}  // namespace tamrel
