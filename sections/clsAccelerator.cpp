// The accelerator table writer.
#include "sections/clsAccelerator.h"

namespace tamrel {

LineCollection clsAccelerator::PrintLines() const {
  LineCollection lines;
  lines.Reserve(static_cast<std::size_t>(Keys.Count()) + 3);
  lines.Add(ID + " " + ItemType + "  " + Predisposition + " " + Disposition + " " + Handling);
  lines.Add("BEGIN");
  for (const clsAcceleratorKey& key : Keys)
    for (const std::string& line : key.PrintLines()) lines.Add("\t" + line);
  lines.Add("END");
  return lines;
}

}  // namespace tamrel
