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
  for (const Case& c : {Case{"\"MS Shell Dlg\"", "Liberation Sans", false}, Case{"ms shell dlg 2", "Liberation Sans", false},
                        Case{"\"MS Sans Serif\"", "Liberation Sans", false}, Case{"Tahoma", "Liberation Sans", false},
                        Case{"\"Segoe UI\"", "Liberation Sans", false}, Case{"\"Times New Roman\"", "Liberation Serif", false},
                        Case{"\"Courier New\"", "Liberation Mono", false}, Case{"Consolas", "Liberation Mono", false},
                        Case{"\"Fixedsys\"", "Liberation Mono", false}, Case{"\"MS UI Gothic\"", "Noto Sans CJK JP", false},
                        Case{"\"Wingdings Deluxe\"", "Liberation Sans", true}}) {
    SCOPED_TRACE(c.face);
    MappedFont font = fonts.Map(c.face);
    EXPECT_EQ(font.family, c.family);
    EXPECT_EQ(font.fallback, c.fallback);
    EXPECT_FALSE(font.file.empty());
  }
  EXPECT_EQ(fonts.Map("\"Courier New\"").requested, "Courier New");
}

TEST(LayoutFontMap, ChoosesAScriptFamilyByTheCharactersOfTheText) {
  const FontMap& fonts = FontMap::Default();
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "Abbrechen").family, "Liberation Sans");
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "\xE5\x8F\x96\xE6\xB6\x88").family, "Noto Sans CJK SC");  // 取消
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "\xD8\xA5\xD9\x84\xD8\xBA\xD8\xA7\xD8\xA1").family, "DejaVu Sans");
  // A face whose own family has the script keeps it.
  EXPECT_EQ(fonts.MapForText("MS UI Gothic", "\xE5\x8F\x96\xE6\xB6\x88").family, "Noto Sans CJK JP");
  // Cyrillic is in the mapped family itself.
  EXPECT_EQ(fonts.MapForText("MS Shell Dlg", "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0").family,
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
    missing.Map("Arial");
    FAIL() << "no error";
  } catch (const FontError& e) {
    EXPECT_NE(std::string(e.what()).find("No Such Family 4711"), std::string::npos);
  }
  TextMeasurer measurer;
  EXPECT_THROW(measurer.Advance(MappedFont{"X", "X", "/nonexistent/font.ttf", 0, false}, 10, "a"), FontError);
}

TEST(LayoutMeasure, DialogUnitsOfLiberationSansAtEightPoints) {
  TextMeasurer measurer;
  const MappedFont font = FontMap::Default().Map("MS Shell Dlg");
  const FontMetrics metrics = measurer.Metrics(font, kEightPointPx);
  // 1854 * 10.667 / 2048 = 9.66 and 434 * 10.667 / 2048 = 2.26: 10 + 2 pixels.
  EXPECT_EQ(metrics.ascentPx, 10);
  EXPECT_EQ(metrics.descentPx, 2);
  EXPECT_EQ(metrics.heightPx, 12);
  // The alphabet's hmtx advances add up to 62138 units = 323.6 px; (324 / 26 + 1) / 2 = 6.
  EXPECT_NEAR(metrics.alphabetPx, 323.6, 1.0);
  EXPECT_EQ(metrics.averageWidthPx, 6);
}

TEST(LayoutMeasure, AdvancesOfKnownStrings) {
  TextMeasurer measurer;
  const MappedFont sans = FontMap::Default().Map("Arial");
  const MappedFont mono = FontMap::Default().Map("Courier New");
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
