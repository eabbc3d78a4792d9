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

LineCollection clsDialog::PrintLines() const {
  if (Controls.Count() >= 32767) Raise(err::Overflow);  // control lines are counted in 16 bits
  LineCollection lines;
  lines.Add(ID + " DIALOG " + Disposition + " " + std::to_string(int(Left)) + ", " +
            std::to_string(int(Top)) + ", " + std::to_string(int(Width)) + ", " +
            std::to_string(int(Height)));

  // A STYLE statement is written even for a set that renders empty: the reader requires one.
  LineCollection style = Style.PrintLines();
  if (style.Empty()) style.Add("STYLE 0");
  for (std::string& line : style) lines.Add(std::move(line));
  for (std::string& line : Caption.PrintLines()) lines.Add(std::move(line));
  for (std::string& line : Font.PrintLines()) lines.Add(std::move(line));

  lines.Add("BEGIN");
  for (const clsControl& control : Controls)
    for (const std::string& line : control.PrintLines()) lines.Add("\t" + line);
  lines.Add("END");
  return lines;
}

}  // namespace tamrel
