// A raw resource written back line for line as it was read.
#include "sections/clsRawResource.h"

namespace tamrel {

LineCollection clsRawResource::PrintLines() const { return CollectLines(*this); }

void clsRawResource::WriteLines(LineWriter& out) const {
  // Verbatim: the writer's indentation is not applied to lines that carry their own.
  std::int32_t source = Line;
  for (const std::string& line : Text) {
    out.Begin(source).assign(line);
    out.End();
    if (source > 0) ++source;
  }
}

}  // namespace tamrel
