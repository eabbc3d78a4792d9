// clsInclude: one #include line of the script.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class clsInclude {
 public:
  std::string ID;    // never set by the reader and never written
  std::string Text;  // what is included, as written: quotes or angle brackets kept
  Int16 Line;        // line of the #include in the document's Lines

  // The statement as one line: "#include", two blanks and Text.
  LineCollection PrintLines() const;
};

}  // namespace tamrel
