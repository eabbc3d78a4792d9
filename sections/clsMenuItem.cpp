// The menu item writer and word count.
#include "sections/clsMenuItem.h"

#include "common/modCommonTools.h"

namespace tamrel {

LineCollection clsMenuItem::PrintLines() const { return CollectLines(*this); }

void clsMenuItem::WriteLines(LineWriter& out) const {
  std::string& line = out.Begin(Line);
  line.append(ItemType).append(" ").append(Text);
  if (Text != "SEPARATOR") {
    const std::size_t alignment = Text.size() < 12 ? 2 : Text.size() < 24 ? 1 : 0;
    line.append(",\t\t").append(alignment, '\t').append(Map);
    if (!Options.empty()) line.append(", ").append(Options);
  }
  out.End();
}

std::int32_t clsMenuItem::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
