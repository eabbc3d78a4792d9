// Storage and defaults of the per-thread host hooks.
#include "host/HostHooks.h"

#include <cstdio>

namespace tamrel {

namespace detail {
constinit thread_local YieldSlot tlsYield{};
}  // namespace detail

namespace {
thread_local std::function<void(std::string_view, std::int32_t)> tlsMessageBox;
}  // namespace

void SetYieldHook(YieldFunction function, void* context) noexcept {
  detail::tlsYield.function = function;
  detail::tlsYield.context = context;
}

void SetMessageBoxHook(std::function<void(std::string_view, std::int32_t)> hook) {
  tlsMessageBox = std::move(hook);
}

void SetMessageBoxHook(std::function<void(std::string_view)> hook) {
  if (!hook) {
    tlsMessageBox = nullptr;
    return;
  }
  tlsMessageBox = [hook = std::move(hook)](std::string_view message, std::int32_t) { hook(message); };
}

void SetMessageBoxHook(std::nullptr_t) { tlsMessageBox = nullptr; }

void ShowMessageBox(std::string_view message, std::int32_t line) {
  if (tlsMessageBox) {
    tlsMessageBox(message, line);
    return;
  }
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace tamrel
