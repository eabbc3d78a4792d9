// clsDesignInfo: a DESIGNINFO section, its body kept as statements of text.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsDesignInfo {
 public:
  std::string ID;           // token 1 of the header, e.g. GUIDELINES
  std::string Disposition;  // token 3 of the header, empty when the header has two tokens
  std::string ItemType;     // token 2 of the header, "DESIGNINFO"
  LineCollection Items;     // body statements, each with one blank in front; nested BEGIN/END kept
  Int16 Line;               // line of the header in the document's Lines

  // The header line, BEGIN, each stored statement behind a tab, and END. More than 32767
  // statements raise error 6.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
};

}  // namespace tamrel
