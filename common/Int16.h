// Checked 16-bit signed integer: the type of every line number, coordinate, size, position,
// counter and word count. Arithmetic happens in int; storing a result outside -32768..32767
// back into an Int16 raises error 6 instead of wrapping.
#pragma once

#include <concepts>
#include <cstdint>
#include <utility>

#include "common/RCError.h"

namespace tamrel {

class Int16 {
 public:
  constexpr Int16() noexcept = default;

  template <std::integral T>
    requires(!std::same_as<T, bool>)
  constexpr Int16(T value) : value_(Checked(value)) {}  // NOLINT: implicit by design

  constexpr operator int() const noexcept { return value_; }  // NOLINT: implicit by design
  constexpr std::int16_t Value() const noexcept { return value_; }

  constexpr Int16& operator+=(std::int64_t delta) { return *this = Int16(value_ + delta); }
  constexpr Int16& operator-=(std::int64_t delta) { return *this = Int16(value_ - delta); }
  constexpr Int16& operator++() { return *this += 1; }
  constexpr Int16& operator--() { return *this -= 1; }
  constexpr Int16 operator++(int) {
    Int16 old = *this;
    *this += 1;
    return old;
  }
  constexpr Int16 operator--(int) {
    Int16 old = *this;
    *this -= 1;
    return old;
  }

 private:
  template <class T>
  static constexpr std::int16_t Checked(T value) {
    if (std::cmp_less(value, -32768) || std::cmp_greater(value, 32767)) Raise(err::Overflow);
    return static_cast<std::int16_t>(value);
  }

  std::int16_t value_ = 0;
};

}  // namespace tamrel
