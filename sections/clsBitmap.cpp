// The BITMAP statement written back as one script line.
#include "sections/clsBitmap.h"

namespace tamrel {

LineCollection clsBitmap::PrintLines() const {
  LineCollection lines;
  lines.Add(ID + "\t\t" + ItemType + "\t" + Disposition + " " + Handling + "\t" + Path);
  return lines;
}

}  // namespace tamrel
