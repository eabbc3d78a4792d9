// Worker threads that load documents, and the in-order hand-out of their results.
#include "tamrel-rc/Loader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "host/HostHooks.h"

namespace tamrel::tool {
namespace fs = std::filesystem;

namespace {

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

LoadResult LoadOne(const std::string& path, ProgressBoard* board, unsigned slot) {
  LoadResult result;
  result.path = path;
  result.rc = std::make_unique<clsRC>();
  auto log = std::make_shared<TextLog>();
  auto hosts = std::make_shared<HostObjects>();
  std::shared_ptr<BoardProgress> form;
  if (board != nullptr) {
    form = std::make_shared<BoardProgress>(*board, slot, path);
    hosts->Add(form, "ParentForm");
  }
  hosts->Add(log, "Log");
  SetMessageBoxHook([&log, &path](std::string_view message) { log->MessageBox(message, path); });
  try {
    result.loaded = result.rc->Init(path, hosts, 2);
  } catch (const RCError& e) {  // only an unusable host log gets here
    log->Log(std::string("tamrel-rc: ") + e.what(), std::nullopt, path);
  }
  SetMessageBoxHook({});
  if (form) form->Finish();
  result.reports = log->Text();
  result.log = log;
  return result;
}

}  // namespace

std::vector<std::string> ExpandInputs(const std::vector<std::string>& arguments, bool recursive,
                                      std::vector<std::string>& errors) {
  std::vector<std::string> paths;
  for (const std::string& argument : arguments) {
    std::error_code ec;
    if (fs::is_directory(argument, ec)) AddDirectory(argument, recursive, paths, errors);
    else paths.push_back(argument);
  }
  return paths;
}

void LoadAll(const std::vector<std::string>& paths, unsigned jobs, ProgressBoard* board,
             const std::function<void(LoadResult&)>& done) {
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  jobs = std::min<unsigned>(jobs, static_cast<unsigned>(std::max<std::size_t>(paths.size(), 1)));
  if (board != nullptr) board->SetSlots(jobs);

  std::vector<std::optional<LoadResult>> results(paths.size());
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};

  auto worker = [&](unsigned slot) {
    for (std::size_t i; (i = next.fetch_add(1)) < paths.size();) {
      LoadResult result = LoadOne(paths[i], board, slot);
      std::lock_guard lock(mutex);
      results[i] = std::move(result);
      ready.notify_all();
    }
  };
  std::vector<std::jthread> threads;
  if (jobs == 1) {
    worker(0);  // one job: load on this thread, then hand out
  } else {
    for (unsigned slot = 0; slot < jobs; ++slot) threads.emplace_back(worker, slot);
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return results[i].has_value(); });
    LoadResult result = std::move(*results[i]);
    results[i].reset();
    lock.unlock();
    if (board != nullptr) board->Suspend();
    done(result);
    if (board != nullptr) board->Resume();
  }
}

}  // namespace tamrel::tool
