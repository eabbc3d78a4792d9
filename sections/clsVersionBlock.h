// clsVersionBlock: one language block of a version resource's StringFileInfo, its key (a
// language and code page, "040904b0") and its name/value pairs in script order.
#pragma once

#include <cstdint>
#include <string>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "sections/clsVersionValue.h"

namespace tamrel {

class clsVersionBlock {
 public:
  std::string Key;                     // without its quotes
  Collection<clsVersionValue> Values;  // in script order
  Int16 Line;                          // the BLOCK statement's line

  // BLOCK "key", BEGIN, each VALUE behind one more tab, END.
  void WriteLines(LineWriter& out) const;
  std::int32_t LineCount() const { return Values.Count() + 3; }
};

}  // namespace tamrel
