// YieldRendezvous: shows without measuring time that calls into the library run on several
// threads at once. Each participating thread installs it as its yield hook; at its first yield
// point inside the library a thread arrives and waits until every participant has arrived. If
// a call kept the Python interpreter lock, the other threads could not enter the library and
// the rendezvous would never be met: the wait then gives up after a bound and Met() stays false.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace tamrel::python {

class YieldRendezvous {
 public:
  // `patience` bounds the wait of a rendezvous that is never met, so that a failing test
  // fails instead of hanging.
  explicit YieldRendezvous(int parties, std::chrono::milliseconds patience = std::chrono::seconds(60))
      : parties_(parties), patience_(patience) {}

  // Installs it as the calling thread's yield hook; Uninstall removes the calling thread's hook.
  void Install();
  static void Uninstall() noexcept;

  // Whether every party arrived while the others were still waiting inside the library.
  bool Met() const;
  int Arrived() const;

 private:
  static void Hook(void* context);
  void Arrive();

  const int parties_;
  const std::chrono::milliseconds patience_;
  mutable std::mutex mutex_;
  std::condition_variable all_arrived_;
  std::set<std::thread::id> arrived_;
  bool met_ = false;
};

}  // namespace tamrel::python
