// Per-thread hooks through which the library reaches its host outside the host collection:
// the yield point (let the host process its user-interface events during a long call) and the
// modal message box. Hooks are per thread, so documents on different threads never share them.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Whether the calling thread has a yield hook: loops that yield once per character may then
// take their fast path, which yields nowhere, when it has none.
inline bool YieldHookInstalled() noexcept { return detail::tlsYield.function != nullptr; }

// Installs the message-box hook of the calling thread; an empty function (or {}) restores the
// default, which writes the message and a line end to standard error. The second form also
// receives the script line the reader had reached (0 when the caller names none).
void SetMessageBoxHook(std::function<void(std::string_view message)> hook);
void SetMessageBoxHook(std::function<void(std::string_view message, std::int32_t line)> hook);
void SetMessageBoxHook(std::nullptr_t);

// Shows a message to the user (an OK-only box on a desktop host); `line` is the script line
// the message is about, or 0.
void ShowMessageBox(std::string_view message, std::int32_t line = 0);

}  // namespace tamrel
