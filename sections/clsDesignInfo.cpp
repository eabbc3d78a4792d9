// The DESIGNINFO section written back: header, BEGIN, the stored statements one tab in, END.
#include "sections/clsDesignInfo.h"

#include <cstdint>

namespace tamrel {

LineCollection clsDesignInfo::PrintLines() const { return CollectLines(*this); }

void clsDesignInfo::WriteLines(LineWriter& out) const {
  const Int16 count = Items.Count();  // a 16-bit count: more than 32767 statements raise error 6
  out.Begin(Line).append(ID).append(" ").append(ItemType).append(" ").append(Disposition);
  out.End();
  out.Line("BEGIN", Line);
  out.Indent();
  for (std::int32_t i = 1; i <= count; ++i) out.Line(Items.Item(i), Line);
  out.Outdent();
  out.Line("END", Line);
}

}  // namespace tamrel
