// Counting words and characters of unit texts.
#include "translation/TranslationStats.h"

#include "common/Utf8Text.h"

namespace tamrel {
namespace {

bool IsSpace(std::uint32_t c) {
  return c < 0x20 || c == ' ' || c == 0x7F || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200B);
}

// Characters written without spaces between words: each is a word of its own.
bool IsCjk(std::uint32_t c) {
  return (c >= 0x3040 && c <= 0x30FF) ||    // hiragana, katakana
         (c >= 0x3400 && c <= 0x4DBF) ||    // CJK extension A
         (c >= 0x4E00 && c <= 0x9FFF) ||    // CJK unified ideographs
         (c >= 0xF900 && c <= 0xFAFF) ||    // compatibility ideographs
         (c >= 0xFF66 && c <= 0xFF9D) ||    // half-width katakana
         (c >= 0x20000 && c <= 0x3FFFF);    // supplementary ideographs
}

// A letter or digit of any script; punctuation and symbols of ASCII and Latin-1 are not.
bool IsWordCharacter(std::uint32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (c < 0xC0) return false;
  return !(c >= 0x2000 && c <= 0x206F) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFF0F);
}

}  // namespace

TextCount TranslationStats::Count(std::string_view text) {
  TextCount count;
  count.units = 1;
  bool inWord = false;   // inside a piece of non-space characters
  bool wordy = false;    // that piece has a letter or digit
  auto endPiece = [&]() {
    if (inWord && wordy) ++count.words;
    inWord = wordy = false;
  };
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        ++count.characters;
        inWord = true;
        i += 2;
      } else {
        ++i;
      }
      continue;
    }
    if (const std::size_t conversion = PrintfConversionLength(text, i)) {
      if (conversion == 2 && text[i + 1] == '%') {
        ++count.characters;
        inWord = true;
      }
      i += conversion;
      continue;
    }
    Utf8Char c = NextUtf8(text, i);
    if (c.length == 0) c = {0xFFFD, 1};
    i += c.length;
    ++count.characters;
    if (IsSpace(c.codePoint)) {
      endPiece();
    } else if (IsCjk(c.codePoint)) {
      endPiece();
      ++count.words;
    } else {
      inWord = true;
      wordy = wordy || IsWordCharacter(c.codePoint);
    }
  }
  endPiece();
  return count;
}

void TranslationStats::Add(const TranslationUnit& unit) {
  byKind_[static_cast<std::size_t>(unit.kind)] += Count(unit.text);
}

TextCount TranslationStats::Total() const {
  TextCount total;
  for (const TextCount& count : byKind_) total += count;
  return total;
}

}  // namespace tamrel
