// Texts of the model as Python sees them. The model keeps every text byte for byte, in the code
// page of the script line it was read from (UTF-8 for a Unicode script), and a text literal as
// written, quotes and escapes included. Python gets str: a literal's text with its quotes
// removed and escapes decoded, other fields converted as they stand; a str assigned to a text
// becomes a literal again, in the code page of the item's line.
//
// A text that does not convert raises std::invalid_argument (ValueError in Python) naming the
// byte or character; the raw bytes stay available beside every text.
#pragma once

#include <string>
#include <string_view>

#include "python/ModuleDocument.h"

namespace tamrel::python {

// A field that is no literal (an identifier, a file name, a line) as UTF-8.
std::string DecodeField(const ModuleDocument& document, int line, std::string_view bytes);

// What the user sees of a text as written: a literal ("..." or L"...") decoded; anything else
// (SEPARATOR, an empty caption) converted as it stands.
std::string DecodeLiteralText(const ModuleDocument& document, int line, std::string_view written);

// The literal that reads as `text` (UTF-8) in the code page of `line`: wide (L"...") when
// `likeWritten` is a wide literal, so an assignment keeps the kind of literal the script had.
std::string EncodeLiteralText(const ModuleDocument& document, int line, std::string_view text,
                              std::string_view likeWritten);

}  // namespace tamrel::python
