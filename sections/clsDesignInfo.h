// clsDesignInfo: a DESIGNINFO section, its body kept as statements of text.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsDesignInfo {
 public:
  std::string ID;
  std::string Disposition;
  std::string ItemType;
  LineCollection Items;
  Int16 Line;
};

}  // namespace tamrel
