// Shared fixtures of the unit tests: recording host objects, scripts written to temporary
// files, and a one-call loader.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/clsRC.h"
#include "host/ErrorLog.h"
#include "host/HostHooks.h"
#include "host/ProgressHost.h"

namespace tamrel {

// The error number a call raises, or 0 when it raises none.
inline int ErrorOf(auto&& call) {
  try {
    call();
  } catch (const RCError& e) {
    return e.Number();
  }
  return 0;
}

struct DocumentTestPeer {
  static Int16 FindKeyWord(clsRC& rc, const Tokens& tokens) { return rc.FindKeyWord(tokens); }
  // The walk over rc.Lines as the document runs it, and as the reference implementation in
  // ReferenceScanning.h runs it.
  static bool Walk(clsRC& rc) { return rc.ParseResourceFile(); }
  static bool ReferenceWalk(clsRC& rc);
};

struct LogEntry {
  std::string message;
  std::optional<std::string> location;
  std::string path;
};

class RecordingLog : public ErrorLog {
 public:
  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override {
    entries.push_back({message, location, path});
  }
  std::vector<LogEntry> entries;
};

// Records every host-form call as text: "status:TEXT", "max=N", "max?", "value=N".
class RecordingForm : public ProgressHost {
 public:
  void SetStatusText(std::string_view text) override { calls.push_back("status:" + std::string(text)); }
  std::int32_t GetProgressMax() override {
    calls.push_back("max?");
    return max;
  }
  void SetProgressMax(std::int32_t m) override {
    max = m;
    calls.push_back("max=" + std::to_string(m));
  }
  void SetProgressValue(Int16 v) override { calls.push_back("value=" + std::to_string(int(v))); }
  std::int32_t max = 0;
  std::vector<std::string> calls;
};

// A script written to a file of its own, removed again when the object goes.
class TempScript {
 public:
  explicit TempScript(const std::string& bytes) {
    static int counter = 0;
    path_ = (std::filesystem::temp_directory_path() /
             ("tamrel_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".rc"))
                .string();
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempScript() { std::remove(path_.c_str()); }
  TempScript(const TempScript&) = delete;
  TempScript& operator=(const TempScript&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Joins lines with CR LF, the line end resource editors write.
inline std::string Crlf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

// Loads a script text into a new document with a recording log (and form, when given).
struct Loaded {
  std::unique_ptr<clsRC> rc = std::make_unique<clsRC>();
  std::shared_ptr<RecordingLog> log = std::make_shared<RecordingLog>();
  std::vector<std::string> messageBoxes;
  bool result = false;
};

inline Loaded LoadText(const std::string& bytes, std::shared_ptr<RecordingForm> form = nullptr,
                       Layout layout = Layout::Exact) {
  Loaded loaded;
  TempScript script(bytes);
  auto hosts = std::make_shared<HostObjects>();
  if (form) hosts->Add(form, "ParentForm");
  hosts->Add(loaded.log, "Log");
  auto* boxes = &loaded.messageBoxes;
  SetMessageBoxHook([boxes](std::string_view m) { boxes->emplace_back(m); });
  loaded.result = loaded.rc->Init(script.Path(), hosts, 2, LoadOptions{layout});
  SetMessageBoxHook({});
  return loaded;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The scripts of tests/data/corpus, sorted by name.
inline std::vector<std::filesystem::path> CorpusScripts() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TAMREL_TEST_DATA) / "corpus")) {
    std::string ext = entry.path().extension().string();
    if (ext == ".rc" || ext == ".Rc" || ext == ".RC") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Calls `check` with every corpus script that loads; returns how many did.
inline int ForEachLoadedCorpusScript(const std::function<void(const std::filesystem::path&, const clsRC&)>& check) {
  int loadedCount = 0;
  for (const std::filesystem::path& path : CorpusScripts()) {
    Loaded loaded = LoadText(ReadBytes(path));
    if (!loaded.result) continue;
    ++loadedCount;
    check(path, *loaded.rc);
  }
  return loadedCount;
}

// The lines of a collection, for comparing with EXPECT_EQ.
inline std::vector<std::string> ToVector(const LineCollection& lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

}  // namespace tamrel
