// The #include line written back.
#include "sections/clsInclude.h"

namespace tamrel {

LineCollection clsInclude::PrintLines() const { return CollectLines(*this); }

void clsInclude::WriteLines(LineWriter& out) const {
  out.Begin(Line).append("#include  ").append(Text);
  out.End();
}

}  // namespace tamrel
