// Collection<T>: the ordered, 1-based container used for every list in the model and every
// set of output lines. Members may carry a string key; keys are unique and compared without
// regard to ASCII letter case. Lookup by position or key is O(1); appending is amortised O(1);
// inserting before a position or removing shifts the later members (O(n) moves), and the key
// index moves their positions with them in one pass over the index, without hashing a key
// again. Const members change nothing, so a collection may be read from several threads at
// once. The key hash is seeded once per process, so keys chosen to collide cannot make lookups
// slow.
//
// Failures: a missing key raises error 5, a position outside 1..Count error 9, a key that is
// already present error 457. References returned by Item stay valid until the collection
// changes size, like references into a std::vector.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/RCError.h"

namespace tamrel {

namespace detail {
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

struct CaseInsensitiveHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept {
    return static_cast<std::size_t>(FoldedHash(s, HashSeed()));
  }
};

struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
  }
};
}  // namespace detail

template <class T>
class Collection {
 public:
  using value_type = T;
  using iterator = typename std::vector<T>::iterator;
  using const_iterator = typename std::vector<T>::const_iterator;

  Collection() = default;

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(values_.size()); }
  bool Empty() const noexcept { return values_.empty(); }

  T& Item(std::int32_t index) { return values_[Position(index)]; }
  const T& Item(std::int32_t index) const { return values_[Position(index)]; }
  T& Item(std::string_view key) { return values_[Find(key)]; }
  const T& Item(std::string_view key) const { return values_[Find(key)]; }

  // The most keys that share one slot of the key index (a diagnostic for tests).
  std::size_t LongestKeyChain() const {
    std::size_t longest = 0;
    for (std::size_t b = 0; b < index_.bucket_count(); ++b) longest = std::max(longest, index_.bucket_size(b));
    return longest;
  }

  bool Contains(std::string_view key) const { return index_.find(key) != index_.end(); }

  // The key of the member at a position, or nullopt when it was added without one.
  std::optional<std::string> Key(std::int32_t index) const {
    std::size_t at = Position(index);
    if (!keyed_) return std::nullopt;
    return keys_[at];
  }

  // Appends without a key.
  void Add(T value) {
    values_.push_back(std::move(value));
    if (keyed_) keys_.emplace_back();
  }

  // Appends, or inserts before the 1-based position `before`, optionally under a key.
  void Add(T value, std::optional<std::string> key, std::optional<std::int32_t> before = std::nullopt) {
    std::size_t at = values_.size();
    if (before) at = Position(*before);
    if (key) {
      if (index_.find(*key) != index_.end()) Raise(err::DuplicateKey);
      if (!keyed_) keys_.resize(values_.size());
      keyed_ = true;
    }
    if (at != values_.size()) Shift(at, +1);
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
    if (keyed_) keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), key);
    if (key) index_.emplace(*key, at);
  }

  void Remove(std::int32_t index) { Erase(Position(index)); }
  void Remove(std::string_view key) { Erase(Find(key)); }
  void Clear() noexcept {
    values_.clear();
    keys_.clear();
    index_.clear();
    keyed_ = false;
  }
  void Reserve(std::size_t n) { values_.reserve(n); }

  iterator begin() noexcept { return values_.begin(); }
  iterator end() noexcept { return values_.end(); }
  const_iterator begin() const noexcept { return values_.begin(); }
  const_iterator end() const noexcept { return values_.end(); }

  friend bool operator==(const Collection& a, const Collection& b) {
    return a.values_ == b.values_ && a.KeysEqual(b);
  }

 private:
  std::size_t Position(std::int32_t index) const {
    if (index < 1 || index > Count()) Raise(err::OutOfRange);
    return static_cast<std::size_t>(index - 1);
  }

  std::size_t Find(std::string_view key) const {
    auto it = index_.find(key);
    if (it == index_.end()) Raise(err::InvalidArgument);
    return it->second;
  }

  void Erase(std::size_t at) {
    if (keyed_) {
      if (keys_[at]) index_.erase(index_.find(std::string_view(*keys_[at])));
      keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
    if (at != values_.size()) Shift(at + 1, -1);
  }

  // The members from position `from` on move by `by`: one pass over the index, no key hashed.
  void Shift(std::size_t from, int by) noexcept {
    for (auto& entry : index_)
      if (entry.second >= from) entry.second += static_cast<std::size_t>(static_cast<std::ptrdiff_t>(by));
  }

  bool KeysEqual(const Collection& other) const {
    for (std::int32_t i = 1; i <= Count(); ++i)
      if (Key(i) != other.Key(i)) return false;
    return true;
  }

  std::vector<T> values_;
  std::vector<std::optional<std::string>> keys_;  // parallel to values_ once keyed_
  bool keyed_ = false;                            // a member has ever been added with a key
  // Key -> 0-based position.
  std::unordered_map<std::string, std::size_t, detail::CaseInsensitiveHash, detail::CaseInsensitiveEqual> index_;
};

using LineCollection = Collection<std::string>;
using Tokens = Collection<std::string>;

}  // namespace tamrel
