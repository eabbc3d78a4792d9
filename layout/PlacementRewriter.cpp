// PlacementRewriter: a small scanner over the statement's lines (literals and comments passed
// over, arguments split at commas), and the in-place rebuild the translation merge uses: the
// file decoded as the model reads it, cut into lines that keep their ends, and encoded back.
#include "layout/PlacementRewriter.h"

#include <algorithm>

#include "common/RCError.h"
#include "common/TextEncoding.h"
#include "common/modCommonTools.h"
#include "dialogs/clsDialog.h"
#include "document/clsRC.h"
#include "translation/RcEscapes.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"

namespace tamrel {

namespace {

// A statement's arguments are looked for on at most this many lines.
constexpr int kStatementLines = 8;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
         });
}

// A plain decimal number, perhaps negative, and its value.
bool PlainNumber(std::string_view text, int& value) {
  std::size_t at = text.starts_with('-') ? 1 : 0;
  if (at == text.size() || text.size() > 7) return false;
  int magnitude = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    magnitude = magnitude * 10 + (text[at] - '0');
  }
  value = text.starts_with('-') ? -magnitude : magnitude;
  return true;
}

std::size_t LineEndLength(std::string_view line) {
  if (line.ends_with("\r\n")) return 2;
  return !line.empty() && (line.back() == '\r' || line.back() == '\n') ? 1 : 0;
}

}  // namespace

std::vector<PlacementRewriter::Argument> PlacementRewriter::Arguments(int line, std::size_t from,
                                                                      std::size_t count) const {
  std::vector<Argument> arguments;
  Argument current;
  bool open = false;
  auto extend = [&](int at, std::size_t begin, std::size_t end) {
    if (!open) {
      current = Argument{at, begin, end, true};
      open = true;
    } else if (current.line != at) {
      current.oneLine = false;
    } else {
      current.end = end;
    }
  };
  const int last = std::min<int>(rc_.Lines.Count(), line + kStatementLines - 1);
  for (int at = line; at <= last && arguments.size() < count; ++at) {
    const std::string& text = rc_.Lines.Item(at);
    const std::vector<LiteralSpan> literals = FindLiterals(text, LineCodePage(rc_, codePages_, at));
    std::size_t literal = 0;
    for (std::size_t i = at == line ? from : 0; i < text.size() && arguments.size() < count;) {
      while (literal < literals.size() && literals[literal].offset < i) ++literal;
      if (literal < literals.size() && literals[literal].offset == i) {
        extend(at, i, i + literals[literal].length);
        i += literals[literal].length;
        continue;
      }
      const char c = text[i];
      if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') break;
      if (c == ',') {
        arguments.push_back(open ? current : Argument{at, i, i, true});
        open = false;
      } else if (!Blank(c)) {
        extend(at, i, i + 1);
      }
      ++i;
    }
    // The last argument asked for ends with its line (a number never runs on to the next).
    if (open && arguments.size() + 1 == count) {
      arguments.push_back(current);
      open = false;
    }
  }
  return arguments;
}

std::optional<std::array<NumberSpan, 4>> PlacementRewriter::Numbers(const std::vector<Argument>& arguments,
                                                                    std::size_t first,
                                                                    const std::array<int, 4>& values) const {
  if (arguments.size() < first + 4) return std::nullopt;
  std::array<NumberSpan, 4> spans;
  for (std::size_t k = 0; k < 4; ++k) {
    const Argument& argument = arguments[first + k];
    if (!argument.oneLine) return std::nullopt;
    const std::string_view text =
        std::string_view(rc_.Lines.Item(argument.line)).substr(argument.begin, argument.end - argument.begin);
    int value = 0;
    if (!PlainNumber(text, value) || value != values[k]) return std::nullopt;
    spans[k] = NumberSpan{argument.line, argument.begin, argument.end - argument.begin};
  }
  return spans;
}

std::optional<std::array<NumberSpan, 4>> PlacementRewriter::LocateControl(const clsControl& control) const {
  if (control.Line < 1 || control.Line > rc_.Lines.Count()) return std::nullopt;
  const std::string& text = rc_.Lines.Item(control.Line);
  std::size_t from = text.find_first_not_of(" \t");
  if (from == std::string::npos || !SameWord(text.substr(from, control.ItemType.size()), control.ItemType))
    return std::nullopt;
  from += control.ItemType.size();
  // Where x stands: after the text, ID, window class and style of CONTROL; after the ID of the
  // boxes without text; after the text and ID of the others.
  const std::string& keyword = control.ItemType;
  const std::size_t first = keyword == "CONTROL"                                                      ? 4
                            : keyword == "EDITTEXT" || keyword == "LISTBOX" || keyword == "COMBOBOX" ||
                                      keyword == "SCROLLBAR"                                          ? 1
                                                                                                      : 2;
  return Numbers(Arguments(control.Line, from, first + 4), first,
                 {control.Left, control.Top, control.Width, control.Height});
}

std::optional<std::array<NumberSpan, 4>> PlacementRewriter::LocateDialog(const clsDialog& dialog) const {
  if (dialog.Line < 1 || dialog.Line > rc_.Lines.Count()) return std::nullopt;
  const std::string& text = rc_.Lines.Item(dialog.Line);
  // The header's keyword, then perhaps memory options, then the four numbers.
  std::size_t from = std::string::npos;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '"') {  // a quoted name
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string::npos) break;
      i = close + 1;
      continue;
    }
    if (!IsNameChar(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    if (SameWord(std::string_view(text).substr(i, end - i), dialog.ItemType)) {
      from = end;
      break;
    }
    i = end;
  }
  if (from == std::string::npos) return std::nullopt;
  std::vector<Argument> arguments = Arguments(dialog.Line, from, 4);
  if (arguments.size() == 4 && arguments[0].oneLine) {
    // Options stand before x, separated by blanks: x is the last word of the first argument.
    const std::string_view first = std::string_view(rc_.Lines.Item(arguments[0].line))
                                       .substr(arguments[0].begin, arguments[0].end - arguments[0].begin);
    const std::size_t blank = first.find_last_of(" \t");
    if (blank != std::string_view::npos) arguments[0].begin += blank + 1;
  }
  return Numbers(arguments, 0, {dialog.Left, dialog.Top, dialog.Width, dialog.Height});
}

void PlacementRewriter::Record(const std::array<NumberSpan, 4>& spans, const std::array<int, 4>& before,
                               const std::array<int, 4>& after) {
  for (std::size_t k = 0; k < 4; ++k)
    if (before[k] != after[k]) edits_.push_back(Edit{spans[k], after[k]});
}

bool PlacementRewriter::SetControl(const clsControl& control, const RectDu& rect) {
  const auto spans = LocateControl(control);
  if (!spans) return false;
  Record(*spans, {control.Left, control.Top, control.Width, control.Height},
         {rect.left, rect.top, rect.width, rect.height});
  return true;
}

bool PlacementRewriter::SetDialogSize(const clsDialog& dialog, int width, int height) {
  const auto spans = LocateDialog(dialog);
  if (!spans) return false;
  Record(*spans, {dialog.Left, dialog.Top, dialog.Width, dialog.Height}, {dialog.Left, dialog.Top, width, height});
  return true;
}

std::string PlacementRewriter::Rewrite(std::string_view fileBytes, std::string& error) const {
  TextEncoding encoding = TextEncoding::Bytes;
  std::vector<std::string> lines;
  try {
    lines = SplitKeepingEnds(DecodeScript(fileBytes, encoding));
  } catch (const RCError& e) {
    error = e.Description();
    return {};
  }
  bool matches = lines.size() == static_cast<std::size_t>(rc_.Lines.Count());
  for (std::size_t i = 0; matches && i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    matches = line.substr(0, line.size() - LineEndLength(line)) == rc_.Lines.Item(static_cast<std::int32_t>(i + 1));
  }
  if (!matches) {
    error = "the file is no longer the script that was loaded";
    return {};
  }
  std::vector<Edit> edits = edits_;
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.span.line != b.span.line ? a.span.line < b.span.line : a.span.offset < b.span.offset;
  });
  std::string joined;
  joined.reserve(fileBytes.size() + edits.size() * 2);
  std::size_t next = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    std::size_t at = 0;
    for (; next < edits.size() && edits[next].span.line == line; ++next) {
      const NumberSpan& span = edits[next].span;
      if (span.offset < at) continue;  // one number recorded twice: the first stands
      joined.append(lines[i], at, span.offset - at).append(std::to_string(edits[next].value));
      at = span.offset + span.length;
    }
    joined.append(lines[i], at);
  }
  return EncodeText(joined, encoding, true);
}

}  // namespace tamrel
