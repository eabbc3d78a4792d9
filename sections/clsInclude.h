// clsInclude: one #include line of the script.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsInclude {
 public:
  std::string ID;
  std::string Text;
  Int16 Line;
};

}  // namespace tamrel
