// clsFont: the FONT statement of a dialog.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsFont {
 public:
  std::string Name;  // typeface as written, quotes included
  Int16 Size;
  Int16 Line;
  // A DIALOGEX font's weight, italic and character-set arguments as written; set by relaxed
  // reading only, and written behind the name when set.
  std::string Weight;
  std::string Italic;
  std::string CharSet;

  // Always one line: "FONT {Size}, {Name}[, {Weight}, {Italic}, {CharSet}]", also for a font
  // that was never set.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
};

}  // namespace tamrel
