// clsBitmap: a BITMAP statement, the resource name and the image file it refers to.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsBitmap {
 public:
  std::string ID;           // token 1, also the key in the document's Bitmaps
  std::string Disposition;  // the first memory option, empty when the statement has none
  std::string ItemType;     // the keyword, "BITMAP"
  std::string Handling;     // the second memory option; "PURE" when there is exactly one
  std::string Path;         // the file as written, quotes and doubled backslashes kept
  Int16 Line;               // line of the statement in the document's Lines
  // Read relaxed: the LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"), empty when none.
  std::string SectionLanguage;

  // The statement as one script line: identifier, keyword, memory options and file,
  // separated by tabs.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives.
  std::int32_t LineCount() const { return 1; }
};

}  // namespace tamrel
