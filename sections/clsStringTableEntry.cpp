// The string-table entry writer and word count.
#include "sections/clsStringTableEntry.h"

#include "common/modCommonTools.h"

namespace tamrel {

std::int32_t clsStringTableEntry::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

LineCollection clsStringTableEntry::PrintLines() const {
  const std::size_t alignment = ID.size() < 6 ? 2 : ID.size() < 12 ? 1 : 0;
  std::string line;
  line.reserve(ID.size() + Text.size() + 4);
  line.append(ID).append("\t\t").append(alignment, '\t').append(Text);
  LineCollection lines;
  lines.Add(std::move(line));
  return lines;
}

}  // namespace tamrel
