// clsMenuItem: one MENUITEM line of a menu or popup (a command or a separator).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

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
  // A MENUEX item (set by relaxed reading only): Map holds its ID (empty when it has none), Type
  // and State its type and state as written. Written as "MENUITEM Text, Map, Type, State", the
  // arguments after the last one that is not empty left out.
  bool Extended = false;
  std::string Type;
  std::string State;

  // A separator: "MENUITEM SEPARATOR", or a MENUEX item whose type names MFT_SEPARATOR.
  bool IsSeparator() const;

  // The item as one script line: ItemType, a blank and Text; unless Text is "SEPARATOR", then a
  // comma, two tabs, alignment tabs by the length of Text (two below 12 characters, one below
  // 24, none from 24) and Map.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;

  // The pieces (operation missing or 0) or the words (any other operation) of Text.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

  // Appends ", " and each argument to `line`, up to the last one that is not empty (an empty one
  // before it is written empty, as in `MENUITEM "", , MFT_SEPARATOR`).
  static void AppendArguments(std::string& line, std::initializer_list<std::string_view> arguments);
};

}  // namespace tamrel
