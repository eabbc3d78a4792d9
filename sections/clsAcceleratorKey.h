// clsAcceleratorKey: one shortcut line of an ACCELERATORS table.
#pragma once

#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"

namespace tamrel {

class clsAcceleratorKey {
 public:
  std::string ID;        // the command identifier (token 2)
  std::string ItemType;  // the key type, such as VIRTKEY or ASCII (token 3)
  std::string Key;       // the key as written: a quoted character or a key symbol (token 1)
  std::string Modifier;  // the first option after the key type (token 4), or empty
  Int16 Line;
  Int16 RelIndex;        // not read from the script; stays 0 unless the host sets it

  // The shortcut as one script line: Key, a comma, a tab and alignment tabs by the length of
  // Key (two below 6 characters, one below 12, none from 12), ID, a comma, two tabs, ItemType,
  // and, when there is a Modifier, a comma, a tab and Modifier. Without a Modifier the line
  // ends at ItemType: a trailing comma would join the next line to this one when read back.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
};

}  // namespace tamrel
