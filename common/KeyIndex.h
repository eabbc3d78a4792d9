// KeyIndex: the key index of a Collection. An open-addressing table (linear probing, at most
// half full) of member positions; the keys themselves live once, in the collection's list of
// keys, and a probe compares against them there. Each slot keeps 32 bits of the key's hash, so
// that growing the table and closing the gap a removal leaves never hash a key again, and most
// probes that meet another key are rejected without comparing text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel::detail {

constexpr char FoldCase(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The process's key-hash seed: drawn once from the system's random source, then never changed.
inline std::uint64_t HashSeed() noexcept {
  static const std::uint64_t seed = []() noexcept -> std::uint64_t {
    try {
      std::random_device device;
      return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
      // No random source: the address of a local differs from process to process.
      int local = 0;
      return reinterpret_cast<std::uintptr_t>(&local) * 0x9E3779B97F4A7C15ULL;
    }
  }();
  return seed;
}

// FNV-1a over the folded bytes from a seeded basis, then a full avalanche with the seed again.
inline std::uint64_t FoldedHash(std::string_view s, std::uint64_t seed) noexcept {
  std::uint64_t h = 1469598103934665603ULL ^ seed;
  for (char c : s) {
    h ^= static_cast<unsigned char>(FoldCase(c));
    h *= 1099511628211ULL;
  }
  h ^= seed;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ULL;
  h ^= h >> 33;
  return h;
}

// Plain FNV-1a over the folded bytes, as keys were once hashed (for tests of hostile keys).
inline std::uint64_t FoldedHashUnseeded(std::string_view s) noexcept {
  std::uint64_t h = 1469598103934665603ULL;
  for (char c : s) {
    h ^= static_cast<unsigned char>(FoldCase(c));
    h *= 1099511628211ULL;
  }
  return h;
}

// Equality of two keys without regard to ASCII letter case.
inline bool SameKey(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

class KeyIndex {
 public:
  using Keys = std::vector<std::optional<std::string>>;

  KeyIndex() = default;
  KeyIndex(const KeyIndex&) = default;
  KeyIndex& operator=(const KeyIndex&) = default;
  KeyIndex(KeyIndex&& other) noexcept;
  KeyIndex& operator=(KeyIndex&& other) noexcept;

  // The seeded hash of a key, folded to letter case; computed once per insert or lookup.
  static std::uint32_t Hash(std::string_view key) noexcept;

  // The 0-based position of the key among `keys`, or nullopt.
  std::optional<std::size_t> Find(std::string_view key, std::uint32_t hash, const Keys& keys) const noexcept;

  // The slot a new key with this hash goes into, after making room for it; nullopt when the
  // key is already present (nothing else changes then, except that the table may have grown).
  std::optional<std::size_t> PrepareInsert(std::string_view key, std::uint32_t hash, const Keys& keys);
  // Fills the slot PrepareInsert returned, with no other change in between.
  void Insert(std::size_t slot, std::uint32_t hash, std::size_t position) noexcept;

  // Removes the entry of the key at `position` (which must be indexed).
  void Erase(std::size_t position, std::uint32_t hash) noexcept;

  // Every position at or after `from` moves by `by` (+1 or -1): one pass, no key hashed.
  void Shift(std::size_t from, int by) noexcept;

  void Clear() noexcept;

  // The most slots a lookup of one present key visits (a diagnostic for tests).
  std::size_t LongestProbe() const noexcept;

 private:
  struct Slot {
    std::uint32_t position = 0;  // 1-based member position; 0 marks an empty slot
    std::uint32_t hash = 0;
  };

  std::size_t Mask() const noexcept { return slots_.size() - 1; }
  void Grow();

  std::vector<Slot> slots_;  // empty, or a power of two long
  std::size_t used_ = 0;
};

}  // namespace tamrel::detail
