// The string-table block header writer.
#include "sections/clsStringTableBlock.h"

namespace tamrel {

void clsStringTableBlock::WriteHeader(LineWriter& out) const {
  std::string& header = out.Begin(Line).append("STRINGTABLE");
  if (!Disposition.empty()) header.append(" ").append(Disposition);
  out.End();
  for (const std::string& option : Options) out.Line(option, Line);
  out.Line("BEGIN", Line);
}

}  // namespace tamrel
