// clsStyle: the style flags of a dialog or control as a sorted set of flag texts.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsStyle {
 public:
  LineCollection Items;
  Int16 Line;
};

}  // namespace tamrel
