// The menu item writer and word count.
#include "sections/clsMenuItem.h"

#include "common/modCommonTools.h"

namespace tamrel {

LineCollection clsMenuItem::PrintLines() const {
  std::string line;
  line.reserve(ItemType.size() + Text.size() + Map.size() + 8);
  line.append(ItemType).append(" ").append(Text);
  if (Text != "SEPARATOR") {
    const std::size_t alignment = Text.size() < 12 ? 2 : Text.size() < 24 ? 1 : 0;
    line.append(",\t\t").append(alignment, '\t').append(Map);
  }
  LineCollection lines;
  lines.Add(std::move(line));
  return lines;
}

std::int32_t clsMenuItem::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
