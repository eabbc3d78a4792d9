// Writer and word count of one dialog control. Every format is the keyword, tabs that put the
// first field at column 32 behind the dialog's own indentation tab (column 24 for CONTROL and
// DEFPUSHBUTTON, whose keywords are too long), then the fields separated by a comma and a blank.
#include "dialogs/clsControl.h"

#include <string_view>

#include "common/modCommonTools.h"

namespace tamrel {
namespace {

enum class FirstField { Text, Map, None };

// One-line formats: "{keyword}{tabs}[{first}, ]{ID}, {Left}, {Top}, {Width}, {Height}[, {style}]".
struct LineFormat {
  std::string_view keyword;
  std::string_view tabs;
  FirstField first;
  std::string_view afterId;  // LTEXT keeps the left coordinate against the comma
  bool withStyle;            // LTEXT and ICON are written without their style
};

constexpr LineFormat kLineFormats[] = {
    {"LTEXT", "\t\t\t", FirstField::Text, ",", false},
    {"PUSHBUTTON", "\t\t", FirstField::Text, ", ", true},
    {"GROUPBOX", "\t\t", FirstField::Text, ", ", true},
    {"DEFPUSHBUTTON", "\t", FirstField::Text, ", ", true},
    {"ICON", "\t\t\t", FirstField::Map, ", ", false},
    {"CTEXT", "\t\t\t", FirstField::Text, ", ", true},
    {"RTEXT", "\t\t\t", FirstField::Text, ", ", true},
    {"EDITTEXT", "\t\t", FirstField::None, ", ", true},
    {"COMBOBOX", "\t\t", FirstField::None, ", ", true},
    {"SCROLLBAR", "\t\t", FirstField::None, ", ", true},
    {"LISTBOX", "\t\t\t", FirstField::None, ", ", true},
};

// The keywords only relaxed reading fills; every relaxed control is written with its style.
constexpr LineFormat kRelaxedFormats[] = {
    {"PUSHBOX", "\t\t\t", FirstField::Text, ", ", true},
    {"CHECKBOX", "\t\t", FirstField::Text, ", ", true},
    {"AUTOCHECKBOX", "\t\t", FirstField::Text, ", ", true},
    {"STATE3", "\t\t\t", FirstField::Text, ", ", true},
    {"AUTO3STATE", "\t\t", FirstField::Text, ", ", true},
    {"RADIOBUTTON", "\t\t", FirstField::Text, ", ", true},
    {"AUTORADIOBUTTON", "\t\t", FirstField::Text, ", ", true},
};

const LineFormat* FormatOf(std::string_view keyword, bool relaxed) {
  for (const LineFormat& format : kLineFormats)
    if (keyword == format.keyword) return &format;
  if (relaxed)
    for (const LineFormat& format : kRelaxedFormats)
      if (keyword == format.keyword) return &format;
  return nullptr;
}

// A relaxed control's extended style and help ID behind its style; a later one set writes the
// earlier ones as 0.
void AppendExtras(std::string& line, const clsControl& control) {
  if (!control.ExStyle.empty() || !control.HelpID.empty())
    line.append(", ").append(control.ExStyle.empty() ? "0" : control.ExStyle);
  if (!control.HelpID.empty()) line.append(", ").append(control.HelpID);
}

void AppendPlacement(std::string& line, const clsControl& control) {
  AppendNumber(line, control.Left);
  line.append(", ");
  AppendNumber(line, control.Top);
  line.append(", ");
  AppendNumber(line, control.Width);
  line.append(", ");
  AppendNumber(line, control.Height);
}

}  // namespace

LineCollection clsControl::PrintLines() const { return CollectLines(*this); }

void clsControl::WriteLines(LineWriter& out) const {
  if (ItemType == "CONTROL") {
    // The first line ends in a comma, so a reader joins the two lines into one statement.
    out.Begin(Line).append("CONTROL\t\t").append(Text).append(", ").append(ID).append(", ").append(ControlType).append(",");
    out.End();
    std::string& second = out.Begin(Line).append("\t\t\t");
    const std::size_t expression = second.size();
    Style.AppendExpression(second);
    if (Relaxed && second.find_first_not_of(' ', expression) == std::string::npos) {
      second.resize(expression);
      second.append("0");
    }
    second.append(", ");
    AppendPlacement(second, *this);
    if (Relaxed) AppendExtras(second, *this);
    out.End();
    return;
  }
  const LineFormat* format = FormatOf(ItemType, Relaxed);
  if (format == nullptr) return;
  if (Relaxed) {
    WriteRelaxedLine(out, format->keyword, format->tabs, format->first == FirstField::Text ? &Text : nullptr,
                     format->first == FirstField::Map ? &Map : nullptr);
    return;
  }
  std::string& line = out.Begin(Line).append(format->keyword).append(format->tabs);
  if (format->first == FirstField::Text) line.append(Text).append(", ");
  if (format->first == FirstField::Map) line.append(Map).append(", ");
  line.append(ID).append(format->afterId);
  AppendPlacement(line, *this);
  if (format->withStyle) {
    // A style that renders blank is left out with its comma.
    const std::size_t before = line.size();
    line.append(", ");
    Style.AppendExpression(line);
    if (line.find_first_not_of(' ', before + 2) == std::string::npos) line.resize(before);
  }
  out.End();
}

void clsControl::WriteRelaxedLine(LineWriter& out, std::string_view keyword, std::string_view tabs,
                                  const std::string* text, const std::string* map) const {
  std::string& line = out.Begin(Line).append(keyword).append(tabs);
  if (text != nullptr) line.append(*text).append(", ");
  if (map != nullptr) line.append(*map).append(", ");
  line.append(ID).append(", ");
  AppendPlacement(line, *this);
  // The style is written when it renders, or as 0 when an extra follows it.
  const std::size_t before = line.size();
  line.append(", ");
  Style.AppendExpression(line);
  if (line.find_first_not_of(' ', before + 2) == std::string::npos) {
    line.resize(before);
    if (!ExStyle.empty() || !HelpID.empty()) line.append(", 0");
  }
  AppendExtras(line, *this);
  out.End();
}

std::int32_t clsControl::LineCount() const {
  if (ItemType == "CONTROL") {
    Style.LineCount();  // raises as writing the style would
    return 2;
  }
  const LineFormat* format = FormatOf(ItemType, Relaxed);
  if (format == nullptr) return 0;
  if (format->withStyle || Relaxed) Style.LineCount();
  return 1;
}

std::int32_t clsControl::DisplayWordCount(const Variant& vOperation) const {
  if (ItemType == "CONTROL") return 0;
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
