// The string table writer and word count.
#include "sections/clsStringTable.h"

#include <algorithm>
#include <cstdint>

namespace tamrel {

LineCollection clsStringTable::PrintLines() const { return CollectLines(*this); }

void clsStringTable::WriteLines(LineWriter& out) const {
  if (!Blocks.Empty()) {
    // Each block takes its count of entries in order; the last one takes whatever is left, so
    // entries a host added or removed are still written once each.
    auto entry = Entries.begin();
    std::int32_t left = Entries.Count(), b = 0;
    for (const clsStringTableBlock& block : Blocks) {
      if (b++ > 0) out.Line("", 0);
      block.WriteHeader(out);
      out.Indent();
      const std::int32_t take = b == Blocks.Count() ? left : std::min(block.Entries, left);
      for (std::int32_t k = 0; k < take; ++k, ++entry) entry->WriteLines(out);
      left -= take;
      out.Outdent();
      out.Line("END", block.Line);
    }
    return;
  }
  out.Line("STRINGTABLE DISCARDABLE", Line);
  out.Line("BEGIN", Line);
  out.Indent();
  for (const clsStringTableEntry& entry : Entries) entry.WriteLines(out);
  out.Outdent();
  out.Line("END", Line);
}

std::int32_t clsStringTable::LineCount() const {
  if (Blocks.Empty()) return Entries.Count() + 3;
  std::int64_t lines = Entries.Count() + Blocks.Count() * 2 - 1;  // END and the blank lines
  for (const clsStringTableBlock& block : Blocks) lines += block.HeaderLineCount();
  return static_cast<std::int32_t>(std::min<std::int64_t>(lines, INT32_MAX));
}

std::int32_t clsStringTable::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  for (const clsStringTableEntry& entry : Entries) total += entry.DisplayWordCount(operation);
  return total;
}

}  // namespace tamrel
