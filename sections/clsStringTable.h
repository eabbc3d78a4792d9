// clsStringTable: the one string table of a document, holding the entries of every STRINGTABLE section.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "sections/clsStringTableEntry.h"

namespace tamrel {

class clsStringTable {
 public:
  std::string Disposition;
  std::string ItemType;
  Collection<clsStringTableEntry> Entries;
  Int16 Line;
};

}  // namespace tamrel
