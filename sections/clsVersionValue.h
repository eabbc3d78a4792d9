// clsVersionValue: one VALUE statement of a StringFileInfo block, its name and its value.
#pragma once

#include <string>

#include "common/Int16.h"

namespace tamrel {

class clsVersionValue {
 public:
  std::string Name;   // without its quotes: "FileDescription", "CompanyName", ...
  std::string Value;  // as written behind the name's comma, quotes and escapes kept: "\"Editor\\0\""
  Int16 Line;         // the statement's line
};

}  // namespace tamrel
