// The ICON statement written back as one script line.
#include "sections/clsIcon.h"

namespace tamrel {

LineCollection clsIcon::PrintLines() const {
  LineCollection lines;
  lines.Add(ID + "\t\t" + ItemType + "\t\t" + Disposition + " " + Handling + "\t" + Path);
  return lines;
}

}  // namespace tamrel
