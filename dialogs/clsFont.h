// clsFont: the FONT statement of a dialog.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsFont {
 public:
  std::string Name;
  Int16 Size;
  Int16 Line;
};

}  // namespace tamrel
