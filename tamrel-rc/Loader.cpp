// Worker threads that load documents, the in-order hand-out of their results through a window
// of a few results per thread, and the in-order writing of their diagnostics.
#include "tamrel-rc/Loader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include "diagnostics/LoadHints.h"
#include "host/HostHooks.h"
#include "tamrel-rc/Output.h"
#include "translation/LanguageTable.h"

namespace tamrel::tool {
namespace fs = std::filesystem;

namespace {

// Bytes of diagnostics a script that is not yet the current one may hold back; past this its
// loading waits for its turn, so memory stays bounded however many reports a script makes.
constexpr std::size_t kHeldBackLimit = 64 * 1024;

// Builds with a leak checker must free every model before the program ends.
#if defined(TAMREL_LEAK_CHECKED) || defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
constexpr bool kLeakChecked = true;
#else
constexpr bool kLeakChecked = false;
#endif
#else
constexpr bool kLeakChecked = false;
#endif

// The model of the last script lives until the program ends, which takes its memory back at
// once; destroying it piece by piece would cost as much as a fifth of loading it.
void LeaveToExit(std::unique_ptr<clsRC> rc) {
  if (kLeakChecked) rc.reset();
  else static_cast<void>(rc.release());
}

bool IsScriptName(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".rc" || ext == ".dlg";
}

void AddDirectory(const fs::path& dir, bool recursive, std::vector<std::string>& out,
                  std::vector<std::string>& errors) {
  std::error_code ec;
  std::vector<std::string> found;
  auto collect = [&](const fs::directory_entry& entry) {
    std::error_code typeError;
    if (entry.is_regular_file(typeError) && IsScriptName(entry.path())) found.push_back(entry.path().string());
  };
  if (recursive) {
    for (auto it = fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
      collect(*it);
  } else {
    for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
      collect(*it);
  }
  if (ec) errors.push_back(dir.string() + ": " + ec.message());
  std::sort(found.begin(), found.end());
  out.insert(out.end(), found.begin(), found.end());
}

// Standard error in input order: the current script (the head of the input order) writes at
// once; a later one holds its text back until it becomes current, and when it holds too much,
// its loading waits for its turn. Only scripts less than `reach` past the head may write, so
// the held texts take a ring of that many places.
class OrderedErrors {
 public:
  OrderedErrors(std::size_t reach, ProgressBoard* board) : held_(std::max<std::size_t>(reach, 1)), board_(board) {}

  void Write(std::size_t index, std::string_view text) {
    std::unique_lock lock(mutex_);
    if (index != head_) {
      std::string& held = held_[index % held_.size()];
      if (held.size() + text.size() <= kHeldBackLimit) {
        held.append(text);
        return;
      }
      turn_.wait(lock, [&] { return head_ == index || stopped_; });
    }
    if (!stopped_) Emit(text);
  }

  // The current script is done: the next one writes what it held back and becomes current.
  void Advance() {
    std::lock_guard lock(mutex_);
    std::string& held = held_[++head_ % held_.size()];
    Emit(held);
    std::string().swap(held);
    turn_.notify_all();
  }

  // No more output: waiting scripts go on loading and their text is dropped.
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    turn_.notify_all();
  }

 private:
  void Emit(std::string_view text) {
    if (text.empty()) return;
    if (board_ != nullptr) {
      board_->Print(text);
    } else {
      std::fwrite(text.data(), 1, text.size(), stderr);
      std::fflush(stderr);
    }
  }

  std::mutex mutex_;
  std::condition_variable turn_;
  std::vector<std::string> held_;
  std::size_t head_ = 0;
  bool stopped_ = false;
  ProgressBoard* board_;
};

std::string Render(const Diagnostic& diagnostic, DiagnosticsFormat format) {
  return format == DiagnosticsFormat::Json ? DiagnosticJsonLine(diagnostic) : DiagnosticText(diagnostic);
}

// A file's bytes held in memory as a file that Init can open by name; closed on destruction.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : fd_(::memfd_create("tamrel-rc-stdin", 0)) {
    for (std::size_t done = 0; fd_ >= 0 && done < bytes.size();) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  }
  ~MemoryFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

std::string ReadStandardInput() {
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) bytes.append(buffer, n);
  return bytes;
}

std::string ReadHead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kSniffBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return head;
}

// Loads one script into a model; its diagnostics go to `errors` in input order, and so do the
// reports its log receives later, until the sink is changed.
LoadResult LoadModel(std::size_t index, const std::string& path, ProgressBoard* board, unsigned slot,
                     const LoadSettings& settings, OrderedErrors& errors) {
  LoadResult result;
  result.path = path == "-" ? std::string(kStdinName) : path;
  result.rc = std::make_unique<clsRC>();
  auto emit = [&](Diagnostic diagnostic) {
    errors.Write(index, Render(diagnostic, settings.diagnostics));
    ++result.diagnostics;
    if (diagnostic.severity == "error") result.failure = std::move(diagnostic);
  };

  std::string input;  // standard input, read whole
  std::optional<MemoryFile> memory;
  std::string openPath = path;
  if (path == "-") {
    input = ReadStandardInput();
    memory.emplace(input);
    openPath = memory->Path();
  }
  if (!settings.force) {
    if (auto refusal = BinaryRefusal(result.path, path == "-" ? std::string_view(input) : ReadHead(path))) {
      emit(std::move(*refusal));
      result.refused = true;
      return result;
    }
  }

  auto form = std::make_shared<BoardProgress>(board, slot, result.path);
  auto log = std::make_shared<ScriptLog>(result.path, [form] { return form->Line(); }, emit);
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(form, "ParentForm");
  hosts->Add(log, "Log");
  const clsRC& rc = *result.rc;
  SetMessageBoxHook([&](std::string_view message, std::int32_t line) {
    emit(MessageBoxDiagnostic(result.path, message, line, rc));
  });
  try {
    LoadOptions options = settings.options;
    if (!options.languageId) options.languageId = LanguageIdOf;  // "0x09, 0x01" is LANG_ENGLISH, SUBLANG_ENGLISH_US
    result.loaded = result.rc->Init(openPath, hosts, 2, options);
  } catch (const RCError& e) {  // only an unusable host log gets here
    Diagnostic d;
    d.path = result.path;
    d.message = std::string("tamrel-rc: ") + e.what();
    emit(std::move(d));
  }
  SetMessageBoxHook(nullptr);
  form->Finish();
  result.log = log;
  if (path == "-") result.rc->Path = result.path;
  // A failure always says why: at least the line where the walk stopped.
  if (!result.loaded && result.diagnostics == 0) {
    Diagnostic d;
    d.path = result.path;
    d.line = form->Line();
    d.message = "loading stopped here";
    if (d.line > 0 && d.line <= rc.Lines.Count()) d.statement = rc.Lines.Item(d.line);
    emit(std::move(d));
  }
  if (result.loaded) result.failure.reset();
  if (settings.noteUnread)
    if (std::optional<Diagnostic> note = UnreadNote(result.path, rc)) emit(std::move(*note));
  if (settings.noteUnread)
    if (std::optional<Diagnostic> note = LanguageNote(result.path, rc)) emit(std::move(*note));
  // Reports made after loading no longer belong to this function's `result`.
  log->SetSink([&errors, index, format = settings.diagnostics](const Diagnostic& diagnostic) {
    errors.Write(index, Render(diagnostic, format));
  });
  return result;
}

// Loads one script: the model, its diagnostics in input order and, with `summarise`, its
// summary in place of the model.
LoadResult LoadOne(std::size_t index, const std::string& path, ProgressBoard* board, unsigned slot,
                   const LoadSettings& settings, OrderedErrors& errors, const Summarise& summarise,
                   bool last) {
  // Without a board nothing is drawn, so the host form formats no progress lines either.
  ProgressBoard* drawn = board != nullptr && board->Enabled() ? board : nullptr;
  LoadResult result = LoadModel(index, path, drawn, slot, settings, errors);
  if (summarise) {
    summarise(result, [&](const Diagnostic& diagnostic) {
      errors.Write(index, Render(diagnostic, settings.diagnostics));
    });
    result.log.reset();
    if (last) LeaveToExit(std::move(result.rc));
    result.rc.reset();
    return result;
  }
  // The document keeps its host objects: reports made later (by PrintLines) go straight to
  // standard error, where the script is then the current one.
  if (result.log)
    result.log->SetSink([format = settings.diagnostics](const Diagnostic& diagnostic) {
      std::string text = Render(diagnostic, format);
      std::fwrite(text.data(), 1, text.size(), stderr);
    });
  return result;
}

}  // namespace

std::optional<Diagnostic> UnreadNote(const std::string& path, const clsRC& rc) {
  if (rc.Unread.empty()) return std::nullopt;
  struct Kind {
    std::string_view name;
    int count;
    int firstLine;
  };
  std::vector<Kind> kinds[2];  // controls, resources; in order of first appearance
  for (const clsRC::UnreadStatement& unread : rc.Unread) {
    std::vector<Kind>& group = kinds[unread.Resource ? 1 : 0];
    auto known = std::find_if(group.begin(), group.end(), [&](const Kind& k) { return k.name == unread.Kind; });
    if (known == group.end()) group.push_back({unread.Kind, 1, unread.Line});
    else ++known->count;
  }
  std::string message = "not read:";
  constexpr std::string_view kNouns[2][2] = {{"control", "controls"}, {"resource", "resources"}};
  for (int g = 0; g < 2; ++g) {
    if (kinds[g].empty()) continue;
    int total = 0;
    for (const Kind& kind : kinds[g]) total += kind.count;
    if (g == 1 && !kinds[0].empty()) message += ";";
    AppendFormat(message, " %d %s (", total, std::string(kNouns[g][total == 1 ? 0 : 1]).c_str());
    for (std::size_t k = 0; k < kinds[g].size(); ++k)
      AppendFormat(message, "%s%s %d, first at line %d", k > 0 ? "; " : "", std::string(kinds[g][k].name).c_str(),
                   kinds[g][k].count, kinds[g][k].firstLine);
    message += ")";
  }
  message += kinds[0].empty() ? "" : "; the model keeps only these controls' keywords";
  Diagnostic note;
  note.path = path;
  note.severity = "note";
  note.line = rc.Unread.front().Line;
  note.message = std::move(message);
  return note;
}

std::optional<Diagnostic> LanguageNote(const std::string& path, const clsRC& rc) {
  if (rc.SkippedSections.empty()) return std::nullopt;
  // Each language not taken once, in order of first appearance, with the lines of its runs.
  std::vector<std::pair<std::string_view, std::string>> languages;
  for (const clsRC::LanguageSection& section : rc.SkippedSections) {
    auto known = std::find_if(languages.begin(), languages.end(),
                              [&](const auto& language) { return language.first == section.Language; });
    if (known == languages.end()) known = languages.insert(languages.end(), {section.Language, {}});
    std::string& lines = known->second;
    lines += lines.empty() ? "" : ", ";
    AppendFormat(lines, "%d", int(section.First));
    if (section.Last != section.First) AppendFormat(lines, "-%d", int(section.Last));
  }
  std::string message = "language " + rc.Language + " taken; kept as written, not read:";
  for (std::size_t k = 0; k < languages.size(); ++k)
    AppendFormat(message, "%s %s (line%s %s)", k > 0 ? ";" : "", std::string(languages[k].first).c_str(),
                 languages[k].second.find_first_of(",-") == std::string::npos ? "" : "s", languages[k].second.c_str());
  Diagnostic note;
  note.path = path;
  note.severity = "note";
  note.line = rc.SkippedSections.front().First;
  note.message = std::move(message);
  return note;
}

std::vector<std::string> ExpandInputs(const std::vector<std::string>& arguments, bool recursive,
                                      std::vector<std::string>& errors) {
  std::vector<std::string> paths;
  for (const std::string& argument : arguments) {
    std::error_code ec;
    if (argument != "-" && fs::is_directory(argument, ec)) AddDirectory(argument, recursive, paths, errors);
    else paths.push_back(argument);
  }
  return paths;
}

void WriteDiagnostic(const Diagnostic& diagnostic, DiagnosticsFormat format, ProgressBoard* board) {
  std::string text = Render(diagnostic, format);
  if (board != nullptr) board->Print(text);
  else std::fputs(text.c_str(), stderr);
}

void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const LoadSettings& settings, const Summarise& summarise,
             const std::function<void(LoadResult&)>& done) {
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  jobs = std::min<unsigned>(jobs, static_cast<unsigned>(std::max<std::size_t>(paths.size(), 1)));
  if (board != nullptr) board->SetSlots(jobs);
  // Scripts are loaded at most `window` past the one being handed out; while one is handed
  // out, the script `window` past it may already be writing diagnostics.
  const std::size_t window = jobs == 1 ? 1 : jobs * kAheadPerJob;
  OrderedErrors errors(window + 1, board);
  const std::size_t last = paths.size() - 1;

  // Hands one result out; standard output is flushed before the next script writes errors.
  auto handOut = [&](std::size_t i, LoadResult& result) {
    if (board != nullptr) board->Suspend();
    done(result);
    FlushOut();
    if (board != nullptr) board->Resume();
    errors.Advance();
    if (i == last && result.rc) LeaveToExit(std::move(result.rc));
  };

  if (jobs == 1) {  // one job: load each script on this thread and hand it out at once
    for (std::size_t i = 0; i < paths.size(); ++i) {
      LoadResult result = LoadOne(i, paths[i], board, 0, settings, errors, summarise, i == last);
      handOut(i, result);
    }
    return;
  }

  // Results wait in a ring of `window` places: result i in place i % window.
  std::vector<std::optional<LoadResult>> waiting(window);
  std::mutex mutex;
  std::condition_variable changed;  // a result is ready, the window moved, or loading stops
  std::size_t next = 0;             // the next script to load
  std::size_t head = 0;             // the next result to hand out
  bool stop = false;
  auto worker = [&](unsigned slot) {
    for (;;) {
      std::size_t i;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || next == paths.size() || next < head + window; });
        if (stop || next == paths.size()) return;
        i = next++;
      }
      LoadResult result = LoadOne(i, paths[i], board, slot, settings, errors, summarise, i == last);
      std::lock_guard lock(mutex);
      waiting[i % window] = std::move(result);
      changed.notify_all();
    }
  };
  std::vector<std::jthread> threads;
  for (unsigned slot = 0; slot < jobs; ++slot) threads.emplace_back(worker, slot);
  try {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return waiting[i % window].has_value(); });
      LoadResult result = std::move(*waiting[i % window]);
      waiting[i % window].reset();
      head = i + 1;
      changed.notify_all();
      lock.unlock();
      handOut(i, result);
    }
  } catch (...) {
    // Output failed: start no new script; the workers finish the ones they hold and join.
    {
      std::lock_guard lock(mutex);
      stop = true;
      changed.notify_all();
    }
    errors.Stop();
    throw;
  }
}

void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const LoadSettings& settings, const std::function<void(LoadResult&)>& done) {
  LoadAll(paths, jobs, board, settings, nullptr, done);
}

}  // namespace tamrel::tool
