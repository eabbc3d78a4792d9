// Free functions shared across the library: the error message format, the test of a name
// character and, with the word counter, the splitting of texts into pieces and the test of
// whether a piece is a word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/Variant.h"

namespace tamrel {

// A character of a name or number in a script (an identifier such as MFT_SEPARATOR or IDOK, or
// the digits of 0x10): an ASCII letter, digit or underscore.
constexpr bool IsNameChar(char c) noexcept {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "{procedure}-{step}: {description} ({number})", the text of every report to the host log.
std::string FormatErrorMessage(std::string_view procedure, std::string_view step,
                               std::string_view description, std::int32_t number);

// The blank-separated pieces of a text, in order: blanks are trimmed from both ends first,
// then tabs become blanks; runs of blanks give no empty pieces (a leading tab gives one empty
// first piece). Never fails: a piece that would pass 32,767 characters ends the split, and the
// pieces found so far are returned. Linear in the length of the text.
LineCollection SplitWords(std::string_view text);

// True when a piece counts as a word: it does not read as a number and holds none of
// ! @ # $ % ^ * [ ] < >. An empty piece is a word.
bool IsWord(std::string_view piece) noexcept;

// True when a word count with this operation counts every piece (a missing operation or one
// equal to 0); false when it counts only the pieces that are words. A text that does not read
// as a number raises error 13.
bool CountsEveryPiece(const Variant& vOperation);

// The count of one text, as the leaf DisplayWordCount methods give it: the number of pieces,
// or of pieces that are words. Error 6 past 32,767.
Int16 CountWords(std::string_view text, const Variant& vOperation);

}  // namespace tamrel
