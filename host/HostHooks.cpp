// Storage and defaults of the per-thread host hooks.
#include "host/HostHooks.h"

#include <cstdio>

namespace tamrel {

namespace detail {
constinit thread_local YieldSlot tlsYield{};
}  // namespace detail

namespace {
thread_local std::function<void(std::string_view)> tlsMessageBox;
}  // namespace

void SetYieldHook(YieldFunction function, void* context) noexcept {
  detail::tlsYield.function = function;
  detail::tlsYield.context = context;
}

void SetMessageBoxHook(std::function<void(std::string_view)> hook) { tlsMessageBox = std::move(hook); }

void ShowMessageBox(std::string_view message) {
  if (tlsMessageBox) {
    tlsMessageBox(message);
    return;
  }
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace tamrel
