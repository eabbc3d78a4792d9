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

TEST(LayoutFontMap, MapsFacesToFamiliesCaseInsensitivelyAndFallsBack) {
  const FontMap& fonts = FontMap::Default();
  struct Case {
    const char* face;
    const char* family;
    bool fallback;
  };
  // Wine's fonts (fonts-wine) where they match Windows' metrics.
  for (const Case& c : {Case{"\"MS Shell Dlg\"", "Tahoma", false}, Case{"ms shell dlg 2", "Tahoma", false},
                        Case{"\"MS Sans Serif\"", "Tahoma", false}, Case{"Tahoma", "Tahoma", false},
                        Case{"\"Segoe UI\"", "Liberation Sans", false}, Case{"\"Times New Roman\"", "Liberation Serif", false},
                        Case{"\"Courier New\"", "Liberation Mono", false}, Case{"Consolas", "Liberation Mono", false},
                        Case{"\"Fixedsys\"", "Liberation Mono", false}, Case{"\"MS UI Gothic\"", "Noto Sans CJK JP", false},
                        Case{"\"Wingdings Deluxe\"", "Liberation Sans", true}}) {
    SCOPED_TRACE(c.face);
    MappedFont font = fonts.Map(c.face, kEightPointPx);
    EXPECT_EQ(font.family, c.family);
    EXPECT_EQ(font.fallback, c.fallback);
    EXPECT_FALSE(font.file.empty());
  }
  EXPECT_EQ(fonts.Map("\"Courier New\"", kEightPointPx).requested, "Courier New");
  EXPECT_EQ(fonts.Map("Fixedsys", 12.0).family, "Fixedsys");  // its one bitmap strike: 9 points
  // A bitmap family serves only the sizes of its strikes (MS Sans Serif: 8, 10, 12 points), and
  // without the folder of Wine's fonts (a machine without fonts-wine) a face takes the next
  // family of its list.
  const std::string list = R"(, "faces": {"MS Sans Serif": ["MS Sans Serif", "Tahoma", "Liberation Sans"]}})";
  const FontMap bitmap = FontMap::Parse(R"({"font_dirs": ["/usr/share/wine/fonts"])" + list, "t.json");
  EXPECT_EQ(bitmap.Map("MS Sans Serif", kEightPointPx).family, "MS Sans Serif");
  EXPECT_EQ(bitmap.Map("MS Sans Serif", 12.0).family, "Tahoma");  // 9 points
  const FontMap bare = FontMap::Parse(R"({"font_dirs": ["/nonexistent"])" + list, "t.json");
  EXPECT_EQ(bare.Map("MS Sans Serif", kEightPointPx).family, "Liberation Sans");
}

TEST(LayoutFontMap, ChoosesAScriptFamilyByTheCharactersOfTheText) {
  const FontMap& fonts = FontMap::Default();
  const double px = kEightPointPx;
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "\xE5\x8F\x96\xE6\xB6\x88", px).family, "Noto Sans CJK SC");  // 取消
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "\xD8\xA5\xD9\x84\xD8\xBA\xD8\xA7\xD8\xA1", px).family, "DejaVu Sans");
  // A face whose own family has the script keeps it.
  EXPECT_EQ(fonts.MapForText("MS UI Gothic", "\xE5\x8F\x96\xE6\xB6\x88", px).family, "Noto Sans CJK JP");
  // Cyrillic is in the mapped family itself; a bitmap font's Western set lacks it, so the face's
  // next family takes it.
  const FontMap bitmap = FontMap::Parse(
      R"({"font_dirs": ["/usr/share/wine/fonts"], "faces": {"MS Sans Serif": ["MS Sans Serif", "Tahoma"]}})", "t.json");
  EXPECT_EQ(bitmap.MapForText("MS Sans Serif", "Schlie\xC3\x9F\x65n \xE2\x82\xAC", px).family, "MS Sans Serif");  // ß, €
  EXPECT_EQ(bitmap.MapForText("MS Sans Serif", "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0", px).family,
            "Tahoma");
  EXPECT_EQ(fonts.MapForText("Arial", "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0", px).family,
            "Liberation Sans");
}

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

// Dialog base units (average width × height in pixels at 96 DPI) as Windows gives them: MS Sans
// Serif from its bitmap strike's header and whole-pixel advances, Tahoma from its outlines
// (Wine's Tahoma: 2048 units per em, Windows ascent 2049, descent 423).
TEST(LayoutMeasure, DialogBaseUnitsOfTheWindowsFaces) {
  TextMeasurer measurer;
  struct Case {
    const char* face;
    double points;
    int width, height;
    const char* family;
  };
  const FontMap bitmap = FontMap::Parse(R"({"font_dirs": ["/usr/share/wine/fonts"], "faces": {"MS Sans Serif":
      ["MS Sans Serif"], "System": ["System"], "Tahoma": ["Tahoma"], "Segoe UI": ["Liberation Sans"]}})", "t.json");
  for (const Case& c : {Case{"MS Sans Serif", 8, 6, 13, "MS Sans Serif"}, Case{"Tahoma", 8, 6, 13, "Tahoma"},
                        Case{"MS Sans Serif", 10, 8, 16, "MS Sans Serif"}, Case{"System", 10, 8, 16, "System"},
                        Case{"Tahoma", 10, 7, 16, "Tahoma"}, Case{"Segoe UI", 9, 7, 14, "Liberation Sans"}}) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.points));
    const double px = c.points * 96.0 / 72.0;
    const MappedFont font = bitmap.Map(c.face, px);
    EXPECT_EQ(font.family, c.family);
    const FontMetrics metrics = measurer.Metrics(font, px);
    EXPECT_EQ(metrics.averageWidthPx, c.width);
    EXPECT_EQ(metrics.heightPx, c.height);
  }
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
  const MappedFont mono = FontMap::Default().Map("Courier New", kEightPointPx);
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
