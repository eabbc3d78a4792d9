// The CURSOR statement written back as one script line, laid out like an icon.
#include "sections/clsCursor.h"

namespace tamrel {

LineCollection clsCursor::PrintLines() const { return CollectLines(*this); }

void clsCursor::WriteLines(LineWriter& out) const {
  out.Begin(Line).append(ID).append("\t\t").append(ItemType).append("\t\t").append(Disposition).append(" ")
      .append(Handling).append("\t").append(Path);
  out.End();
}

}  // namespace tamrel
