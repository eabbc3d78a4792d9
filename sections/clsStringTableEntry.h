// clsStringTableEntry: one string of the string table, identifier and quoted text.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"

namespace tamrel {

class clsStringTableEntry {
 public:
  std::string ID;    // a symbolic name or a number; unique within the table
  std::string Text;  // the string as written, quotes and escapes included
  Int16 Line;        // the line on which the entry starts
  // Read relaxed: the LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"), empty when none.
  std::string SectionLanguage;

  // The pieces (operation missing or 0) or the words (any other operation) of Text.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

  // The entry as one script line: ID, two tabs, alignment tabs by the length of ID (two below
  // 6 characters, one below 12, none from 12) and Text.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
};

}  // namespace tamrel
