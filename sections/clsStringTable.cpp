// The string table writer and word count.
#include "sections/clsStringTable.h"

namespace tamrel {

LineCollection clsStringTable::PrintLines() const { return CollectLines(*this); }

void clsStringTable::WriteLines(LineWriter& out) const {
  out.Line("STRINGTABLE DISCARDABLE", Line);
  out.Line("BEGIN", Line);
  out.Indent();
  for (const clsStringTableEntry& entry : Entries) entry.WriteLines(out);
  out.Outdent();
  out.Line("END", Line);
}

std::int32_t clsStringTable::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  for (const clsStringTableEntry& entry : Entries) total += entry.DisplayWordCount(operation);
  return total;
}

}  // namespace tamrel
