// The yield hook that meets the other threads inside the library.
#include "python/YieldRendezvous.h"

#include "host/HostHooks.h"

namespace tamrel::python {

void YieldRendezvous::Install() { SetYieldHook(&YieldRendezvous::Hook, this); }

void YieldRendezvous::Uninstall() noexcept { SetYieldHook(nullptr); }

bool YieldRendezvous::Met() const {
  std::lock_guard lock(mutex_);
  return met_;
}

int YieldRendezvous::Arrived() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(arrived_.size());
}

void YieldRendezvous::Hook(void* context) { static_cast<YieldRendezvous*>(context)->Arrive(); }

void YieldRendezvous::Arrive() {
  std::unique_lock lock(mutex_);
  // Only a thread's first yield point takes part; later ones pass.
  if (!arrived_.insert(std::this_thread::get_id()).second) return;
  if (static_cast<int>(arrived_.size()) >= parties_) {
    met_ = true;
    all_arrived_.notify_all();
    return;
  }
  all_arrived_.wait_for(lock, patience_, [this] { return met_; });
}

}  // namespace tamrel::python
