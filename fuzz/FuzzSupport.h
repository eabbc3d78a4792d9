// What the fuzz targets share: the file a loading target writes each input to, and a document
// with a log that swallows reports, for targets that call the document's tokenizers directly.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "document/clsRC.h"

namespace tamrel::fuzz {

// A file of this process named after the target (`name`, `extension` with its dot) that each
// input is written to, in memory when the machine has a writable /dev/shm; removed at exit.
class ScratchFile {
 public:
  ScratchFile(std::string_view name, std::string_view extension)
      : path(std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/tamrel_fuzz_" +
             std::string(name) + "_" + std::to_string(::getpid()) + std::string(extension)) {}
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { std::remove(path.c_str()); }

  // Writes `bytes` whole; false when the file cannot be written (the input is skipped).
  bool Write(std::string_view bytes) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && whole;
  }

  const std::string path;
};

class NullLog : public ErrorLog {
 public:
  void Log(const std::string&, const std::optional<std::string>&, const std::string&) override {}
};

// One document for the whole run, holding a log as every loaded document does and no lines.
inline clsRC& LoggedDocument() {
  static clsRC rc = [] {
    clsRC document;
    auto hosts = std::make_shared<HostObjects>();
    hosts->Add(std::make_shared<NullLog>(), "Log");
    document.Init("fuzz.rc", hosts);  // no operation: keeps the host objects, reads nothing
    return document;
  }();
  return rc;
}

}  // namespace tamrel::fuzz
