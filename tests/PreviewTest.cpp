// The preview page of hand-built layouts: what each control kind draws, the findings drawn and
// listed, and texts that need escaping. The page is read back with an XML reader: its markup is
// meant to read the same as XML and as HTML.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <regex>
#include <set>
#include <sstream>

#include "dialogs/clsControl.h"
#include "dialogs/clsDialog.h"
#include "layout/PreviewPage.h"

namespace tamrel {
namespace {

LaidOutText Text(std::vector<std::pair<std::string, double>> lines, double lineHeight = 13.0) {
  LaidOutText text;
  for (auto& [line, width] : lines) {
    text.text += (text.text.empty() ? "" : " ") + line;
    text.lines.push_back({line, width});
    text.widthPx = std::max(text.widthPx, width);
  }
  text.lineHeightPx = lineHeight;
  text.heightPx = lineHeight * static_cast<double>(text.lines.size());
  return text;
}

// A 200 x 100 du dialog at 1.5 x 1.625 px per du with one control per call to Add.
struct Fixture {
  clsDialog dialog;
  std::vector<std::unique_ptr<clsControl>> controls;
  DialogLayout layout;

  Fixture() {
    dialog.ID = "IDD_TEST";
    dialog.Style.Items.Add("WS_CAPTION", "WS_CAPTION");
    dialog.Style.Items.Add("WS_SYSMENU", "WS_SYSMENU");
    layout.dialog = &dialog;
    layout.font = {"MS Shell Dlg", "Liberation Sans", "/usr/share/fonts/x.ttf", 0, false};
    layout.pixelSize = 8.0 * 96 / 72;
    layout.pxPerDuX = 1.5;
    layout.pxPerDuY = 1.625;
    layout.rect = {0, 0, 200, 100};
    layout.caption = Text({{"Settings", 48.5}});
  }

  ControlLayout& Add(ControlKind kind, RectDu rect, LaidOutText text = {}, std::string controlClass = "") {
    controls.push_back(std::make_unique<clsControl>());
    controls.back()->ID = "IDC_" + std::to_string(controls.size());
    controls.back()->ControlType = std::move(controlClass);
    ControlLayout control;
    control.control = controls.back().get();
    control.kind = kind;
    control.rect = rect;
    control.hasText = !text.lines.empty();
    control.text = std::move(text);
    layout.controls.push_back(control);
    return layout.controls.back();
  }

  std::string Page(std::vector<FitFinding> findings = {}) const {
    PreviewPage page("test.rc");
    page.AddDialog(layout, std::move(findings));
    std::ostringstream out;
    page.Write(out);
    return out.str();
  }
};

pugi::xml_document Parse(const std::string& page) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_string(page.c_str(), pugi::parse_default | pugi::parse_doctype);
  EXPECT_TRUE(result) << result.description() << " at " << result.offset;
  return document;
}

std::size_t Count(const pugi::xml_document& document, const std::string& xpath) {
  return document.select_nodes(xpath.c_str()).size();
}

TEST(PreviewTest, EachKindDrawsItsParts) {
  Fixture f;
  f.Add(ControlKind::PushButton, {10, 70, 50, 14}, Text({{"Cancel", 34.2}}));
  f.Add(ControlKind::DefPushButton, {70, 70, 50, 14}, Text({{"OK", 15.1}}));
  f.Add(ControlKind::GroupBox, {5, 5, 100, 40}, Text({{"Direction", 44.0}}));
  f.Add(ControlKind::CheckBox, {10, 20, 80, 10}, Text({{"Match case", 55.0}}));
  f.Add(ControlKind::RadioButton, {10, 32, 80, 10}, Text({{"Up", 13.0}}));
  f.Add(ControlKind::Static, {110, 5, 80, 20}, Text({{"A label that", 60.0}, {"wraps", 30.0}}));
  f.Add(ControlKind::Edit, {110, 30, 80, 14});
  f.Add(ControlKind::ComboBox, {110, 50, 80, 60});
  f.Add(ControlKind::ListBox, {130, 70, 60, 25});
  f.Add(ControlKind::Icon, {180, 5, 20, 20});
  f.Add(ControlKind::Other, {5, 50, 40, 12}, {}, "\"SysListView32\"");
  const pugi::xml_document page = Parse(f.Page());

  const std::string svg = "//section[@id='dialog-IDD_TEST']/svg";
  EXPECT_EQ(Count(page, svg), 1u);
  EXPECT_EQ(Count(page, "//nav//a[@href='#dialog-IDD_TEST']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='titlebar']"), 1u);
  EXPECT_EQ(Count(page, svg + "//path[@class='close']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='button']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='button default']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='group']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='check']"), 1u);
  EXPECT_EQ(Count(page, svg + "//circle[@class='check']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='field']"), 3u);  // edit, combo box, list box
  EXPECT_EQ(Count(page, svg + "//path[@class='dropdown']"), 1u);
  EXPECT_EQ(Count(page, svg + "//rect[@class='icon']"), 1u);
  EXPECT_EQ(page.select_node((svg + "//text[@class='note']").c_str()).node().text().as_string(),
            std::string("SysListView32"));

  // Every measured line is a text element with its id and measured width: the caption, five
  // single-line labels and the two lines of the static text.
  const pugi::xpath_node_set texts = page.select_nodes((svg + "//text[@data-width]").c_str());
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_STREQ(page.select_node("//text[@id='t1-caption-1']").node().child_value(), "Settings");
  const pugi::xml_node wrapped = page.select_node("//text[@id='t1-6-2']").node();
  EXPECT_STREQ(wrapped.child_value(), "wraps");
  EXPECT_STREQ(wrapped.attribute("data-width").value(), "30");
  // The second line sits one line height (13 px) below the first; the control's top is 5 du.
  EXPECT_DOUBLE_EQ(wrapped.attribute("y").as_double(), std::round(5 * 1.625) + 13.0);
  // A push button centres its text; its rectangle is in whole pixels.
  const pugi::xml_node ok = page.select_node("//text[@id='t1-2-1']").node();
  EXPECT_STREQ(ok.attribute("text-anchor").value(), "middle");
  EXPECT_DOUBLE_EQ(ok.attribute("x").as_double(), 105.0 + 75.0 / 2);
  EXPECT_EQ(Count(page, "//p[@class='no-findings']"), 1u);
}

TEST(PreviewTest, FindingsAreOutlinedShownAndListed) {
  Fixture f;
  f.Add(ControlKind::PushButton, {10, 70, 40, 14}, Text({{"Abbrechen", 70.0}}));
  f.Add(ControlKind::Static, {10, 10, 60, 8}, Text({{"Name", 30.0}}));
  FitFinding overflow;
  overflow.line = 12;
  overflow.controlIndex = 0;
  overflow.needDu = 50.0;
  overflow.haveDu = 40.0;
  overflow.message = "IDD_TEST/IDC_1 \"Abbrechen\" needs 50 du, has 40 (25%)";
  FitFinding outside;
  outside.kind = FindingKind::OutsideDialog;
  outside.line = 13;
  outside.controlIndex = 1;
  outside.message = "IDD_TEST/IDC_2 lies outside its dialog";
  const pugi::xml_document page = Parse(f.Page({overflow, outside}));

  const pugi::xpath_node_set groups = page.select_nodes("//g[@class='finding']");
  ASSERT_EQ(groups.size(), 2u);
  const pugi::xml_node first = groups[0].node();
  EXPECT_EQ(std::string(first.child("title").child_value()), overflow.message);
  // The outline is one pixel outside the button; the dashed extent is 10 du (15 px) wider,
  // centred.
  const pugi::xml_node outline = first.find_child_by_attribute("rect", "class", "finding-outline");
  const pugi::xml_node extent = first.find_child_by_attribute("rect", "class", "finding-extent");
  EXPECT_DOUBLE_EQ(outline.attribute("x").as_double(), 14.0);
  EXPECT_DOUBLE_EQ(outline.attribute("width").as_double(), 62.0);
  EXPECT_DOUBLE_EQ(extent.attribute("width").as_double(), 75.0);
  EXPECT_DOUBLE_EQ(extent.attribute("x").as_double(), 7.5);
  // Only the overflow has an extent.
  EXPECT_TRUE(groups[1].node().find_child_by_attribute("rect", "class", "finding-extent").empty());

  const pugi::xpath_node_set items = page.select_nodes("//ol[@class='findings']/li");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(std::string(items[0].node().child_value()), "Line 12: " + overflow.message);
  EXPECT_EQ(Count(page, "//p[@class='no-findings']"), 0u);
}

TEST(PreviewTest, TextsAreEscapedAndEmptyElementsClosed) {
  const std::string nasty = "<b>Fish & \"Chips\"</b>";
  Fixture f;
  f.dialog.ID = "IDD <X>";
  f.layout.caption = Text({{nasty, 90.0}});
  f.Add(ControlKind::Static, {10, 10, 100, 8}, Text({{nasty, 90.0}}));
  FitFinding finding;
  finding.controlIndex = 0;
  finding.kind = FindingKind::DuplicateMnemonic;
  finding.message = nasty;
  const std::string html = f.Page({finding});
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);

  const pugi::xml_document page = Parse(html);
  EXPECT_STREQ(page.select_node("//text[@id='t1-1-1']").node().child_value(), nasty.c_str());
  EXPECT_STREQ(page.select_node("//g[@class='finding']/title").node().child_value(), nasty.c_str());
  EXPECT_STREQ(page.select_node("//ol[@class='findings']/li").node().child_value(), ("Line 0: " + nasty).c_str());
  // The anchor keeps only id-safe characters; the link text is the ID itself.
  EXPECT_EQ(Count(page, "//section[@id='dialog-IDD__X_']"), 1u);
  EXPECT_STREQ(page.select_node("//nav//a").node().child_value(), "IDD <X>");

  // An HTML reader takes "<p />" for an open element: only SVG elements and void HTML
  // elements may close themselves.
  std::smatch match;
  const std::regex selfClosed("<(\\w+)[^<>]*/>");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), selfClosed); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[1];
    static const std::set<std::string> allowed{"meta", "rect", "path", "circle", "defs", "g", "text"};
    EXPECT_TRUE(allowed.count(name)) << name;
  }
}

}  // namespace
}  // namespace tamrel
