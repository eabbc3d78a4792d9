// Per-thread hooks through which the library reaches its host outside the host collection:
// the yield point (let the host process its user-interface events during a long call) and the
// modal message box. Hooks are per thread, so documents on different threads never share them.
#pragma once

#include <functional>
#include <string_view>

namespace tamrel {

using YieldFunction = void (*)(void* context);

namespace detail {
struct YieldSlot {
  YieldFunction function = nullptr;
  void* context = nullptr;
};
extern constinit thread_local YieldSlot tlsYield;
}  // namespace detail

// Installs the yield hook of the calling thread (nullptr removes it).
void SetYieldHook(YieldFunction function, void* context = nullptr) noexcept;

// A yield point: calls the thread's hook if one is set. Costs a load and a branch otherwise.
inline void YieldToHost() {
  const detail::YieldSlot& slot = detail::tlsYield;
  if (slot.function != nullptr) [[unlikely]]
    slot.function(slot.context);
}

// Installs the message-box hook of the calling thread; an empty function restores the
// default, which writes the message and a line end to standard error.
void SetMessageBoxHook(std::function<void(std::string_view message)> hook);

// Shows a message to the user (an OK-only box on a desktop host).
void ShowMessageBox(std::string_view message);

}  // namespace tamrel
