// clsCaption: the CAPTION statement of a dialog.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"

namespace tamrel {

class clsCaption {
 public:
  std::string Text;  // as written, quotes included
  std::string ItemType;
  Int16 Line;

  // Nothing for a caption that is blank, else "CAPTION " and Text as it is.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives: 1, or 0 for a caption of blanks only.
  std::int32_t LineCount() const { return Text.find_first_not_of(' ') != std::string::npos ? 1 : 0; }

  // The pieces of Text, or (for an operation other than 0) the pieces that are words.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
};

}  // namespace tamrel
