// clsAccelerator: an ACCELERATORS table and its shortcuts.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "sections/clsAcceleratorKey.h"

namespace tamrel {

class clsAccelerator {
 public:
  std::string ID;
  std::string Predisposition;
  std::string Disposition;
  std::string ItemType;
  std::string Handling;
  Collection<clsAcceleratorKey> Keys;
  Int16 Line;
};

}  // namespace tamrel
