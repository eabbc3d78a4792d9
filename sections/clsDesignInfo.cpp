// The DESIGNINFO section written back: header, BEGIN, the stored statements one tab in, END.
#include "sections/clsDesignInfo.h"

#include <cstdint>

namespace tamrel {

LineCollection clsDesignInfo::PrintLines() const {
  const Int16 count = Items.Count();  // a 16-bit count: more than 32767 statements raise error 6
  LineCollection lines;
  lines.Reserve(static_cast<std::size_t>(count) + 3);
  lines.Add(ID + " " + ItemType + " " + Disposition);
  lines.Add("BEGIN");
  for (std::int32_t i = 1; i <= count; ++i) lines.Add("\t" + Items.Item(i));
  lines.Add("END");
  return lines;
}

}  // namespace tamrel
