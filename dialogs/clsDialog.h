// clsDialog: a DIALOG or DIALOGEX resource with its style, caption, font and controls.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "dialogs/clsCaption.h"
#include "dialogs/clsControl.h"
#include "dialogs/clsFont.h"
#include "styles/clsStyle.h"

namespace tamrel {

class clsDialog {
 public:
  std::string ID;
  std::string Disposition;
  std::string ItemType;
  clsStyle Style;
  clsFont Font;
  clsCaption Caption;
  Int16 Top;
  Int16 Left;
  Int16 Height;
  Int16 Width;
  Collection<clsControl> Controls;
  Int16 Line;
  Int16 LastLine;
};

}  // namespace tamrel
