// The string table writer and word count.
#include "sections/clsStringTable.h"

namespace tamrel {

LineCollection clsStringTable::PrintLines() const {
  LineCollection lines;
  lines.Reserve(static_cast<std::size_t>(Entries.Count()) + 3);
  lines.Add("STRINGTABLE DISCARDABLE");
  lines.Add("BEGIN");
  for (const clsStringTableEntry& entry : Entries)
    for (const std::string& line : entry.PrintLines()) lines.Add("\t" + line);
  lines.Add("END");
  return lines;
}

std::int32_t clsStringTable::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  for (const clsStringTableEntry& entry : Entries) total += entry.DisplayWordCount(operation);
  return total;
}

}  // namespace tamrel
