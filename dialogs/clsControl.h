// clsControl: one control statement of a dialog (CONTROL, LTEXT, PUSHBUTTON, ...).
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "styles/clsStyle.h"

namespace tamrel {

class clsControl {
 public:
  std::string ID;
  std::string ItemType;
  std::string ControlType;
  std::string Text;
  std::string Map;
  Int16 Top;
  Int16 Left;
  Int16 Height;
  Int16 Width;
  clsStyle Style;
  Int16 Line;
  Int16 RelIndex;
};

}  // namespace tamrel
