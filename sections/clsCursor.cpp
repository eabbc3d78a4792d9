// The CURSOR statement written back as one script line, laid out like an icon.
#include "sections/clsCursor.h"

namespace tamrel {

LineCollection clsCursor::PrintLines() const {
  LineCollection lines;
  lines.Add(ID + "\t\t" + ItemType + "\t\t" + Disposition + " " + Handling + "\t" + Path);
  return lines;
}

}  // namespace tamrel
