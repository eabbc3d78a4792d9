// clsInclude: one #include line of the script.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsInclude {
 public:
  std::string ID;    // never set by the reader and never written
  std::string Text;  // what is included, as written: quotes or angle brackets kept
  Int16 Line;        // line of the #include in the document's Lines

  // The statement as one line: "#include", two blanks and Text.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives.
  std::int32_t LineCount() const { return 1; }
};

}  // namespace tamrel
