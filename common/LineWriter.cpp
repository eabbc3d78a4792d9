// The shared line buffer of the script writers.
#include "common/LineWriter.h"

#include <charconv>

namespace tamrel {

void LineWriter::End() {
  line_.append(eol_);
  sink_.Line(line_, source_);
  ++written_;
}

void AppendNumber(std::string& out, int value) {
  char digits[16];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  (void)error;  // 16 characters hold any int
  out.append(digits, end);
}

}  // namespace tamrel
