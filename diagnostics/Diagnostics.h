// Diagnostics: one report of a script, as a value that the host program renders for a person
// ("path:LINE: error: RCpD-05: Index out of range (9)" and the statement below it) or for a
// tool (one JSON object per line), and that `dump --json` carries under "Error".
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace tamrel::tool {

struct Diagnostic {
  std::string path;                      // the script as the user named it ("<stdin>" for -)
  int line = 0;                          // 1-based; 0 when no line is known
  int column = 0;                        // 1-based byte of the line; 0 when not known
  std::string severity = "error";        // "error" or "warning"
  std::string code;                      // "RCpD-05" (procedure and step); empty when none
  std::optional<int> number;             // the error number, when the report carries one
  std::string message;                   // "Index out of range"; the whole text when not a report
  std::optional<std::string> statement;  // the statement or raw line the report names
};

// A library report: message "{code}-{step}: {description} ({number})" and location
// "{line}: {statement}", or a statement alone, or none. `fallbackLine` is used when the
// location names no line (the line the walk had reached).
Diagnostic DiagnosticFromReport(std::string_view path, std::string_view message,
                                const std::optional<std::string>& location, int fallbackLine);

// "path:LINE: error: CODE: MESSAGE (NUMBER)" and, when there is a statement,
// "path:LINE:    at STATEMENT"; each line ends in "\n". Without a line, "path: error: ...";
// with a column, "path:LINE:COLUMN: error: ...".
std::string DiagnosticText(const Diagnostic& diagnostic);

// {"path", "line", "column", "severity", "code", "number", "message", "statement"}, in that
// order; absent values are null. Bytes that are not UTF-8 become U+FFFD in the JSON text.
nlohmann::ordered_json DiagnosticJson(const Diagnostic& diagnostic);

// DiagnosticJson as one line of compact JSON text, ending in "\n".
std::string DiagnosticJsonLine(const Diagnostic& diagnostic);

}  // namespace tamrel::tool
