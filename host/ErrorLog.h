// ErrorLog: the host log. It receives one report for every failure a loading routine catches:
// the message ("RCpB-00: Index out of range (9)"), where in the script it happened (nullopt
// when the routine names no location, which differs from an empty location) and the path of
// the script.
#pragma once

#include <optional>
#include <string>

#include "host/HostObject.h"

namespace tamrel {

class ErrorLog : public HostObject {
 public:
  virtual void Log(const std::string& message, const std::optional<std::string>& location,
                   const std::string& path) = 0;
};

}  // namespace tamrel
