// The preview page: the HTML and SVG tree is built with pugixml and saved by it, so every text of
// the script reaches the page escaped by the XML writer. The markup is polyglot: empty HTML
// elements are written with an end tag and SVG elements may close themselves, which reads the
// same as HTML and as XML.
#include "layout/PreviewPage.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "dialogs/clsControl.h"
#include "dialogs/clsDialog.h"

namespace tamrel {
namespace {

// The window frame as drawn around the client area, in pixels: a thin border, a title bar and
// its close button, close to a current desktop's look at 96 DPI.
constexpr double kBorder = 1.0;
constexpr double kTitleHeight = 30.0;
constexpr double kCaptionButton = 46.0;
constexpr double kCaptionIndent = 8.0;
constexpr double kCaptionIcon = 16.0;
constexpr double kCaptionIconGap = 6.0;
// Where a group box's label starts from its left edge.
constexpr double kGroupLabel = 8.0;
// Check boxes and radio buttons: the box, and where the label starts from the control's left.
constexpr double kCheckSize = 13.0;
constexpr double kCheckLabel = 17.0;
// Icons are drawn at their standard size whatever the control's rectangle says.
constexpr double kIconSize = 32.0;
// A closed combo box's height in dialog units, its drop-down button, and the free space around
// the drawing.
constexpr int kComboFieldDu = 14;
constexpr double kDropDownWidth = 17.0;
constexpr double kMargin = 12.0;
// How far outside a control its finding's outline is drawn.
constexpr double kOutlineGap = 1.0;

constexpr std::string_view kStyleSheet = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; }
nav ul { padding-left: 1.2em; }
section.dialog { margin: 2em 0; }
section.dialog h2 { margin-bottom: 0.2em; }
p.meta { color: #555; margin-top: 0; font-size: 90%; }
svg.dialog { display: block; margin: 0.8em 0; }
svg text { white-space: pre; font-kerning: normal; text-rendering: geometricPrecision;
           dominant-baseline: text-before-edge; fill: #000; }
.window { fill: #f0f0f0; stroke: #7a7a7a; }
.titlebar { fill: #fff; }
.close { stroke: #000; stroke-width: 1; }
.button { fill: #e1e1e1; stroke: #adadad; }
.button.default { stroke: #0078d7; stroke-width: 2; }
.group { fill: none; stroke: #bcbcbc; }
.group-label { fill: #f0f0f0; }
.field { fill: #fff; stroke: #7a7a7a; }
.dropdown { fill: none; stroke: #333; stroke-width: 1.2; }
.check { fill: #fff; stroke: #333; }
.icon, .titlebar-icon { fill: #dbe4f0; stroke: #6b7d99; stroke-dasharray: 3 2; }
.scrollbar { fill: #e8e8e8; stroke: #c8c8c8; }
.other { fill: none; stroke: #999; stroke-dasharray: 4 2; }
svg text.note { fill: #777; font-family: sans-serif; font-size: 9px; }
.finding-outline { fill: none; stroke: #d00000; stroke-width: 1.5; }
.finding-other { fill: none; stroke: #d00000; stroke-width: 1; stroke-dasharray: 2 2; }
.finding-extent { fill: rgba(208, 0, 0, 0.07); stroke: #d00000; stroke-dasharray: 4 3; }
ol.findings li { margin: 0.2em 0; }
p.no-findings { color: #2a7a2a; }
div.pair { display: flex; gap: 2em; align-items: flex-start; }
div.pair h3 { margin: 0.4em 0 0; font-size: 100%; color: #555; }
)";

// A number as an attribute value: fixed notation, at most `decimals` decimals, no trailing zeros.
std::string Num(double value, int decimals = 2) {
  if (!std::isfinite(value)) value = 0.0;
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, error == std::errc() ? end : buffer);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

// A rectangle in pixels, relative to the dialog's client area.
struct Box {
  double x = 0.0;
  double y = 0.0;
  double w = 0.0;
  double h = 0.0;
  double Right() const { return x + w; }
  double Bottom() const { return y + h; }
};

Box Inflate(const Box& box, double by) { return {box.x - by, box.y - by, box.w + 2 * by, box.h + 2 * by}; }

pugi::xml_node Element(pugi::xml_node parent, const char* name, const char* cssClass = nullptr) {
  pugi::xml_node node = parent.append_child(name);
  if (cssClass != nullptr) node.append_attribute("class").set_value(cssClass);
  return node;
}

void SetAttribute(pugi::xml_node node, const char* name, double value) {
  node.append_attribute(name).set_value(Num(value).c_str());
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value) {
  node.append_attribute(name).set_value(value.c_str());
}

pugi::xml_node AddText(pugi::xml_node parent, const char* name, const std::string& text, const char* cssClass = nullptr) {
  pugi::xml_node node = Element(parent, name, cssClass);
  node.append_child(pugi::node_pcdata).set_value(text.c_str());
  return node;
}

pugi::xml_node DrawRect(pugi::xml_node parent, const Box& box, const char* cssClass) {
  pugi::xml_node rect = Element(parent, "rect", cssClass);
  SetAttribute(rect, "x", box.x);
  SetAttribute(rect, "y", box.y);
  SetAttribute(rect, "width", std::max(box.w, 0.0));
  SetAttribute(rect, "height", std::max(box.h, 0.0));
  return rect;
}

void DrawPath(pugi::xml_node parent, const std::string& data, const char* cssClass) {
  SetAttribute(Element(parent, "path", cssClass), "d", data);
}

// The CSS font size of a mapped font measured at `pixelSize`: a bitmap font's is its strike's
// height, the size at which a browser draws that strike unscaled.
double DrawnSize(const MappedFont& font, double pixelSize) { return font.strikePx > 0 ? font.strikePx : pixelSize; }

// A CSS font-family list: the mapped family, then a generic family of its kind.
std::string FontFamilyList(const std::string& family) {
  const bool mono = family.find("Mono") != std::string::npos;
  const bool serif = family.find("Serif") != std::string::npos && family.find("Sans") == std::string::npos;
  std::string list;
  if (!family.empty()) list = "\"" + family + "\", ";
  list += mono ? "monospace" : serif ? "serif" : "sans-serif";
  return list;
}

// An id attribute value made of the dialog's ID: letters, digits, '_' and '-' kept, any other
// byte replaced by '_'; unique within the page.
std::string AnchorFor(const std::string& dialogId, std::unordered_set<std::string>& taken) {
  std::string anchor = "dialog-";
  for (unsigned char c : dialogId) anchor += std::isalnum(c) || c == '_' || c == '-' ? static_cast<char>(c) : '_';
  std::string unique = anchor;
  for (int n = 2; !taken.insert(unique).second; ++n) unique = anchor + "-" + std::to_string(n);
  return unique;
}

bool HasCaptionBar(const clsDialog& dialog) {
  return dialog.Style.InStyle("WS_CAPTION") || dialog.Caption.Text.find_first_not_of(" \"") != std::string::npos;
}

const char* KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::Overflow: return "overflow";
    case FindingKind::DuplicateMnemonic: return "mnemonic";
    case FindingKind::OutsideDialog: return "outside";
    case FindingKind::Undecodable: return "undecodable";
  }
  return "finding";
}

// Draws one dialog into an <svg> element.
class DialogDrawing {
 public:
  DialogDrawing(const DialogLayout& layout, const std::vector<FitFinding>& findings, std::size_t number)
      : layout_(layout), findings_(findings), number_(number) {}

  void Draw(pugi::xml_node parent) {
    const clsDialog& dialog = *layout_.dialog;
    pugi::xml_node svg = Element(parent, "svg", "dialog");
    svg.append_attribute("xmlns").set_value("http://www.w3.org/2000/svg");
    svg.append_attribute("role").set_value("img");
    SetAttribute(svg, "font-family", FontFamilyList(layout_.font.family));
    SetAttribute(svg, "font-size", Num(DrawnSize(layout_.font, layout_.pixelSize), 4));
    AddText(svg, "title", "Dialog " + dialog.ID);
    defs_ = Element(svg, "defs");

    client_ = ToPx(layout_.rect);
    client_.x = client_.y = 0.0;
    DrawWindow(svg, dialog);
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) DrawControl(svg, i);
    DrawFindings(svg);

    // The drawing's extent: the window and everything that reaches beyond it.
    const double width = right_ - left_ + 2 * kMargin;
    const double height = bottom_ - top_ + 2 * kMargin;
    SetAttribute(svg, "width", width);
    SetAttribute(svg, "height", height);
    SetAttribute(svg, "viewBox", Num(left_ - kMargin) + " " + Num(top_ - kMargin) + " " + Num(width) + " " + Num(height));
  }

 private:
  // Pixels of a rectangle in dialog units, each edge rounded to a whole pixel as the window
  // manager places controls.
  Box ToPx(const RectDu& rect) const {
    const double left = std::round(layout_.ToPxX(rect.left));
    const double top = std::round(layout_.ToPxY(rect.top));
    return {left, top, std::round(layout_.ToPxX(rect.width)), std::round(layout_.ToPxY(rect.height))};
  }

  void Extend(const Box& box) {
    left_ = std::min(left_, box.x);
    top_ = std::min(top_, box.y);
    right_ = std::max(right_, box.Right());
    bottom_ = std::max(bottom_, box.Bottom());
  }

  // The ids of a control's text lines start with this; the line's number (from 1) follows.
  std::string TextStem(std::size_t control) const {
    return "t" + std::to_string(number_) + "-" + std::to_string(control + 1) + "-";
  }

  // The lines of a text, each aligned within [left, left + width], from `top` down.
  void DrawLines(pugi::xml_node parent, const LaidOutText& text, double left, double width, double top,
                 TextAlign align, const std::string& idStem) {
    const double lineHeight = LineHeight(text);
    const double x = align == TextAlign::Left ? left : align == TextAlign::Center ? left + width / 2 : left + width;
    // A text in another font than the dialog's (the caption's, or a script's the dialog font
    // lacks) names its own.
    const bool ownFont = !text.font.family.empty() && text.pixelSize > 0.0 &&
                         (text.font.family != layout_.font.family || text.pixelSize != layout_.pixelSize ||
                          text.font.strikePx != layout_.font.strikePx);
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
      pugi::xml_node node = AddText(parent, "text", text.lines[i].text);
      SetAttribute(node, "id", idStem + std::to_string(i + 1));
      if (ownFont) {
        SetAttribute(node, "font-family", FontFamilyList(text.font.family));
        SetAttribute(node, "font-size", Num(DrawnSize(text.font, text.pixelSize), 4));
      }
      SetAttribute(node, "x", x);
      SetAttribute(node, "y", top + lineHeight * static_cast<double>(i));
      if (align != TextAlign::Left) SetAttribute(node, "text-anchor", align == TextAlign::Center ? "middle" : "end");
      SetAttribute(node, "data-width", text.lines[i].widthPx);
    }
  }

  static double LineHeight(const LaidOutText& text) {
    if (text.lineHeightPx > 0.0) return text.lineHeightPx;
    return text.lines.empty() ? 0.0 : text.heightPx / static_cast<double>(text.lines.size());
  }

  // A group whose drawing is clipped to `box`, as a window clips what it paints.
  pugi::xml_node ClippedGroup(pugi::xml_node parent, const Box& box, const std::string& id) {
    pugi::xml_node clip = Element(defs_, "clipPath");
    SetAttribute(clip, "id", id);
    DrawRect(clip, box, nullptr);
    pugi::xml_node group = Element(parent, "g");
    SetAttribute(group, "clip-path", "url(#" + id + ")");
    return group;
  }

  // The title bar's buttons from the right: close, then minimize and maximize (or help).
  int CaptionButtons() const {
    const clsStyle& style = layout_.dialog->Style;
    if (!style.InStyle("WS_SYSMENU")) return 0;
    if (style.InStyle("WS_MINIMIZEBOX") || style.InStyle("WS_MAXIMIZEBOX")) return 3;
    return style.InStyle("DS_CONTEXTHELP") ? 2 : 1;
  }

  bool CaptionIcon() const {
    const clsStyle& style = layout_.dialog->Style;
    return style.InStyle("WS_SYSMENU") && !style.InStyle("DS_MODALFRAME");
  }

  // The part of the title bar the caption text may use: from its indent (after the icon) to
  // the buttons.
  Box CaptionBox() const {
    const double left = kCaptionIndent + (CaptionIcon() ? kCaptionIcon + kCaptionIconGap : 0.0);
    return {left, -kTitleHeight, client_.w - CaptionButtons() * kCaptionButton - left, kTitleHeight};
  }

  void DrawWindow(pugi::xml_node svg, const clsDialog& dialog) {
    const bool captionBar = HasCaptionBar(dialog);
    const double titleHeight = captionBar ? kTitleHeight : 0.0;
    const Box frame{-kBorder, -kBorder - titleHeight, client_.w + 2 * kBorder, client_.h + titleHeight + 2 * kBorder};
    pugi::xml_node window = Element(svg, "g", "frame");
    DrawRect(window, frame, "window");
    Extend(frame);
    if (!captionBar) return;
    DrawRect(window, {0.0, -kTitleHeight, client_.w, kTitleHeight}, "titlebar");
    if (CaptionIcon())
      DrawRect(window, {kCaptionIndent, -kTitleHeight + (kTitleHeight - kCaptionIcon) / 2, kCaptionIcon, kCaptionIcon},
               "titlebar-icon");
    // Close (a cross), then maximize (a square) and minimize (a bar), or help (a question box).
    const int buttons = CaptionButtons();
    const double cy = -kTitleHeight / 2;
    for (int i = 0; i < buttons; ++i) {
      const double cx = client_.w - kCaptionButton * (i + 0.5);
      // Joined piece by piece: g++ 12 at -O3 warns (falsely) about overlapping copies in a
      // chain of string additions here.
      std::string path;
      auto add = [&path](std::initializer_list<std::string_view> pieces) {
        for (std::string_view piece : pieces) path.append(piece);
      };
      if (i == 0) {
        add({"M", Num(cx - 5), " ", Num(cy - 5), "L", Num(cx + 5), " ", Num(cy + 5)});
        add({"M", Num(cx + 5), " ", Num(cy - 5), "L", Num(cx - 5), " ", Num(cy + 5)});
      } else if (buttons == 3 && i == 1) {
        add({"M", Num(cx - 5), " ", Num(cy - 5), "h10v10h-10z"});
      } else {
        add({"M", Num(cx - 5), " ", Num(cy), "h10"});
      }
      DrawPath(window, path, "close");
    }
    const Box area = CaptionBox();
    const double top = area.y + (area.h - layout_.caption.heightPx) / 2;
    pugi::xml_node group = ClippedGroup(window, area, "clip" + std::to_string(number_) + "-caption");
    DrawLines(group, layout_.caption, area.x, area.w, top, TextAlign::Left, "t" + std::to_string(number_) + "-caption-");
  }

  void DrawControl(pugi::xml_node svg, std::size_t index) {
    const ControlLayout& control = layout_.controls[index];
    const Box box = ToPx(control.rect);
    // A combo box's rectangle includes its dropped-down list, which is not drawn.
    if (control.kind != ControlKind::ComboBox) Extend(box);
    pugi::xml_node group = Element(svg, "g", "control");
    SetAttribute(group, "data-id", control.control->ID);
    const LaidOutText& text = control.text;
    const std::string clipId = "clip" + std::to_string(number_) + "-" + std::to_string(index + 1);
    const std::string idStem = TextStem(index);
    const double centredTop = box.y + (box.h - text.heightPx) / 2;
    switch (control.kind) {
      case ControlKind::PushButton:
      case ControlKind::DefPushButton: {
        const bool isDefault = control.kind == ControlKind::DefPushButton;
        DrawRect(group, isDefault ? Box{box.x + 1, box.y + 1, box.w - 2, box.h - 2} : Box{box.x + 0.5, box.y + 0.5, box.w - 1, box.h - 1},
                 isDefault ? "button default" : "button");
        if (control.hasText)
          DrawLines(ClippedGroup(group, box, clipId), text, box.x, box.w, centredTop, TextAlign::Center, idStem);
        break;
      }
      case ControlKind::CheckBox:
      case ControlKind::RadioButton: {
        const double cy = box.y + box.h / 2;
        if (control.kind == ControlKind::CheckBox) {
          DrawRect(group, {box.x + 0.5, cy - kCheckSize / 2, kCheckSize - 1, kCheckSize - 1}, "check");
        } else {
          pugi::xml_node circle = Element(group, "circle", "check");
          SetAttribute(circle, "cx", box.x + kCheckSize / 2);
          SetAttribute(circle, "cy", cy);
          SetAttribute(circle, "r", kCheckSize / 2 - 0.5);
        }
        if (control.hasText) {
          const Box label{box.x + kCheckLabel, box.y, std::max(box.w - kCheckLabel, 0.0), box.h};
          DrawLines(ClippedGroup(group, box, clipId), text, label.x, label.w, centredTop, control.align, idStem);
        }
        break;
      }
      case ControlKind::GroupBox: {
        const double lineHeight = text.lines.empty() ? layout_.ToPxY(8) : LineHeight(text);
        DrawRect(group, {box.x + 0.5, box.y + lineHeight / 2, box.w - 1, box.h - lineHeight / 2 - 0.5}, "group");
        if (control.hasText && !text.lines.empty()) {
          const double indent = kGroupLabel;
          DrawRect(group, {box.x + indent - 2, box.y, text.widthPx + 4, lineHeight}, "group-label");
          DrawLines(ClippedGroup(group, box, clipId), text, box.x + indent, box.w - indent, box.y, TextAlign::Left,
                    idStem);
        }
        break;
      }
      case ControlKind::Static:
        if (control.hasText) DrawLines(ClippedGroup(group, box, clipId), text, box.x, box.w, box.y, control.align, idStem);
        break;
      case ControlKind::Edit:
      case ControlKind::ListBox:
        DrawRect(group, {box.x + 0.5, box.y + 0.5, box.w - 1, box.h - 1}, "field");
        break;
      case ControlKind::ComboBox: {
        // The rectangle's height includes the dropped-down list; the closed box is one line high.
        const double fieldHeight = std::min(box.h, std::round(layout_.ToPxY(kComboFieldDu)));
        DrawRect(group, {box.x + 0.5, box.y + 0.5, box.w - 1, fieldHeight - 1}, "field");
        Extend({box.x, box.y, box.w, fieldHeight});
        const double cx = box.Right() - kDropDownWidth / 2;
        const double cy = box.y + fieldHeight / 2;
        DrawPath(group,
                 "M" + Num(cx - 4) + " " + Num(cy - 2) + "L" + Num(cx) + " " + Num(cy + 2) + "L" + Num(cx + 4) + " " +
                     Num(cy - 2),
                 "dropdown");
        break;
      }
      case ControlKind::Icon: {
        const Box icon{box.x + 0.5, box.y + 0.5, kIconSize - 1, kIconSize - 1};
        DrawRect(group, icon, "icon");
        DrawPath(group,
                 "M" + Num(icon.x) + " " + Num(icon.y) + "L" + Num(icon.Right()) + " " + Num(icon.Bottom()) + "M" +
                     Num(icon.Right()) + " " + Num(icon.y) + "L" + Num(icon.x) + " " + Num(icon.Bottom()),
                 "icon");
        Extend({box.x, box.y, kIconSize, kIconSize});
        break;
      }
      case ControlKind::ScrollBar:
        DrawRect(group, {box.x + 0.5, box.y + 0.5, box.w - 1, box.h - 1}, "scrollbar");
        break;
      case ControlKind::Other: {
        DrawRect(group, {box.x + 0.5, box.y + 0.5, box.w - 1, box.h - 1}, "other");
        pugi::xml_node clipped = ClippedGroup(group, box, clipId);
        if (control.hasText) {
          DrawLines(clipped, text, box.x, box.w, box.y, control.align, idStem);
        } else {
          std::string name = control.control->ControlType;
          name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
          pugi::xml_node note = AddText(clipped, "text", name.empty() ? control.control->ItemType : name, "note");
          SetAttribute(note, "x", box.x + 3);
          SetAttribute(note, "y", box.y + 2);
        }
        break;
      }
    }
  }

  // Where the whole text of an overflowing control or caption would reach: the box grown by the
  // missing space on the side(s) the text grows to.
  Box OverflowExtent(const Box& box, const FitFinding& finding, TextAlign align, bool growsDown) const {
    Box extent = box;
    if (finding.height) {
      const double missing = layout_.ToPxY(finding.needDu - finding.haveDu);
      extent.h += missing;
      if (!growsDown) extent.y -= missing / 2;
    } else {
      const double missing = layout_.ToPxX(finding.needDu - finding.haveDu);
      extent.w += missing;
      if (align == TextAlign::Center) extent.x -= missing / 2;
      if (align == TextAlign::Right) extent.x -= missing;
    }
    return extent;
  }

  void DrawFindings(pugi::xml_node svg) {
    if (findings_.empty()) return;
    pugi::xml_node layer = Element(svg, "g", "findings");
    for (const FitFinding& finding : findings_) {
      pugi::xml_node group = Element(layer, "g", "finding");
      SetAttribute(group, "data-kind", KindName(finding.kind));
      AddText(group, "title", finding.message);
      Box box;
      TextAlign align = TextAlign::Left;
      bool growsDown = false;
      if (finding.controlIndex < layout_.controls.size()) {
        const ControlLayout& control = layout_.controls[finding.controlIndex];
        box = ToPx(control.rect);
        align = control.kind == ControlKind::PushButton || control.kind == ControlKind::DefPushButton
                    ? TextAlign::Center
                    : control.kind == ControlKind::GroupBox ? TextAlign::Left : control.align;
        growsDown = control.kind == ControlKind::Static || control.kind == ControlKind::GroupBox;
      } else if (finding.itemId == "CAPTION") {
        box = CaptionBox();
      } else {
        continue;
      }
      if (finding.kind == FindingKind::Overflow) {
        const Box extent = OverflowExtent(box, finding, align, growsDown);
        DrawRect(group, extent, "finding-extent");
        Extend(extent);
      }
      // Outlines go just outside the control, so that they cover none of what it shows.
      DrawRect(group, Inflate(box, kOutlineGap), "finding-outline");
      if (finding.kind == FindingKind::DuplicateMnemonic && finding.otherIndex < layout_.controls.size())
        DrawRect(group, Inflate(ToPx(layout_.controls[finding.otherIndex].rect), kOutlineGap), "finding-other");
    }
  }

  const DialogLayout& layout_;
  const std::vector<FitFinding>& findings_;
  std::size_t number_;
  pugi::xml_node defs_;
  Box client_;
  double left_ = 0.0;
  double top_ = 0.0;
  double right_ = 0.0;
  double bottom_ = 0.0;
};

std::string CaptionOf(const DialogLayout& layout) { return layout.caption.text; }

std::string FindingsSummary(std::size_t count) {
  return count == 0 ? "no findings" : count == 1 ? "1 finding" : std::to_string(count) + " findings";
}

// HTML elements that must not have an end tag.
bool IsVoidElement(std::string_view name) { return name == "meta" || name == "br" || name == "hr" || name == "link"; }

// Gives every empty HTML element outside SVG an empty text, so that it is written with an end
// tag ("<p></p>", not "<p />", which an HTML reader takes for an open element).
void CloseEmptyHtmlElements(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element || std::string_view(child.name()) == "svg") continue;
    if (child.first_child().empty() && !IsVoidElement(child.name())) child.append_child(pugi::node_pcdata);
    else CloseEmptyHtmlElements(child);
  }
}

}  // namespace

PreviewPage::PreviewPage(std::string title) : title_(std::move(title)) {}

void PreviewPage::AddDialog(const DialogLayout& layout, std::vector<FitFinding> findings) {
  dialogs_.push_back({&layout, std::move(findings), nullptr, {}});
}

void PreviewPage::AddDialog(const DialogLayout& layout, std::vector<FitFinding> findings, const DialogLayout& before,
                            std::vector<FitFinding> beforeFindings) {
  dialogs_.push_back({&layout, std::move(findings), &before, std::move(beforeFindings)});
}

void PreviewPage::Write(std::ostream& out) const {
  pugi::xml_document document;
  document.append_child(pugi::node_doctype).set_value("html");
  pugi::xml_node html = Element(document, "html");
  html.append_attribute("xmlns").set_value("http://www.w3.org/1999/xhtml");
  pugi::xml_node head = Element(html, "head");
  Element(head, "meta").append_attribute("charset").set_value("utf-8");
  AddText(head, "title", "Dialog preview: " + title_);
  AddText(head, "style", std::string(kStyleSheet));
  pugi::xml_node body = Element(html, "body");
  AddText(body, "h1", "Dialog preview: " + title_);

  std::unordered_set<std::string> taken;
  std::vector<std::string> anchors;
  for (const Entry& entry : dialogs_) anchors.push_back(AnchorFor(entry.layout->dialog->ID, taken));

  pugi::xml_node nav = Element(body, "nav");
  AddText(nav, "h2", dialogs_.size() == 1 ? "1 dialog" : std::to_string(dialogs_.size()) + " dialogs");
  pugi::xml_node list = Element(nav, "ul");
  for (std::size_t i = 0; i < dialogs_.size(); ++i) {
    const DialogLayout& layout = *dialogs_[i].layout;
    pugi::xml_node item = Element(list, "li");
    SetAttribute(AddText(item, "a", layout.dialog->ID), "href", "#" + anchors[i]);
    std::string rest;
    if (!CaptionOf(layout).empty()) rest += " \u201C" + CaptionOf(layout) + "\u201D";
    rest += " \u2014 " + FindingsSummary(dialogs_[i].findings.size());
    item.append_child(pugi::node_pcdata).set_value(rest.c_str());
  }

  for (std::size_t i = 0; i < dialogs_.size(); ++i) {
    const DialogLayout& layout = *dialogs_[i].layout;
    const std::vector<FitFinding>& findings = dialogs_[i].findings;
    pugi::xml_node section = Element(body, "section", "dialog");
    SetAttribute(section, "id", anchors[i]);
    AddText(section, "h2", layout.dialog->ID);
    std::string meta = "Line " + std::to_string(static_cast<int>(layout.dialog->Line)) + " \u00B7 font \u201C" +
                       layout.font.requested + "\u201D " + Num(layout.pointSize) + " pt drawn as " +
                       layout.font.family + " " + Num(layout.pixelSize) + " px";
    if (layout.font.fallback) meta += " (fallback)";
    meta += " \u00B7 1 dialog unit = " + Num(layout.pxPerDuX) + " \u00D7 " + Num(layout.pxPerDuY) + " px \u00B7 " +
            std::to_string(layout.rect.width) + " \u00D7 " + std::to_string(layout.rect.height) + " dialog units";
    AddText(section, "p", meta, "meta");
    if (const DialogLayout* before = dialogs_[i].before) {
      // Numbered after every dialog of the page, so that the ids of the two drawings differ.
      pugi::xml_node pair = Element(section, "div", "pair");
      pugi::xml_node left = Element(pair, "div");
      AddText(left, "h3", "Before: " + std::to_string(before->rect.width) + " \u00D7 " +
                              std::to_string(before->rect.height) + " dialog units, " +
                              FindingsSummary(dialogs_[i].beforeFindings.size()));
      DialogDrawing(*before, dialogs_[i].beforeFindings, dialogs_.size() + i + 1).Draw(left);
      pugi::xml_node right = Element(pair, "div");
      AddText(right, "h3", "After");
      DialogDrawing(layout, findings, i + 1).Draw(right);
    } else {
      DialogDrawing(layout, findings, i + 1).Draw(section);
    }
    if (findings.empty()) {
      AddText(section, "p", "No findings.", "no-findings");
      continue;
    }
    pugi::xml_node items = Element(section, "ol", "findings");
    for (const FitFinding& finding : findings)
      AddText(items, "li", "Line " + std::to_string(finding.line) + ": " + finding.message);
  }

  CloseEmptyHtmlElements(html);
  document.save(out, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
}

}  // namespace tamrel
