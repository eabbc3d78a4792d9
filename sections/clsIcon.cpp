// The ICON statement written back as one script line.
#include "sections/clsIcon.h"

namespace tamrel {

LineCollection clsIcon::PrintLines() const { return CollectLines(*this); }

void clsIcon::WriteLines(LineWriter& out) const {
  out.Begin(Line).append(ID).append("\t\t").append(ItemType).append("\t\t").append(Disposition).append(" ")
      .append(Handling).append("\t").append(Path);
  out.End();
}

}  // namespace tamrel
