// clsControl: one control statement of a dialog (CONTROL, LTEXT, PUSHBUTTON, ...).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
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

  // Set by relaxed reading only; a control read exactly never has them.
  bool Relaxed = false;  // every keyword written, with its style, extended style and help ID
  std::string ExStyle;   // extended style as written ("|" without blanks)
  std::string HelpID;    // DIALOGEX help identifier

  // The control's statement, without indentation: two lines for CONTROL, one for the other
  // keywords the dialog reader accepts, none for any other ItemType. A relaxed control writes
  // every control keyword, its style, extended style and help ID.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives (2, 1 or 0), counted without writing them; raises the
  // error PrintLines would raise (error 6 for a written style of 32,767 flags or more).
  std::int32_t LineCount() const;

  // The pieces (or words) of Text; 0 for a generic CONTROL statement.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

 private:
  // A relaxed control's one line: keyword, tabs, [text or icon, ]ID, placement, style, extras.
  void WriteRelaxedLine(LineWriter& out, std::string_view keyword, std::string_view tabs, const std::string* text,
                        const std::string* map) const;
};

}  // namespace tamrel
