// The library's one notion of "a text that reads as a number", and the conversions built on
// it: leading-number reading of operation codes, banker's rounding, and the checked
// token-to-16-bit conversion used for coordinates and sizes.
#pragma once

#include <string_view>

#include "common/Int16.h"

namespace tamrel {

// True when the whole text, blanks and tabs around it allowed, is an optionally signed decimal
// integer or fraction with an optional exponent ("12", "-3", " 1.5 ", ".5", "2e3").
bool ReadsAsNumber(std::string_view text) noexcept;

// The number at the start of a text ("2" and "2abc" give 2, "abc" gives 0); leading blanks
// and tabs are skipped.
double LeadingNumber(std::string_view text) noexcept;

// Rounds to the nearest integer, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value) noexcept;

// Rounds half to even and range-checks: error 6 outside -32768..32767 (NaN included).
Int16 ToInt16(double value);

// A token as a 16-bit integer: error 13 when it does not read as a number, error 6 when it is
// out of range; fractions round half to even.
Int16 ToInt16(std::string_view token);

// The value of a text that reads as a number (ReadsAsNumber must hold).
double NumberValue(std::string_view text) noexcept;

}  // namespace tamrel
