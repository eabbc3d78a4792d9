// Free functions shared across the library: the error message format and, with the word
// counter, the splitting of texts into pieces and the test of whether a piece is a word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamrel {

// "{procedure}-{step}: {description} ({number})", the text of every report to the host log.
std::string FormatErrorMessage(std::string_view procedure, std::string_view step,
                               std::string_view description, std::int32_t number);

}  // namespace tamrel
