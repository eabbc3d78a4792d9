// clsAcceleratorKey: one shortcut line of an ACCELERATORS table.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsAcceleratorKey {
 public:
  std::string ID;
  std::string ItemType;
  std::string Key;
  std::string Modifier;
  Int16 Line;
  Int16 RelIndex;
};

}  // namespace tamrel
