// clsCursor: a CURSOR statement, the resource name and the cursor file it refers to.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsCursor {
 public:
  std::string ID;
  std::string Disposition;
  std::string Handling;
  std::string ItemType;
  std::string Path;
  Int16 Line;
};

}  // namespace tamrel
