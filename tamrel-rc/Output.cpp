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

void AppendFormat(std::string& out, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  if (length > 0) {
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, again);
    out.resize(at + static_cast<std::size_t>(length));
  }
  va_end(again);
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
