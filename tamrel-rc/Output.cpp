// Checked writes to standard output.
#include "tamrel-rc/Output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tamrel::tool {
namespace {

[[noreturn]] void Fail(int error) { throw WriteError(std::strerror(error != 0 ? error : EIO)); }

}  // namespace

void WriteOut(std::string_view bytes) {
  if (bytes.empty()) return;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) Fail(errno);
}

void PrintOut(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  errno = 0;
  int written = std::vfprintf(stdout, format, arguments);
  va_end(arguments);
  if (written < 0) Fail(errno);
}

void FlushOut() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) Fail(errno);
}

void CloseOut() {
  FlushOut();
  errno = 0;
  if (std::fclose(stdout) != 0) Fail(errno);
}

}  // namespace tamrel::tool
