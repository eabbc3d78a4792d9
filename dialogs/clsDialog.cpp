// Writer, word count and number of a dialog resource.
#include "dialogs/clsDialog.h"

#include "common/Numbers.h"

namespace tamrel {

Variant clsDialog::DialogNumber() const {
  // The last underscore after the first character; an underscore only in front is not one.
  std::size_t underscore = ID.rfind('_');
  std::string_view tail = ID;
  if (underscore != std::string::npos && underscore > 0) tail.remove_prefix(underscore + 1);
  if (!ReadsAsNumber(tail)) return Variant(std::string());
  return Variant(tail);
}

std::int32_t clsDialog::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = Caption.DisplayWordCount(operation);
  for (const clsControl& control : Controls) total += control.DisplayWordCount(operation);
  return total;
}

LineCollection clsDialog::PrintLines() const { return CollectLines(*this); }

namespace {

// The options a relaxed dialog writes between STYLE (and EXSTYLE, CAPTION) and FONT.
struct TextOption {
  std::string_view keyword;
  std::string clsDialog::*member;
};
constexpr TextOption kTextOptions[] = {
    {"MENU ", &clsDialog::Menu},
    {"CLASS ", &clsDialog::Class},
    {"LANGUAGE ", &clsDialog::Language},
    {"VERSION ", &clsDialog::Version},
    {"CHARACTERISTICS ", &clsDialog::Characteristics},
};

}  // namespace

bool clsDialog::WritesStyle() const { return !Relaxed || Style.Line != 0 || Style.Items.Count() > 0; }

bool clsDialog::WritesFont() const { return !Relaxed || Font.Line != 0 || !Font.Name.empty(); }

void clsDialog::WriteLines(LineWriter& out) const {
  if (Controls.Count() >= 32767) Raise(err::Overflow);  // control lines are counted in 16 bits
  std::string& header = out.Begin(Line).append(ID).append(Relaxed ? " " + ItemType + " " : " DIALOG ");
  header.append(Disposition).append(" ");
  AppendNumber(header, Left);
  header.append(", ");
  AppendNumber(header, Top);
  header.append(", ");
  AppendNumber(header, Width);
  header.append(", ");
  AppendNumber(header, Height);
  if (!HelpID.empty()) header.append(", ").append(HelpID);
  out.End();

  // A STYLE statement is written even for a set that renders blank: the reader requires one.
  if (WritesStyle()) {
    std::string& style = out.Begin(Style.Line).append("STYLE ");
    const std::size_t expression = style.size();
    Style.AppendExpression(style);
    if (style.find_first_not_of(' ', expression) == std::string::npos) {
      style.resize(expression);
      style.append("0");
    }
    out.End();
  }
  if (!ExStyle.empty()) out.Line("EXSTYLE " + ExStyle, Line);
  Caption.WriteLines(out);
  for (const TextOption& option : kTextOptions)
    if (!(this->*option.member).empty()) out.Line(std::string(option.keyword) + this->*option.member, Line);
  if (WritesFont()) Font.WriteLines(out);

  out.Line("BEGIN", Line);
  out.Indent();
  for (const clsControl& control : Controls) control.WriteLines(out);
  out.Outdent();
  out.Line("END", Line);
}

std::int32_t clsDialog::LineCount() const {
  if (Controls.Count() >= 32767) Raise(err::Overflow);
  // header, BEGIN, END, and STYLE and FONT unless a relaxed dialog has none
  std::int32_t count = 3 + Caption.LineCount() + (WritesStyle() ? 1 : 0) + (WritesFont() ? 1 : 0);
  count += ExStyle.empty() ? 0 : 1;
  for (const TextOption& option : kTextOptions) count += (this->*option.member).empty() ? 0 : 1;
  Style.LineCount();  // raises as writing the style would
  for (const clsControl& control : Controls) count += control.LineCount();
  return count;
}
}  // namespace tamrel
