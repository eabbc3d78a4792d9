// clsMenuItem: one MENUITEM line of a menu or popup (a command or a separator).
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"

namespace tamrel {

class clsMenuItem {
 public:
  std::string ID;        // not read from the script; stays empty unless the host sets it
  std::string ItemType;  // "MENUITEM"
  std::string Text;      // the caption with its quotes, or "SEPARATOR"
  std::string Map;       // the command identifier, or "SEPARATOR"
  Int16 Line;
  Int16 RelIndex;        // 1-based position in the parent's Items
  // The item's options (CHECKED, GRAYED, ...) joined by ", "; set by relaxed reading only and
  // written behind Map.
  std::string Options;

  // The item as one script line: ItemType, a blank and Text; unless Text is "SEPARATOR", then a
  // comma, two tabs, alignment tabs by the length of Text (two below 12 characters, one below
  // 24, none from 24) and Map.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;

  // The pieces (operation missing or 0) or the words (any other operation) of Text.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
};

}  // namespace tamrel
