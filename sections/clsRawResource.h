// clsRawResource: a resource the model does not hold in classes of its own (a toolbar, dialog
// init data, text-include blocks, binary data, a manifest, a user-defined type, ...), or one
// of a language section that was not taken. It keeps the resource's lines exactly as written,
// from its header to the line that closes its block, so writing it back loses nothing.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsRawResource {
 public:
  std::string ID;        // the header's first word; empty for a STRINGTABLE section
  std::string ItemType;  // the resource type as written: "TOOLBAR", "RCDATA", "24", "MYDATA"
  // The LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"): its own LANGUAGE option, else
  // the statement before it; empty when there is none.
  std::string SectionLanguage;
  std::string Options;  // the header behind the type (memory options, arguments, a file name)
  LineCollection Text;  // its lines exactly as written
  Int16 Line;           // the header's line
  // True when the model holds it raw only because its language section was not taken (a
  // dialog, menu, string table, ... of another language).
  bool Skipped = false;

  // Text, unchanged and unindented.
  LineCollection PrintLines() const;
  // The same lines into `out`, each with the script line it was read from.
  void WriteLines(LineWriter& out) const;
  std::int32_t LineCount() const { return Text.Count(); }
};

}  // namespace tamrel
