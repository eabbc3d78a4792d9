// clsControl: one control statement of a dialog (CONTROL, LTEXT, PUSHBUTTON, ...).
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/Variant.h"
#include "styles/clsStyle.h"

namespace tamrel {

class clsControl {
 public:
  std::string ID;
  std::string ItemType;     // the statement keyword
  std::string ControlType;  // window class of a CONTROL statement, quotes included
  std::string Text;         // as written, quotes included
  std::string Map;          // icon resource of an ICON statement
  Int16 Top;
  Int16 Left;
  Int16 Height;
  Int16 Width;
  clsStyle Style;
  Int16 Line;
  Int16 RelIndex;  // 1-based position within its dialog

  // The control's statement, without indentation: two lines for CONTROL, one for the other
  // keywords the dialog reader accepts, none for any other ItemType.
  LineCollection PrintLines() const;

  // The pieces (or words) of Text; 0 for a generic CONTROL statement.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
};

}  // namespace tamrel
