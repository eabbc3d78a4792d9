// Writer of a dialog font.
#include "dialogs/clsFont.h"

namespace tamrel {

LineCollection clsFont::PrintLines() const { return CollectLines(*this); }

void clsFont::WriteLines(LineWriter& out) const {
  std::string& line = out.Begin(Line).append("FONT ");
  AppendNumber(line, Size);
  line.append(", ").append(Name);
  out.End();
}

}  // namespace tamrel
