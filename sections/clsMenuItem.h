// clsMenuItem: one MENUITEM line of a menu or popup (a command or a separator).
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsMenuItem {
 public:
  std::string ID;
  std::string ItemType;
  std::string Text;
  std::string Map;
  Int16 Line;
  Int16 RelIndex;
};

}  // namespace tamrel
