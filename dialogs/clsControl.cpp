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

void AppendPlacement(std::string& line, const clsControl& control) {
  line.append(std::to_string(int(control.Left))).append(", ");
  line.append(std::to_string(int(control.Top))).append(", ");
  line.append(std::to_string(int(control.Width))).append(", ");
  line.append(std::to_string(int(control.Height)));
}

}  // namespace

LineCollection clsControl::PrintLines() const {
  LineCollection lines;
  if (ItemType == "CONTROL") {
    // The first line ends in a comma, so a reader joins the two lines into one statement.
    lines.Add("CONTROL\t\t" + Text + ", " + ID + ", " + ControlType + ",");
    std::string second = "\t\t\t" + Style.ConvertLine() + ", ";
    AppendPlacement(second, *this);
    lines.Add(std::move(second));
    return lines;
  }
  for (const LineFormat& format : kLineFormats) {
    if (ItemType != format.keyword) continue;
    std::string line(format.keyword);
    line.append(format.tabs);
    if (format.first == FirstField::Text) line.append(Text).append(", ");
    if (format.first == FirstField::Map) line.append(Map).append(", ");
    line.append(ID).append(format.afterId);
    AppendPlacement(line, *this);
    if (format.withStyle) {
      std::string style = Style.ConvertLine();
      if (style.find_first_not_of(' ') != std::string::npos) line.append(", ").append(style);
    }
    lines.Add(std::move(line));
    break;
  }
  return lines;
}

std::int32_t clsControl::DisplayWordCount(const Variant& vOperation) const {
  if (ItemType == "CONTROL") return 0;
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
