// clsCaption: the CAPTION statement of a dialog.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsCaption {
 public:
  std::string Text;
  std::string ItemType;
  Int16 Line;
};

}  // namespace tamrel
