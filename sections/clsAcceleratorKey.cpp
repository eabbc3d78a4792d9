// The shortcut writer.
#include "sections/clsAcceleratorKey.h"

namespace tamrel {

LineCollection clsAcceleratorKey::PrintLines() const { return CollectLines(*this); }

void clsAcceleratorKey::WriteLines(LineWriter& out) const {
  const std::size_t alignment = Key.size() < 6 ? 2 : Key.size() < 12 ? 1 : 0;
  std::string& line = out.Begin(Line);
  line.append(Key).append(",\t").append(alignment, '\t');
  line.append(ID).append(",\t\t").append(ItemType);
  if (!Modifier.empty()) line.append(",\t").append(Modifier);
  out.End();
}

}  // namespace tamrel
