// TranslationStats: units, words and characters per kind of unit, counted the way translators
// count text:
//   - the mnemonic "&" is removed ("&&" counts as one "&");
//   - printf conversions are not text;
//   - words are separated by white space and by the characters escapes stand for (\n, \t, ...);
//   - each CJK ideograph, kana or full-width katakana counts as one word of its own;
//   - a piece with no letter or digit (a lone "-", "...") is no word;
//   - characters are the characters that remain, white space included.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "translation/TranslationUnit.h"

namespace tamrel {

struct TextCount {
  std::int64_t units = 0;
  std::int64_t words = 0;
  std::int64_t characters = 0;

  TextCount& operator+=(const TextCount& other) {
    units += other.units;
    words += other.words;
    characters += other.characters;
    return *this;
  }
};

class TranslationStats {
 public:
  // Counts one text (a unit's decoded text) as one unit.
  static TextCount Count(std::string_view text);

  void Add(const TranslationUnit& unit);
  const TextCount& Of(UnitKind kind) const { return byKind_[static_cast<std::size_t>(kind)]; }
  TextCount Total() const;

  static constexpr std::array<UnitKind, 6> kKinds = {UnitKind::Caption,  UnitKind::Control, UnitKind::Popup,
                                                     UnitKind::MenuItem, UnitKind::String,  UnitKind::Version};

 private:
  std::array<TextCount, 6> byKind_{};
};

}  // namespace tamrel
