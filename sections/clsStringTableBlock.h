// clsStringTableBlock: one STRINGTABLE block of a script read relaxed. The entries of every block
// stay in the document's one table; a block records its header's memory options, its option
// statements and how many of the table's entries, in order, stand in it, so that the blocks can
// be written back as they were.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsStringTableBlock {
 public:
  std::string Disposition;  // the header's words behind STRINGTABLE, joined by one blank
  LineCollection Options;   // its LANGUAGE, VERSION and CHARACTERISTICS statements, as written
  std::int32_t Entries = 0; // how many entries of the table it holds, after the blocks before it
  Int16 Line;               // the header's line

  // The block's lines before its entries: the header, the option statements and "BEGIN".
  void WriteHeader(LineWriter& out) const;
  // How many lines WriteHeader gives.
  std::int32_t HeaderLineCount() const { return Options.Count() + 2; }
};

}  // namespace tamrel
