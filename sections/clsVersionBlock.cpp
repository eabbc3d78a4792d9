// A StringFileInfo block written back: its key, then one VALUE line per pair.
#include "sections/clsVersionBlock.h"

namespace tamrel {

void clsVersionBlock::WriteLines(LineWriter& out) const {
  out.Begin(Line).append("BLOCK \"").append(Key).append("\"");
  out.End();
  out.Line("BEGIN", 0);
  out.Indent();
  for (const clsVersionValue& value : Values) {
    std::string& text = out.Begin(value.Line).append("VALUE \"").append(value.Name).append("\"");
    if (!value.Value.empty()) text.append(", ").append(value.Value);
    out.End();
  }
  out.Outdent();
  out.Line("END", 0);
}

}  // namespace tamrel
