// Splitting library reports into diagnostics, and rendering them as text or JSON.
#include "diagnostics/Diagnostics.h"

#include <charconv>

namespace tamrel::tool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The leading decimal number of `text` and the rest after it; nullopt when it has none.
std::optional<int> LeadingNumber(std::string_view text, std::string_view& rest) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || text.front() == '-') return std::nullopt;
  rest = text.substr(static_cast<std::size_t>(end - text.data()));
  return value;
}

// A procedure code and step label: letters, "-", then digits and dots (possibly none).
bool IsCode(std::string_view text) {
  std::size_t dash = text.find('-');
  if (dash == 0 || dash == std::string_view::npos) return false;
  for (std::size_t i = 0; i < dash; ++i)
    if (!IsLetter(text[i])) return false;
  for (std::size_t i = dash + 1; i < text.size(); ++i)
    if (!IsDigit(text[i]) && text[i] != '.') return false;
  return true;
}

}  // namespace

Diagnostic DiagnosticFromReport(std::string_view path, std::string_view message,
                                const std::optional<std::string>& location, int fallbackLine) {
  Diagnostic d;
  d.path = std::string(path);
  d.line = fallbackLine;
  std::string_view text = message;
  if (std::size_t colon = text.find(": "); colon != std::string_view::npos && IsCode(text.substr(0, colon))) {
    d.code = std::string(text.substr(0, colon));
    text.remove_prefix(colon + 2);
    // "description (number)"
    if (std::size_t open = text.rfind(" ("); open != std::string_view::npos && text.ends_with(')')) {
      std::string_view digits = text.substr(open + 2, text.size() - open - 3), rest;
      if (std::optional<int> number = LeadingNumber(digits, rest); number && rest.empty()) {
        d.number = number;
        text = text.substr(0, open);
      }
    }
  }
  d.message = std::string(text);
  if (location) {
    std::string_view where = *location, rest;
    if (std::optional<int> line = LeadingNumber(where, rest); line && rest.starts_with(": ")) {
      d.line = *line;
      d.statement = std::string(rest.substr(2));
    } else {
      d.statement = *location;
    }
  }
  return d;
}

std::string DiagnosticText(const Diagnostic& d) {
  std::string where = d.path + ":";
  if (d.line > 0) where += std::to_string(d.line) + ":";
  if (d.line > 0 && d.column > 0) where += std::to_string(d.column) + ":";
  std::string text = where + " " + d.severity + ": ";
  if (!d.code.empty()) text += d.code + ": ";
  text += d.message;
  if (d.number) text += " (" + std::to_string(*d.number) + ")";
  text += "\n";
  if (d.statement) text += where + "    at " + *d.statement + "\n";
  return text;
}

nlohmann::ordered_json DiagnosticJson(const Diagnostic& d) {
  nlohmann::ordered_json value;
  value["path"] = d.path;
  value["line"] = d.line > 0 ? nlohmann::ordered_json(d.line) : nlohmann::ordered_json();
  value["column"] = d.line > 0 && d.column > 0 ? nlohmann::ordered_json(d.column) : nlohmann::ordered_json();
  value["severity"] = d.severity;
  value["code"] = d.code.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(d.code);
  value["number"] = d.number ? nlohmann::ordered_json(*d.number) : nlohmann::ordered_json();
  value["message"] = d.message;
  value["statement"] = d.statement ? nlohmann::ordered_json(*d.statement) : nlohmann::ordered_json();
  return value;
}

std::string DiagnosticJsonLine(const Diagnostic& d) {
  return DiagnosticJson(d).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace tamrel::tool
