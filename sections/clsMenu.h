// clsMenu: a MENU resource or one of its POPUP submenus, with its items in file order.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsMenu {
 public:
  std::string ID;
  std::string Disposition;
  std::string ItemType;
  std::string Text;
  std::string Map;
  // Items: added with the menu reader.
  Int16 Line;
  Int16 RelIndex;
};

}  // namespace tamrel
