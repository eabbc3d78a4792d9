// The string-table entry writer and word count.
#include "sections/clsStringTableEntry.h"

#include "common/modCommonTools.h"

namespace tamrel {

std::int32_t clsStringTableEntry::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

LineCollection clsStringTableEntry::PrintLines() const { return CollectLines(*this); }

void clsStringTableEntry::WriteLines(LineWriter& out) const {
  const std::size_t alignment = ID.size() < 6 ? 2 : ID.size() < 12 ? 1 : 0;
  out.Begin(Line).append(ID).append("\t\t").append(alignment, '\t').append(Text);
  out.End();
}

}  // namespace tamrel
