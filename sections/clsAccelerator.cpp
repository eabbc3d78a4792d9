// The accelerator table writer.
#include "sections/clsAccelerator.h"

namespace tamrel {

LineCollection clsAccelerator::PrintLines() const { return CollectLines(*this); }

void clsAccelerator::WriteLines(LineWriter& out) const {
  out.Begin(Line).append(ID).append(" ").append(ItemType).append("  ").append(Predisposition).append(" ")
      .append(Disposition).append(" ").append(Handling);
  out.End();
  for (const std::string& option : OptionStatements) out.Line(option, Line);
  out.Line("BEGIN", Line);
  out.Indent();
  for (const clsAcceleratorKey& key : Keys) key.WriteLines(out);
  out.Outdent();
  out.Line("END", Line);
}

}  // namespace tamrel
