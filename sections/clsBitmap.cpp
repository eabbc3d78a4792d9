// The BITMAP statement written back as one script line.
#include "sections/clsBitmap.h"

namespace tamrel {

LineCollection clsBitmap::PrintLines() const { return CollectLines(*this); }

void clsBitmap::WriteLines(LineWriter& out) const {
  out.Begin(Line).append(ID).append("\t\t").append(ItemType).append("\t").append(Disposition).append(" ")
      .append(Handling).append("\t").append(Path);
  out.End();
}

}  // namespace tamrel
