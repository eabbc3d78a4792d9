// PseudoTranslator: a made-up translation of every unit, for testing a program before real
// translations exist. Letters become accented look-alikes (where the unit's code page holds
// them), the text is lengthened by a given percentage with "~", and brackets mark both ends,
// so that clipped, concatenated and hard-coded text stands out. Printf conversions, "&"
// mnemonics with their letter, and the shortcut text after a tab in a menu item are kept as
// they are; escapes come back when the merge encodes the text.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "translation/TranslationUnit.h"

namespace tamrel {

class PseudoTranslator {
 public:
  explicit PseudoTranslator(int expandPercent = 40) : expand_(expandPercent < 0 ? 0 : expandPercent) {}

  // The pseudo-translation of one unit, using only characters its code page (or, with
  // `unicode`, any code page) can hold.
  std::string Translate(const TranslationUnit& unit, bool unicode = false);
  // The pseudo-translations of all units, in order.
  std::vector<std::string> TranslateAll(const std::vector<TranslationUnit>& units, bool unicode = false);

 private:
  // The accented look-alike of an ASCII letter that code page can hold, or the letter itself.
  std::string_view LookAlike(char letter, int codePage);

  int expand_;
  CodePageConverter converter_;
  // Per code page, whether each letter's look-alike converts: 0 unknown, 1 yes, 2 no.
  std::map<int, std::string> fits_;
};

}  // namespace tamrel
