// The binary-data refusal and the hints added to the readers' message boxes.
#include "diagnostics/LoadHints.h"

#include <algorithm>
#include <string>

namespace tamrel::tool {

namespace {

// What the message boxes of the readers mean: the end of the message and what the reader
// accepts at the line where it stopped.
struct MessageBoxHint {
  std::string_view ending;
  std::string_view accepts;
};

constexpr MessageBoxHint kMessageBoxHints[] = {
    {" style information.", "STYLE, an optional CAPTION, then FONT"},
    {" font information.", "STYLE, an optional CAPTION, then FONT"},
    {" begin controls.", "{ or BEGIN on the line after FONT"},
    {" options.", "option statements (STYLE, EXSTYLE, CAPTION, FONT, MENU, CLASS, LANGUAGE, VERSION, "
                  "CHARACTERISTICS) up to { or BEGIN"},
    {"accelerator section.", "BEGIN on the line after the header"},
    {"string table section.", "BEGIN on the line after the header"},
};

// "found EXSTYLE": the first word of the line the reader stopped at.
std::string FoundAt(const clsRC& rc, int line) {
  if (line < 1 || line > rc.Lines.Count()) return "found the end of the script";
  std::string text = clsRC::TrimWhite(rc.Lines.Item(line));
  if (text.empty()) return "found a blank line";
  std::size_t end = text.find_first_of(" \t,");
  return "found " + text.substr(0, end);
}

}  // namespace

bool LooksBinary(std::string_view head, bool& utf16) {
  utf16 = false;
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return false;
  if (head.find('\0') == std::string_view::npos) return false;
  // UTF-16 text without a mark: in most pairs of bytes, one and the same half is NUL.
  std::size_t pairs = head.size() / 2, evenNul = 0, oddNul = 0;
  for (std::size_t i = 0; i + 1 < head.size(); i += 2) {
    evenNul += head[i] == '\0';
    oddNul += head[i + 1] == '\0';
  }
  utf16 = pairs >= 2 && (std::max(evenNul, oddNul) * 10 >= pairs * 9) && std::min(evenNul, oddNul) * 10 < pairs;
  return true;
}

std::optional<Diagnostic> BinaryRefusal(std::string_view path, std::string_view head) {
  bool utf16 = false;
  if (!LooksBinary(head.substr(0, kSniffBytes), utf16)) return std::nullopt;
  Diagnostic d;
  d.path = path;
  d.message = "not a resource script (binary data)";
  if (utf16) d.message += "; it looks like UTF-16 without a byte-order mark: save it with one";
  return d;
}

Diagnostic MessageBoxDiagnostic(std::string_view path, std::string_view message, int line, const clsRC& rc) {
  Diagnostic d;
  d.path = path;
  d.line = line;
  std::string text(message);
  if (line > 0) {
    std::string hint = FoundAt(rc, line);
    for (const MessageBoxHint& known : kMessageBoxHints)
      if (message.ends_with(known.ending)) hint += "; the reader accepts " + std::string(known.accepts);
    if (text.ends_with('.')) text.pop_back();
    text += " (" + hint + ")";
    if (line <= rc.Lines.Count()) d.statement = rc.Lines.Item(line);
  }
  d.message = std::move(text);
  return d;
}

}  // namespace tamrel::tool
