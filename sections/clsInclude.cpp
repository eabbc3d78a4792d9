// The #include line written back.
#include "sections/clsInclude.h"

namespace tamrel {

LineCollection clsInclude::PrintLines() const {
  LineCollection lines;
  lines.Add("#include  " + Text);
  return lines;
}

}  // namespace tamrel
