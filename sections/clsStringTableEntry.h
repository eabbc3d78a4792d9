// clsStringTableEntry: one string of the string table, identifier and quoted text.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsStringTableEntry {
 public:
  std::string ID;
  std::string Text;
  Int16 Line;
};

}  // namespace tamrel
