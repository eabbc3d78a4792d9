// What a loader says beyond the library's own reports: a file refused as binary data before
// it is read, and a reader's message box turned into a diagnostic that names what the reader
// found at the line where it stopped and what it accepts there. The host program and the
// Python module both use these, so both give the same reports.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "diagnostics/Diagnostics.h"
#include "document/clsRC.h"

namespace tamrel::tool {

// How many bytes of a file are looked at to tell text from binary data.
inline constexpr std::size_t kSniffBytes = 8 * 1024;

// Whether the first bytes of a file show binary data rather than a script: a NUL byte, unless
// the file starts with a UTF-16 byte-order mark. Sets `utf16` when the NULs fall in the pattern
// of UTF-16 text without a mark.
bool LooksBinary(std::string_view head, bool& utf16);

// The refusal of a file whose first bytes (`head`, at least the first kSniffBytes of the file
// when it has them) look binary: "not a resource script (binary data)", with a hint when it
// looks like UTF-16 without a byte-order mark. None for text.
std::optional<Diagnostic> BinaryRefusal(std::string_view path, std::string_view head);

// A message box of the readers as a diagnostic at `line` (0: none): the message without its
// full stop, then what the reader found there and, for the messages known, what it accepts
// ("found EXSTYLE; the reader accepts STYLE, an optional CAPTION, then FONT"), with the raw
// line as the statement.
Diagnostic MessageBoxDiagnostic(std::string_view path, std::string_view message, int line, const clsRC& rc);

}  // namespace tamrel::tool
