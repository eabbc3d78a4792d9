// Checked output to standard output. Every write and the final flush and close are checked, so
// that a full disk or a closed descriptor ends in "tamrel-rc: write error: ..." and exit
// status 1 instead of a cut file and success.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tamrel::tool {

// A failed write to standard output; what() is the system's description of the failure.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the bytes to standard output. Raises WriteError when the stream fails.
void WriteOut(std::string_view bytes);

// printf-style formatting into standard output, checked like WriteOut.
[[gnu::format(printf, 1, 2)]] void PrintOut(const char* format, ...);

// printf-style formatting appended to `out`, for text made before it is written.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

// Flushes standard output so that what was written so far reaches the descriptor (before
// reports on standard error are printed, for example). Raises WriteError.
void FlushOut();

// Flushes and closes standard output at the end of the program. Raises WriteError.
void CloseOut();

}  // namespace tamrel::tool
