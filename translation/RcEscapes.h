// Quoted text literals of a script line: where they stand, the text a user sees behind them
// (quotes removed, escapes decoded, converted to UTF-8 from the line's code page), and the way
// back from such a text to a literal that reads as the same text.
//
// Escapes read: "" (a quote), \" \\ \n \t \r, \a (the 0x08 that right-aligns menu text),
// octal \ooo and hexadecimal \xhh (\xhhhh in wide L"..." literals). Any other backslash pair is
// kept as written. Literals are written with "" for a quote, \\ \n \t \r \a, octal for the other
// control characters, and \xhhhh in wide literals for characters the code page cannot hold.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"

namespace tamrel {

// One literal of a line: its first byte (the L of a wide literal, else the opening quote) and
// its length, closing quote included.
struct LiteralSpan {
  std::size_t offset = 0;
  std::size_t length = 0;
  bool wide = false;
};

// The complete literals of a line in order, up to a // comment outside them. A literal that is
// not closed on the line is not one. In double-byte code pages a lead byte takes its trail byte
// along, so a trail byte that looks like a backslash or a quote stays part of its character.
std::vector<LiteralSpan> FindLiterals(std::string_view line, int codePage);

// Why a literal's text cannot be taken: a conversion error, or a text the exchange formats
// cannot carry (a NUL character, a lone surrogate).
struct LiteralProblem {
  std::string description;
  bool conversion = false;  // bytes that do not convert from the code page
};

// The text of a literal (with its quotes and L prefix) as UTF-8, its escapes decoded; the bytes
// are read in `codePage`.
std::optional<LiteralProblem> DecodeLiteral(std::string_view literal, int codePage,
                                             CodePageConverter& converter, std::string& text);

// The literal (quotes and L prefix included) that decodes to the UTF-8 `text` when written in
// `codePage`. A character the code page cannot hold is an Unrepresentable error in a narrow
// literal and a \x escape in a wide one.
std::optional<ConversionError> EncodeLiteral(std::string_view text, bool wide, int codePage,
                                             CodePageConverter& converter, std::string& literal);

// The literal as the model's tokenizer hands it on (tabs become blanks; nothing else changes
// inside double quotes). Used to recognise a model text in its script line.
std::string AsTokenized(std::string_view literal);

}  // namespace tamrel
