// ProgressHost: the host form. While a document is read and built, the library writes a status
// text and drives a progress bar through it. Every member may raise RCError; the routine that
// made the call then fails and reports by the usual convention.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/Int16.h"
#include "host/HostObject.h"

namespace tamrel {

class ProgressHost : public HostObject {
 public:
  // Text of the status panel ("Reading resource...", "Building resource..", "Ready.").
  virtual void SetStatusText(std::string_view text) = 0;
  // Maximum of the progress bar: the number of lines of the script.
  virtual std::int32_t GetProgressMax() = 0;
  virtual void SetProgressMax(std::int32_t maximum) = 0;
  // Current value: 0, or the line the build has reached.
  virtual void SetProgressValue(Int16 value) = 0;
};

}  // namespace tamrel
