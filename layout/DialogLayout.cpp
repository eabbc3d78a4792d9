// DialogLayouter: dialog units from the dialog font's metrics, each control's kind from its
// keyword or window class and style, and its text decoded, stripped of its mnemonic marker,
// wrapped where the control wraps and measured with the kind's margins.
#include "layout/DialogLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/Utf8Text.h"
#include "dialogs/clsDialog.h"
#include "document/clsRC.h"
#include "layout/TextMeasurer.h"
#include "translation/RcEscapes.h"
#include "translation/UnitExtractor.h"

namespace tamrel {

namespace {

// Margins of the kinds at 96 DPI, in pixels (see the README's table).
constexpr double kButtonPaddingPx = 4.0;     // each side: 2 px edge, 1 px focus rectangle, 1 px gap
constexpr double kCheckBoxLeadPx = 13.0 + 4.0;  // the box, then the gap before the text
constexpr double kCheckBoxTrailPx = 1.0;        // the focus rectangle around the text
constexpr double kGroupBoxLeadPx = 8.0;         // the frame's corner and the gap before the text
constexpr double kGroupBoxTrailPx = 4.0;        // the gap after it, so that the corner shows

// The title bar: where its text starts, the icon of a dialog without a modal frame, and each
// caption button, at 96 DPI.
constexpr double kCaptionTextLeftPx = 8.0;
constexpr double kCaptionIconPx = 16.0 + 6.0;
constexpr double kCaptionButtonPx = 46.0;
constexpr double kCaptionGapPx = 8.0;

constexpr double kDefaultPoints = 8.0;
// A dialog without FONT is drawn in the system font: System, 10 points (base units 8 x 16).
constexpr double kSystemPoints = 10.0;
constexpr std::string_view kSystemFace = "System";

struct NamedBits {
  std::string_view name;
  std::uint32_t value;
};

// Control styles by name (low 16 bits). Names shared by several classes with different values
// do not occur among these.
constexpr std::array kStyleBits{
    NamedBits{"BS_PUSHBUTTON", 0x0},     NamedBits{"BS_DEFPUSHBUTTON", 0x1}, NamedBits{"BS_CHECKBOX", 0x2},
    NamedBits{"BS_AUTOCHECKBOX", 0x3},   NamedBits{"BS_RADIOBUTTON", 0x4},   NamedBits{"BS_3STATE", 0x5},
    NamedBits{"BS_AUTO3STATE", 0x6},     NamedBits{"BS_GROUPBOX", 0x7},      NamedBits{"BS_USERBUTTON", 0x8},
    NamedBits{"BS_AUTORADIOBUTTON", 0x9}, NamedBits{"BS_PUSHBOX", 0xA},      NamedBits{"BS_OWNERDRAW", 0xB},
    NamedBits{"BS_SPLITBUTTON", 0xC},    NamedBits{"BS_DEFSPLITBUTTON", 0xD}, NamedBits{"BS_COMMANDLINK", 0xE},
    NamedBits{"BS_DEFCOMMANDLINK", 0xF}, NamedBits{"BS_LEFTTEXT", 0x20},     NamedBits{"BS_TEXT", 0x0},
    NamedBits{"BS_ICON", 0x40},          NamedBits{"BS_BITMAP", 0x80},       NamedBits{"BS_LEFT", 0x100},
    NamedBits{"BS_RIGHT", 0x200},        NamedBits{"BS_CENTER", 0x300},      NamedBits{"BS_TOP", 0x400},
    NamedBits{"BS_BOTTOM", 0x800},       NamedBits{"BS_VCENTER", 0xC00},     NamedBits{"BS_PUSHLIKE", 0x1000},
    NamedBits{"BS_MULTILINE", 0x2000},   NamedBits{"BS_FLAT", 0x8000},       NamedBits{"BS_RIGHTBUTTON", 0x20},
    NamedBits{"SS_LEFT", 0x0},           NamedBits{"SS_CENTER", 0x1},        NamedBits{"SS_RIGHT", 0x2},
    NamedBits{"SS_ICON", 0x3},           NamedBits{"SS_BLACKRECT", 0x4},     NamedBits{"SS_GRAYRECT", 0x5},
    NamedBits{"SS_WHITERECT", 0x6},      NamedBits{"SS_BLACKFRAME", 0x7},    NamedBits{"SS_GRAYFRAME", 0x8},
    NamedBits{"SS_WHITEFRAME", 0x9},     NamedBits{"SS_USERITEM", 0xA},      NamedBits{"SS_SIMPLE", 0xB},
    NamedBits{"SS_LEFTNOWORDWRAP", 0xC}, NamedBits{"SS_OWNERDRAW", 0xD},     NamedBits{"SS_BITMAP", 0xE},
    NamedBits{"SS_ENHMETAFILE", 0xF},    NamedBits{"SS_ETCHEDHORZ", 0x10},   NamedBits{"SS_ETCHEDVERT", 0x11},
    NamedBits{"SS_ETCHEDFRAME", 0x12},   NamedBits{"SS_NOPREFIX", 0x80},     NamedBits{"SS_NOTIFY", 0x100},
    NamedBits{"SS_CENTERIMAGE", 0x200},  NamedBits{"SS_RIGHTJUST", 0x400},   NamedBits{"SS_SUNKEN", 0x1000},
    NamedBits{"SS_ENDELLIPSIS", 0x4000}, NamedBits{"SS_PATHELLIPSIS", 0x8000}, NamedBits{"SS_WORDELLIPSIS", 0xC000},
};

constexpr std::uint32_t kButtonTypeMask = 0xF;
constexpr std::uint32_t kStaticTypeMask = 0x1F;
constexpr std::uint32_t kBsPushLike = 0x1000;
constexpr std::uint32_t kBsMultiline = 0x2000;
constexpr std::uint32_t kBsHorizontalMask = 0x300;
constexpr std::uint32_t kSsNoPrefix = 0x80;
constexpr std::uint32_t kSsEllipsisMask = 0xC000;

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

char32_t LowerCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

bool IsCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0x20000 && c <= 0x3FFFF);
}

// One piece of a line between break opportunities.
struct Segment {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool blankBefore = false;  // a blank separates it from the piece before
};

}  // namespace

std::uint32_t ControlStyleBits(const clsControl& control) {
  std::uint32_t bits = 0;
  for (const std::string& item : control.Style.Items) {
    if (item.starts_with("PS_")) {
      // A number in the style: its low bits came back as the PS_ flags, one a bit.
      static constexpr std::array<std::string_view, 16> kBitNames{
          "PS_EDIT",  "PS_COMBO",  "PS_LIST",    "PS_GROUP",      "PS_BITENUM", "PS_NOTPARAM",
          "PS_FORCE_XFE", "PS_MULTILINE", "PS_NOLABEL", "PS_NOUNITS", "PS_PERCENT", "PS_NOMETHODS",
          "PS_TEMP",  "PS_GAUGE",  "PS_READONLY", "PS_SHORTLABELS"};
      for (std::size_t bit = 0; bit < kBitNames.size(); ++bit)
        if (item == kBitNames[bit]) bits |= 1u << bit;
      continue;
    }
    for (const NamedBits& named : kStyleBits)
      if (item == named.name) bits |= named.value;
  }
  return bits;
}

ControlKind ClassifyControl(const clsControl& control) {
  const std::string& keyword = control.ItemType;
  if (keyword == "PUSHBUTTON" || keyword == "PUSHBOX") return ControlKind::PushButton;
  if (keyword == "DEFPUSHBUTTON") return ControlKind::DefPushButton;
  if (keyword == "CHECKBOX" || keyword == "AUTOCHECKBOX" || keyword == "STATE3" || keyword == "AUTO3STATE")
    return ControlKind::CheckBox;
  if (keyword == "RADIOBUTTON" || keyword == "AUTORADIOBUTTON") return ControlKind::RadioButton;
  if (keyword == "GROUPBOX") return ControlKind::GroupBox;
  if (keyword == "LTEXT" || keyword == "CTEXT" || keyword == "RTEXT") return ControlKind::Static;
  if (keyword == "EDITTEXT") return ControlKind::Edit;
  if (keyword == "LISTBOX") return ControlKind::ListBox;
  if (keyword == "COMBOBOX") return ControlKind::ComboBox;
  if (keyword == "ICON") return ControlKind::Icon;
  if (keyword == "SCROLLBAR") return ControlKind::ScrollBar;
  if (keyword != "CONTROL") return ControlKind::Other;

  const std::string_view windowClass = Unquoted(control.ControlType);
  const std::uint32_t bits = ControlStyleBits(control);
  if (SameText(windowClass, "Button")) {
    if (bits & kBsPushLike) return ControlKind::PushButton;
    switch (bits & kButtonTypeMask) {
      case 0x0: case 0xA: case 0xC: case 0xE: return ControlKind::PushButton;
      case 0x1: case 0xD: case 0xF: return ControlKind::DefPushButton;
      case 0x2: case 0x3: case 0x5: case 0x6: return ControlKind::CheckBox;
      case 0x4: case 0x9: return ControlKind::RadioButton;
      case 0x7: return ControlKind::GroupBox;
      default: return ControlKind::Other;  // user and owner-drawn buttons
    }
  }
  if (SameText(windowClass, "Static")) {
    switch (bits & kStaticTypeMask) {
      case 0x0: case 0x1: case 0x2: case 0xB: case 0xC: return ControlKind::Static;
      case 0x3: case 0xE: case 0xF: return ControlKind::Icon;
      default: return ControlKind::Other;  // rectangles, frames, owner-drawn
    }
  }
  if (SameText(windowClass, "Edit") || SameText(windowClass, "RichEdit") || SameText(windowClass, "RICHEDIT50W") ||
      SameText(windowClass, "RichEdit20W") || SameText(windowClass, "RichEdit20A"))
    return ControlKind::Edit;
  if (SameText(windowClass, "ListBox")) return ControlKind::ListBox;
  if (SameText(windowClass, "ComboBox") || SameText(windowClass, "ComboBoxEx32")) return ControlKind::ComboBox;
  if (SameText(windowClass, "ScrollBar")) return ControlKind::ScrollBar;
  return ControlKind::Other;
}

std::string StripMnemonic(std::string_view utf8, char32_t& mnemonic) {
  mnemonic = 0;
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    if (utf8[at] != '&') {
      out.push_back(utf8[at++]);
      continue;
    }
    if (at + 1 >= utf8.size()) break;  // a marker at the end marks nothing
    if (utf8[at + 1] == '&') {
      out.push_back('&');
      at += 2;
      continue;
    }
    ++at;
    const Utf8Char c = NextUtf8(utf8, at);
    if (mnemonic == 0 && c.length > 0) mnemonic = LowerCase(static_cast<char32_t>(c.codePoint));
  }
  return out;
}

bool DecodeModelText(std::string_view written, int codePage, CodePageConverter& converter, std::string& utf8) {
  utf8.clear();
  const bool quoted = (written.size() >= 2 && written.front() == '"' && written.back() == '"') ||
                      (written.size() >= 3 && (written.front() == 'L' || written.front() == 'l') &&
                       written[1] == '"' && written.back() == '"');
  if (quoted) return !DecodeLiteral(written, codePage, converter, utf8).has_value();
  return !converter.ToUtf8(written, codePage, utf8).has_value();
}

DialogLayouter::DialogLayouter(const FontMap& fonts, TextMeasurer& measurer)
    : fonts_(fonts), measurer_(measurer), converter_(std::make_unique<CodePageConverter>()) {}

DialogLayouter::~DialogLayouter() = default;

const CodePageMap& DialogLayouter::CodePagesOf(const clsRC& rc) {
  if (codePages_ != nullptr) return *codePages_;
  const std::size_t lines = static_cast<std::size_t>(rc.Lines.Count());
  if (!ownMap_ || ownMapFor_ != &rc || ownMapLines_ != lines) {
    ownMap_ = std::make_unique<CodePageMap>(rc.Lines, kNoCodePage, false);
    ownMapFor_ = &rc;
    ownMapLines_ = lines;
  }
  return *ownMap_;
}

LaidOutText DialogLayouter::LayOutText(std::string_view utf8, const std::string& face, double pixelSize,
                                       bool prefix, double wrapWidthPx) {
  LaidOutText laid;
  laid.text = prefix ? StripMnemonic(utf8, laid.mnemonic) : std::string(utf8);
  laid.font = fonts_.MapForText(face, laid.text, pixelSize);
  laid.pixelSize = pixelSize;
  laid.lineHeightPx = measurer_.Metrics(laid.font, pixelSize).heightPx;

  // Hard lines at line feeds; carriage returns and tabs draw as nothing and as a blank.
  std::string shown;
  shown.reserve(laid.text.size());
  for (char c : laid.text)
    if (c != '\r') shown.push_back(c == '\t' ? ' ' : c);

  auto addLine = [&](std::string_view line) {
    TextLine out{std::string(line), measurer_.Advance(laid.font, pixelSize, line)};
    laid.widthPx = std::max(laid.widthPx, out.widthPx);
    laid.lines.push_back(std::move(out));
  };

  std::vector<Segment> segments;
  std::size_t lineStart = 0;
  while (lineStart <= shown.size()) {
    std::size_t lineEnd = shown.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = shown.size();
    const std::string_view line = std::string_view(shown).substr(lineStart, lineEnd - lineStart);
    if (wrapWidthPx <= 0.0) {
      addLine(line);
    } else {
      // Pieces between blanks, and every CJK character a piece of its own.
      segments.clear();
      bool blank = false;
      std::size_t at = 0;
      while (at < line.size()) {
        if (line[at] == ' ') {
          blank = true;
          ++at;
          continue;
        }
        Segment segment{at, at, blank};
        blank = false;
        while (at < line.size() && line[at] != ' ') {
          const Utf8Char c = NextUtf8(line, at);
          const std::size_t length = c.length == 0 ? 1 : c.length;
          if (c.length > 0 && IsCjk(static_cast<char32_t>(c.codePoint))) {
            if (segment.end > segment.begin) break;  // ends the piece before it
            at += length;
            break;
          }
          at += length;
          segment.end = at;
        }
        segment.end = at;
        segments.push_back(segment);
      }
      const double blankPx = measurer_.Advance(laid.font, pixelSize, " ");
      std::size_t first = 0;  // the first piece of the line being filled
      double filled = 0.0;
      for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        const double width = measurer_.Advance(laid.font, pixelSize, line.substr(s.begin, s.end - s.begin));
        const double added = (i > first && s.blankBefore ? blankPx : 0.0) + width;
        if (i > first && filled + added > wrapWidthPx) {
          addLine(line.substr(segments[first].begin, segments[i - 1].end - segments[first].begin));
          first = i;
          filled = width;
        } else {
          filled += added;
        }
      }
      if (segments.empty())
        addLine({});
      else
        addLine(line.substr(segments[first].begin, segments.back().end - segments[first].begin));
      laid.wrapped = true;
    }
    lineStart = lineEnd + 1;
  }
  laid.heightPx = laid.lineHeightPx * static_cast<double>(laid.lines.size());
  return laid;
}

DialogLayout DialogLayouter::Layout(const clsRC& rc, const clsDialog& dialog) {
  const CodePageMap& codePages = CodePagesOf(rc);
  DialogLayout layout;
  layout.dialog = &dialog;
  const bool systemFont = dialog.Font.Name.empty();
  layout.pointSize = dialog.Font.Size > 0 ? static_cast<double>(dialog.Font.Size)
                     : systemFont           ? kSystemPoints
                                            : kDefaultPoints;
  std::string face(systemFont ? std::string(kSystemFace) : dialog.Font.Name);
  layout.pixelSize = PointsToPixels(layout.pointSize);
  layout.font = fonts_.Map(face, layout.pixelSize);
  const FontMetrics metrics = measurer_.Metrics(layout.font, layout.pixelSize);
  layout.pxPerDuX = metrics.averageWidthPx / 4.0;
  layout.pxPerDuY = metrics.heightPx / 8.0;
  if (layout.pxPerDuX <= 0.0) layout.pxPerDuX = 1.0;
  if (layout.pxPerDuY <= 0.0) layout.pxPerDuY = 1.0;
  layout.rect = RectDu{0, 0, dialog.Width, dialog.Height};

  std::string utf8;
  // The caption, in the title bar's font, beside the icon and the caption buttons.
  if (dialog.Caption.Text.find_first_not_of(' ') != std::string::npos) {
    const int codePage = LineCodePage(rc, codePages, dialog.Caption.Line);
    const bool decoded = DecodeModelText(dialog.Caption.Text, codePage, *converter_, utf8);
    layout.caption = LayOutText(decoded ? utf8 : std::string(), fonts_.CaptionFace(),
                                PointsToPixels(fonts_.CaptionPoints()), false, 0.0);
    layout.caption.decoded = decoded;
    const clsStyle& style = dialog.Style;
    double reserved = kCaptionTextLeftPx + kCaptionGapPx;
    if (style.InStyle("WS_SYSMENU")) {
      if (!style.InStyle("DS_MODALFRAME")) reserved += kCaptionIconPx;
      reserved += kCaptionButtonPx;  // close
      if (style.InStyle("WS_MINIMIZEBOX") || style.InStyle("WS_MAXIMIZEBOX"))
        reserved += 2 * kCaptionButtonPx;
      else if (style.InStyle("DS_CONTEXTHELP"))
        reserved += kCaptionButtonPx;
    }
    layout.captionReservedPx = reserved;
    layout.captionNeedDu = (layout.caption.widthPx + reserved) / layout.pxPerDuX;
    layout.captionHaveDu = dialog.Width;
  }

  layout.controls.reserve(static_cast<std::size_t>(dialog.Controls.Count()));
  for (const clsControl& control : dialog.Controls) {
    ControlLayout laid;
    laid.control = &control;
    laid.kind = ClassifyControl(control);
    laid.rect = RectDu{control.Left, control.Top, control.Width, control.Height};
    const std::uint32_t bits = ControlStyleBits(control);
    const std::string& keyword = control.ItemType;

    switch (laid.kind) {
      case ControlKind::PushButton:
      case ControlKind::DefPushButton: {
        const std::uint32_t horizontal = bits & kBsHorizontalMask;
        laid.align = horizontal == 0x100 ? TextAlign::Left : horizontal == 0x200 ? TextAlign::Right : TextAlign::Center;
        break;
      }
      case ControlKind::Static:
        laid.align = keyword == "CTEXT" ? TextAlign::Center
                     : keyword == "RTEXT" ? TextAlign::Right
                     : keyword == "CONTROL" && (bits & kStaticTypeMask) == 0x1 ? TextAlign::Center
                     : keyword == "CONTROL" && (bits & kStaticTypeMask) == 0x2 ? TextAlign::Right
                                                                              : TextAlign::Left;
        break;
      default:
        laid.align = TextAlign::Left;
    }

    const bool labelled = laid.kind == ControlKind::PushButton || laid.kind == ControlKind::DefPushButton ||
                          laid.kind == ControlKind::CheckBox || laid.kind == ControlKind::RadioButton ||
                          laid.kind == ControlKind::GroupBox || laid.kind == ControlKind::Static ||
                          laid.kind == ControlKind::Other;
    // Statements the dialog reader does not fill (no line) have nothing to lay out.
    if (!labelled || control.Line == 0 || control.Text.empty()) {
      layout.controls.push_back(std::move(laid));
      continue;
    }
    const int codePage = LineCodePage(rc, codePages, control.Line);
    const bool decoded = DecodeModelText(control.Text, codePage, *converter_, utf8);
    if (!decoded) utf8.clear();

    double leadPx = 0.0, trailPx = 0.0;
    switch (laid.kind) {
      case ControlKind::PushButton:
      case ControlKind::DefPushButton: leadPx = trailPx = kButtonPaddingPx; break;
      case ControlKind::CheckBox:
      case ControlKind::RadioButton: leadPx = kCheckBoxLeadPx; trailPx = kCheckBoxTrailPx; break;
      case ControlKind::GroupBox: leadPx = kGroupBoxLeadPx; trailPx = kGroupBoxTrailPx; break;
      default: break;
    }
    const double widthPx = layout.ToPxX(control.Width);
    const double heightPx = layout.ToPxY(control.Height);
    const bool prefix = !(laid.kind == ControlKind::Static && (bits & kSsNoPrefix));

    // Statics wrap at word boundaries unless their style keeps them on one line or they end
    // in an ellipsis; a static one line high shows only the first line, so its text is taken
    // as one line. Buttons wrap with BS_MULTILINE.
    double wrapPx = 0.0;
    const std::uint32_t staticType = bits & kStaticTypeMask;
    const bool staticWraps = laid.kind == ControlKind::Static && staticType != 0xB && staticType != 0xC &&
                             (bits & kSsEllipsisMask) == 0;
    const bool buttonWraps = (laid.kind == ControlKind::PushButton || laid.kind == ControlKind::DefPushButton ||
                              laid.kind == ControlKind::CheckBox || laid.kind == ControlKind::RadioButton) &&
                             (bits & kBsMultiline);
    if (staticWraps || buttonWraps) {
      const double lineHeight = metrics.heightPx;
      if (heightPx >= 2 * lineHeight || utf8.find('\n') != std::string::npos)
        wrapPx = std::max(1.0, widthPx - leadPx - trailPx);
    }
    laid.text = LayOutText(utf8, face, layout.pixelSize, prefix, wrapPx);
    laid.text.decoded = decoded;
    laid.hasText = laid.kind != ControlKind::Other;
    if (laid.hasText) {
      laid.needWidthDu = (laid.text.widthPx + leadPx + trailPx) / layout.pxPerDuX;
      laid.haveWidthDu = control.Width;
      laid.needHeightDu = laid.text.heightPx / layout.pxPerDuY;
      laid.haveHeightDu = control.Height;
    }
    layout.controls.push_back(std::move(laid));
  }
  return layout;
}

}  // namespace tamrel
