// Writer of a dialog font.
#include "dialogs/clsFont.h"

namespace tamrel {

LineCollection clsFont::PrintLines() const {
  LineCollection lines;
  lines.Add("FONT " + std::to_string(int(Size)) + ", " + Name);
  return lines;
}

}  // namespace tamrel
