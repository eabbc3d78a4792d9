// Pseudo-translation of unit texts.
#include "translation/PseudoTranslator.h"

#include "common/Utf8Text.h"

namespace tamrel {
namespace {

// Accented look-alikes of A-Z and a-z, from Latin-1 where there is one so that the common
// Western code pages hold them.
constexpr std::string_view kUpper[26] = {"Å", "Ɓ", "Ç", "Ð", "É", "Ƒ", "Ĝ", "Ĥ", "Î", "Ĵ", "Ķ", "Ļ", "Ṁ",
                                         "Ñ", "Ö", "Þ", "Ǫ", "Ŕ", "Š", "Ţ", "Û", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};
constexpr std::string_view kLower[26] = {"å", "ƀ", "ç", "ð", "é", "ƒ", "ĝ", "ĥ", "î", "ĵ", "ķ", "ļ", "ɱ",
                                         "ñ", "ö", "þ", "ǫ", "ŕ", "š", "ţ", "û", "ṽ", "ŵ", "ẋ", "ý", "ž"};

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string_view PseudoTranslator::LookAlike(char letter, int codePage) {
  const bool upper = letter <= 'Z';
  const int index = upper ? letter - 'A' : letter - 'a' + 26;
  std::string& fits = fits_[codePage];
  if (fits.empty()) fits.assign(52, '\0');
  std::string_view accented = upper ? kUpper[index] : kLower[index - 26];
  if (fits[static_cast<std::size_t>(index)] == '\0') {
    std::string scratch;
    fits[static_cast<std::size_t>(index)] = converter_.FromUtf8(accented, codePage, scratch) ? 2 : 1;
  }
  if (fits[static_cast<std::size_t>(index)] == 1) return accented;
  return std::string_view(upper ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ" : "abcdefghijklmnopqrstuvwxyz").substr(static_cast<std::size_t>(index % 26), 1);
}

std::string PseudoTranslator::Translate(const TranslationUnit& unit, bool unicode) {
  const std::string_view text = unit.text;
  if (text.empty()) return {};
  const int codePage = unicode ? kUtf8CodePage : unit.codePage;
  std::string out = "[";
  bool keep = false;  // past the tab of a menu item: shortcut text stays as it is
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '\t' && unit.kind == UnitKind::MenuItem) keep = true;
    if (c == '&' && i + 1 < text.size()) {
      // A mnemonic keeps its letter so that the key stays the same; "&&" stays "&&".
      const Utf8Char next = NextUtf8(text, i + 1);
      const std::size_t length = 1 + (next.length ? next.length : 1);
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    if (const std::size_t conversion = PrintfConversionLength(text, i)) {
      out.append(text.substr(i, conversion));
      i += conversion;
      continue;
    }
    if (!keep && IsAsciiLetter(c)) {
      out.append(LookAlike(c, codePage));
    } else {
      out.push_back(c);
    }
    ++i;
  }
  const std::size_t length = CountUtf8(text);
  const std::size_t padding = (length * static_cast<std::size_t>(expand_) + 99) / 100;
  out.append(padding, '~');
  out.push_back(']');
  return out;
}

std::vector<std::string> PseudoTranslator::TranslateAll(const std::vector<TranslationUnit>& units, bool unicode) {
  std::vector<std::string> translations;
  translations.reserve(units.size());
  for (const TranslationUnit& unit : units) translations.push_back(Translate(unit, unicode));
  return translations;
}

}  // namespace tamrel
