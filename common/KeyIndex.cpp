// The key index of a Collection: probing, growing and removal by closing the gap.
#include "common/KeyIndex.h"

#include <algorithm>
#include <utility>

namespace tamrel::detail {

KeyIndex::KeyIndex(KeyIndex&& other) noexcept
    : slots_(std::move(other.slots_)), used_(std::exchange(other.used_, 0)) {
  other.slots_.clear();
}

KeyIndex& KeyIndex::operator=(KeyIndex&& other) noexcept {
  if (this != &other) {
    slots_ = std::move(other.slots_);
    used_ = std::exchange(other.used_, 0);
    other.slots_.clear();
  }
  return *this;
}

std::uint32_t KeyIndex::Hash(std::string_view key) noexcept {
  return static_cast<std::uint32_t>(FoldedHash(key, HashSeed()));
}

std::optional<std::size_t> KeyIndex::Find(std::string_view key, std::uint32_t hash, const Keys& keys) const noexcept {
  if (slots_.empty()) return std::nullopt;
  for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
    const Slot& slot = slots_[i];
    if (slot.position == 0) return std::nullopt;
    if (slot.hash == hash && SameKey(*keys[slot.position - 1], key)) return slot.position - 1;
  }
}

std::optional<std::size_t> KeyIndex::PrepareInsert(std::string_view key, std::uint32_t hash, const Keys& keys) {
  // At most half full after this insert, so that every probe meets an empty slot soon.
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
    const Slot& slot = slots_[i];
    if (slot.position == 0) return i;
    if (slot.hash == hash && SameKey(*keys[slot.position - 1], key)) return std::nullopt;
  }
}

void KeyIndex::Insert(std::size_t slot, std::uint32_t hash, std::size_t position) noexcept {
  slots_[slot] = Slot{static_cast<std::uint32_t>(position + 1), hash};
  ++used_;
}

void KeyIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 8 : old.size() * 2, Slot{});
  for (const Slot& slot : old) {
    if (slot.position == 0) continue;
    std::size_t i = slot.hash & Mask();
    while (slots_[i].position != 0) i = (i + 1) & Mask();
    slots_[i] = slot;
  }
}

void KeyIndex::Erase(std::size_t position, std::uint32_t hash) noexcept {
  const auto wanted = static_cast<std::uint32_t>(position + 1);
  std::size_t gap = hash & Mask();
  while (slots_[gap].position != wanted) gap = (gap + 1) & Mask();
  // Close the gap: a later entry of the run moves back into it unless its home lies
  // (cyclically) after the gap, which would put it before its home.
  for (std::size_t i = (gap + 1) & Mask(); slots_[i].position != 0; i = (i + 1) & Mask()) {
    std::size_t home = slots_[i].hash & Mask();
    if (((i - home) & Mask()) >= ((i - gap) & Mask())) {
      slots_[gap] = slots_[i];
      gap = i;
    }
  }
  slots_[gap] = Slot{};
  --used_;
}

void KeyIndex::Shift(std::size_t from, int by) noexcept {
  const auto first = static_cast<std::uint32_t>(from + 1);
  const auto delta = static_cast<std::uint32_t>(by);  // wraps for -1, as intended
  for (Slot& slot : slots_)
    if (slot.position >= first) slot.position += delta;
}

void KeyIndex::Clear() noexcept {
  slots_.clear();
  used_ = 0;
}

std::size_t KeyIndex::LongestProbe() const noexcept {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].position != 0) longest = std::max(longest, ((i - (slots_[i].hash & Mask())) & Mask()) + 1);
  return longest;
}

}  // namespace tamrel::detail
