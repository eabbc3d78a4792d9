// Writer of a dialog font.
#include "dialogs/clsFont.h"

namespace tamrel {

LineCollection clsFont::PrintLines() const { return CollectLines(*this); }

void clsFont::WriteLines(LineWriter& out) const {
  std::string& line = out.Begin(Line).append("FONT ");
  AppendNumber(line, Size);
  line.append(", ").append(Name);
  // The extras are positional: a later one set writes the earlier ones as 0.
  const std::string* extras[] = {&Weight, &Italic, &CharSet};
  std::size_t last = 3;
  while (last > 0 && extras[last - 1]->empty()) --last;
  for (std::size_t k = 0; k < last; ++k) line.append(", ").append(extras[k]->empty() ? "0" : *extras[k]);
  out.End();
}

}  // namespace tamrel
