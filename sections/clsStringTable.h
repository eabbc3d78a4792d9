// clsStringTable: the one string table of a document, holding the entries of every STRINGTABLE section.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"
#include "sections/clsStringTableBlock.h"
#include "sections/clsStringTableEntry.h"

namespace tamrel {

class clsStringTable {
 public:
  std::string Disposition;  // the second word of the last header read
  std::string ItemType;     // the first word of the last header read ("STRINGTABLE")
  Collection<clsStringTableEntry> Entries;  // in file order, keyed by ID
  Int16 Line;               // not read from the script; stays 0 unless the host sets it
  // The STRINGTABLE blocks of a script read relaxed, in script order; empty when read exactly.
  Collection<clsStringTableBlock> Blocks;

  // Without Blocks, the whole table as one block: "STRINGTABLE DISCARDABLE" (whatever ItemType
  // and Disposition hold), "BEGIN", each entry behind a tab, "END". With them, each block as it
  // was read, holding its count of entries (the last block the rest), a blank line between two.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives.
  std::int32_t LineCount() const;

  // The sum of the entries' counts; a missing operation is passed on as 0.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
};

}  // namespace tamrel
