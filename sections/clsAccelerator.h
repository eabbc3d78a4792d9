// clsAccelerator: an ACCELERATORS table and its shortcuts.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "sections/clsAcceleratorKey.h"

namespace tamrel {

class clsAccelerator {
 public:
  std::string ID;              // the table's identifier, also its key in the document
  std::string Predisposition;  // token 3 of a header of 4 or 5 tokens
  std::string Disposition;     // token 3 of a 3-token header, token 4 of a longer one
  std::string ItemType;        // "ACCELERATORS"
  std::string Handling;        // token 5 of a 5-token header
  Collection<clsAcceleratorKey> Keys;
  Int16 Line;
  // Read relaxed: the LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"), empty when none.
  std::string SectionLanguage;
  // Read relaxed: its LANGUAGE, VERSION and CHARACTERISTICS statements between the header and
  // BEGIN, as written; written back in that place.
  LineCollection OptionStatements;

  // The table as script lines: the header "ID ItemType  Predisposition Disposition Handling"
  // (every separator written, even around empty fields), "BEGIN", each shortcut behind a tab,
  // "END".
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives (the shortcuts, the option statements and three).
  std::int32_t LineCount() const { return Keys.Count() + OptionStatements.Count() + 3; }
};

}  // namespace tamrel
