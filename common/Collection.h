// Collection<T>: the ordered, 1-based container used for every list in the model and every
// set of output lines. Members may carry a string key; keys are unique and compared without
// regard to ASCII letter case. Each key is stored once, beside its member; the key index
// (KeyIndex) holds positions only and hashes a key once per insert or lookup. Lookup by
// position or key is O(1); appending is amortised O(1); inserting before a position or removing
// shifts the later members (O(n) moves), and the key index moves their positions with them in
// one pass, without hashing a key again. Const members change nothing, so a collection may be
// read from several threads at once. The key hash is seeded once per process, so keys chosen to
// collide cannot make lookups slow.
//
// Failures: a missing key raises error 5, a position outside 1..Count error 9, a key that is
// already present error 457. References returned by Item stay valid until the collection
// changes size, like references into a std::vector.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/KeyIndex.h"
#include "common/RCError.h"

namespace tamrel {

namespace detail {
struct CaseInsensitiveHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept {
    return static_cast<std::size_t>(FoldedHash(s, HashSeed()));
  }
};

struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return SameKey(a, b); }
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

  // The most keys a lookup of one present key compares against (a diagnostic for tests).
  std::size_t LongestKeyChain() const noexcept { return index_.LongestProbe(); }

  bool Contains(std::string_view key) const {
    return keyed_ && index_.Find(key, detail::KeyIndex::Hash(key), keys_).has_value();
  }

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
    if (!key) {
      if (keyed_) RoomForOneKey();
      values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
      if (keyed_) keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), std::nullopt);
      if (at + 1 != values_.size()) index_.Shift(at, +1);
      return;
    }
    const std::uint32_t hash = detail::KeyIndex::Hash(*key);
    std::optional<std::size_t> slot = index_.PrepareInsert(*key, hash, keys_);
    if (!slot) Raise(err::DuplicateKey);
    if (!keyed_) keys_.resize(values_.size());
    keyed_ = true;
    RoomForOneKey();  // so that inserting the key below cannot fail
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), std::move(key));
    if (at + 1 != values_.size()) index_.Shift(at, +1);
    index_.Insert(*slot, hash, at);
  }

  void Remove(std::int32_t index) { Erase(Position(index)); }
  void Remove(std::string_view key) { Erase(Find(key)); }
  void Clear() noexcept {
    values_.clear();
    keys_.clear();
    index_.Clear();
    keyed_ = false;
  }
  void Reserve(std::size_t n) {
    values_.reserve(n);
    if (keyed_) keys_.reserve(n);
  }

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
    std::optional<std::size_t> at;
    if (keyed_) at = index_.Find(key, detail::KeyIndex::Hash(key), keys_);
    if (!at) Raise(err::InvalidArgument);
    return *at;
  }

  void Erase(std::size_t at) {
    if (keyed_) {
      if (keys_[at]) index_.Erase(at, detail::KeyIndex::Hash(*keys_[at]));
      keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
    if (at != values_.size()) index_.Shift(at + 1, -1);
  }

  // Capacity for one more key, growing geometrically (reserving one more each time would copy
  // every key on every add).
  void RoomForOneKey() {
    if (keys_.size() == keys_.capacity()) keys_.reserve(std::max<std::size_t>(8, keys_.capacity() * 2));
  }

  bool KeysEqual(const Collection& other) const {
    if (keyed_ == other.keyed_) return keys_ == other.keys_;
    const Collection& withKeys = keyed_ ? *this : other;
    for (const std::optional<std::string>& key : withKeys.keys_)
      if (key) return false;
    return true;
  }

  std::vector<T> values_;
  std::vector<std::optional<std::string>> keys_;  // parallel to values_ once keyed_
  bool keyed_ = false;                            // a member has ever been added with a key
  detail::KeyIndex index_;                        // key -> 0-based position
};

using LineCollection = Collection<std::string>;
using Tokens = Collection<std::string>;

}  // namespace tamrel
