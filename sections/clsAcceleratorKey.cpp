// The shortcut writer.
#include "sections/clsAcceleratorKey.h"

namespace tamrel {

LineCollection clsAcceleratorKey::PrintLines() const {
  const std::size_t alignment = Key.size() < 6 ? 2 : Key.size() < 12 ? 1 : 0;
  std::string line;
  line.reserve(Key.size() + ID.size() + ItemType.size() + Modifier.size() + 12);
  line.append(Key).append(",\t").append(alignment, '\t');
  line.append(ID).append(",\t\t").append(ItemType);
  if (!Modifier.empty()) line.append(",\t").append(Modifier);
  LineCollection lines;
  lines.Add(std::move(line));
  return lines;
}

}  // namespace tamrel
