// Loading a script for the Python module: the library's Init with the module's host objects,
// the message boxes of the load turned into diagnostics, and the file's bytes kept for the merge.
#include "python/ModuleDocument.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "diagnostics/LoadHints.h"
#include "host/HostHooks.h"
#include "python/ModuleHost.h"
#include "translation/UnitExtractor.h"

namespace tamrel::python {
namespace {

// A script given in memory, as a file the library can open by path.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : fd_(::memfd_create("tamrel-python", MFD_CLOEXEC)) {
    for (std::size_t done = 0; fd_ >= 0 && done < bytes.size();) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) {
        ::close(fd_);
        fd_ = -1;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  ~MemoryFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  bool Ok() const { return fd_ >= 0; }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return false;
  bytes = std::move(text).str();
  return true;
}

tool::Diagnostic Plain(const std::string& name, int line, std::string message, const clsRC& rc) {
  tool::Diagnostic d;
  d.path = name;
  d.line = line;
  d.message = std::move(message);
  if (line > 0 && line <= rc.Lines.Count()) d.statement = rc.Lines.Item(line);
  return d;
}

}  // namespace

ModuleDocument::LoadOutcome ModuleDocument::Load(const std::string& path, std::optional<int> codePage,
                                                 const LoadOptions& options) {
  return LoadFrom(path, path, codePage, nullptr, options);
}

ModuleDocument::LoadOutcome ModuleDocument::LoadBytes(std::string bytes, const std::string& name,
                                                      std::optional<int> codePage, const LoadOptions& options) {
  MemoryFile file(bytes);
  if (!file.Ok()) {
    LoadOutcome outcome;
    tool::Diagnostic d;
    d.path = name;
    d.message = "cannot hold the script in memory";
    outcome.diagnostics.push_back(std::move(d));
    return outcome;
  }
  return LoadFrom(file.Path(), name, codePage, &bytes, options);
}

ModuleDocument::LoadOutcome ModuleDocument::LoadFrom(const std::string& openPath, const std::string& name,
                                                     std::optional<int> codePage, const std::string* bytes,
                                                     const LoadOptions& options) {
  // Binary data is refused before it is read, as the host program refuses it.
  std::string head;
  if (bytes == nullptr) {
    std::ifstream in(openPath, std::ios::binary);
    head.resize(tool::kSniffBytes);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  }
  if (auto refusal = tool::BinaryRefusal(name, bytes != nullptr ? std::string_view(*bytes) : head)) {
    LoadOutcome outcome;
    outcome.diagnostics.push_back(std::move(*refusal));
    return outcome;
  }

  auto document = std::make_shared<ModuleDocument>();
  clsRC& rc = document->rc_;
  auto form = std::make_shared<ModuleProgress>();
  document->log_ = std::make_shared<ModuleLog>(name, [form] { return form->Line(); });
  ModuleLog& log = *document->log_;
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(form, "ParentForm");
  hosts->Add(document->log_, "Log");

  // Message boxes are per thread: this thread's belong to this load while it runs.
  SetMessageBoxHook([&](std::string_view message, std::int32_t line) {
    log.Add(tool::MessageBoxDiagnostic(name, message, line > 0 ? line : form->Line(), rc));
  });
  bool loaded = false;
  try {
    loaded = rc.Init(openPath, hosts, 2, options);
  } catch (const RCError& e) {  // only an unusable host log gets here, which this one is not
    log.Add(Plain(name, form->Line(), e.what(), rc));
  }
  SetMessageBoxHook(nullptr);
  rc.Path = name;
  // A failure always says why: at least the line where the walk stopped.
  if (!loaded && log.Count() == 0) log.Add(Plain(name, form->Line(), "loading stopped here", rc));

  // The bytes the merge works on. A file read again after Init could have changed in between;
  // the merge then finds that the file no longer matches the model and refuses.
  if (loaded && bytes != nullptr) {
    document->bytes_ = *bytes;
  } else if (loaded && !ReadWholeFile(openPath, document->bytes_)) {
    log.Add(Plain(name, 0, "the script could not be read again after loading", rc));
    loaded = false;
  }

  LoadOutcome outcome;
  outcome.diagnostics = log.Diagnostics();
  log.LoadingDone();
  if (!loaded) return outcome;
  document->defaultCodePage_ = codePage;
  document->codePages_.emplace(rc.Lines, codePage.value_or(kNoCodePage), false);
  outcome.document = std::move(document);
  return outcome;
}

int ModuleDocument::CodePageAt(int line) const { return LineCodePage(rc_, *codePages_, line); }

std::vector<tool::Diagnostic> ModuleDocument::Reports() const { return log_->Diagnostics(); }

}  // namespace tamrel::python
