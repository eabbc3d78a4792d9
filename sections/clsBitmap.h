// clsBitmap: a BITMAP statement, the resource name and the image file it refers to.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsBitmap {
 public:
  std::string ID;
  std::string Disposition;
  std::string ItemType;
  std::string Handling;
  std::string Path;
  Int16 Line;
};

}  // namespace tamrel
