// Walks the model's dialogs, menus, string table and version strings for texts, finds each text's literal in the
// script lines it was read from, and names every unit with its context.
#include "translation/UnitExtractor.h"

#include <algorithm>
#include <map>
#include <utility>

#include "translation/RcEscapes.h"

namespace tamrel {
namespace {

bool IsQuoted(std::string_view text) {
  return (text.size() >= 2 && text.front() == '"') || (text.size() >= 3 && (text[0] == 'L' || text[0] == 'l') && text[1] == '"');
}

// The model's text without its quotes (and L prefix), as written.
std::string_view Unquoted(std::string_view text) {
  if (text.front() != '"') text.remove_prefix(1);
  text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return text;
}

// Whether the statement starting at a trimmed line goes on to the next line.
bool Continues(std::string_view trimmed) {
  return trimmed.ends_with("NOT") || trimmed.ends_with("|") || trimmed.ends_with(",");
}

class Extractor {
 public:
  Extractor(const clsRC& rc, const ExtractOptions& options)
      : rc_(rc), map_(rc.Lines, options.defaultCodePage, options.ignorePragmas) {}

  // A context or control type as UTF-8, built from pieces of script bytes.
  struct Name {
    std::string text;
    std::string problem;  // why a piece does not convert; the first one counts
    bool utf8 = false;    // that piece's bytes are valid UTF-8 all the same
  };

  // Appends bytes read at `line` (an ID, a popup or item text as written, a window class) to a
  // name, converted from that line's code page. Control characters, which XML names cannot
  // carry, are written as \xHH. Bytes that do not convert are kept, escaped, for messages, and
  // the name gets their problem.
  void Append(Name& name, std::string_view bytes, int line) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
      name.text.append(bytes);
      return;
    }
    std::string converted;
    if (auto error = converter_.ToUtf8(bytes, LineCodePage(rc_, map_, line), converted)) {
      if (name.problem.empty()) {
        name.problem = "\"" + PrintableText(bytes) + "\" does not convert: " + error->Describe();
        name.utf8 = converter_.LooksLikeUtf8(bytes);
      }
      converted.assign(bytes);
    }
    name.text.append(PrintableText(converted));
  }

  Name MakeName(std::initializer_list<std::string_view> pieces, int line) {
    Name name;
    for (std::string_view piece : pieces) Append(name, piece, line);
    return name;
  }

  // Adds a unit for a model text read at `line`; the literal may stand on the statement's
  // continuation lines or, for a keyword or identifier alone on its line, on the next one.
  void Add(UnitKind kind, Name context, Name controlType, std::string_view modelText, int line) {
    TranslationUnit unit;
    unit.kind = kind;
    unit.context = std::move(context.text);
    unit.controlType = std::move(controlType.text);
    unit.line = line;
    unit.codePage = LineCodePage(rc_, map_, line);
    if (!Locate(unit, modelText)) {
      unit.problem = "its literal " + PrintableText(modelText) + " is not in line " + std::to_string(line) +
                     " as written";
      unit.text = Unquoted(modelText);
    }
    for (const Name* name : {&context, &controlType}) {
      if (name->problem.empty() || unit.unconvertible) continue;
      unit.problem = (name == &context ? "its context: " : "its control class: ") + name->problem;
      unit.unconvertible = true;
      unit.utf8 = name->utf8;
    }
    units_.push_back(std::move(unit));
  }

  std::vector<TranslationUnit> Finish() {
    // An empty text has nothing to translate (and an empty msgid is a catalog's header).
    std::erase_if(units_, [](const TranslationUnit& unit) { return unit.text.empty() && unit.problem.empty(); });
    std::stable_sort(units_.begin(), units_.end(), [](const TranslationUnit& a, const TranslationUnit& b) {
      return a.line != b.line ? a.line < b.line : a.offset < b.offset;
    });
    std::map<std::string, int> total;
    for (const TranslationUnit& unit : units_) ++total[unit.context];
    std::map<std::string, int> seen;
    for (TranslationUnit& unit : units_)
      if (total[unit.context] > 1) {
        const int n = ++seen[unit.context];
        unit.context.append("#").append(std::to_string(n));
      }
    return std::move(units_);
  }

 private:
  bool Locate(TranslationUnit& unit, std::string_view modelText) {
    const int lineCount = rc_.Lines.Count();
    int last = unit.line;
    while (last < lineCount && Continues(clsRC::TrimWhite(rc_.Lines.Item(last)))) ++last;
    last = std::min(last + 1, lineCount);
    for (int line = unit.line; line <= last && line >= 1; ++line) {
      const std::string& text = rc_.Lines.Item(line);
      const int codePage = LineCodePage(rc_, map_, line);
      for (const LiteralSpan& span : FindLiterals(text, codePage)) {
        std::string_view literal = std::string_view(text).substr(span.offset, span.length);
        if (AsTokenized(literal) != modelText) continue;
        unit.line = line;
        unit.codePage = codePage;
        unit.offset = span.offset;
        unit.length = span.length;
        unit.wide = span.wide;
        // A version string's terminator is no part of its text.
        if (unit.kind == UnitKind::Version && literal.ends_with("\\0\"") && !literal.ends_with("\\\\0\"")) {
          unit.terminated = true;
          literal_.assign(literal.substr(0, literal.size() - 3)).push_back('"');
          literal = literal_;
        }
        if (auto problem = DecodeLiteral(literal, codePage, converter_, unit.text)) {
          unit.text = Unquoted(modelText);
          unit.problem = problem->description;
          unit.unconvertible = problem->conversion;
          unit.utf8 = problem->conversion && converter_.LooksLikeUtf8(literal);
        }
        return true;
      }
    }
    return false;
  }

  const clsRC& rc_;
  CodePageMap map_;
  CodePageConverter converter_;
  std::vector<TranslationUnit> units_;
  std::string literal_;  // a literal without its terminator
};

void AddDialogs(const clsRC& rc, Extractor& extractor) {
  for (const clsDialog& dialog : rc.Dialogs) {
    if (IsQuoted(dialog.Caption.Text)) {
      const int line = dialog.Caption.Line;
      extractor.Add(UnitKind::Caption, extractor.MakeName({dialog.ID, "|CAPTION"}, line), {}, dialog.Caption.Text, line);
    }
    for (const clsControl& control : dialog.Controls) {
      if (control.ItemType == "ICON" || !IsQuoted(control.Text)) continue;
      const int line = control.Line;
      Extractor::Name type = extractor.MakeName({control.ItemType}, line);
      if (control.ItemType == "CONTROL" && !control.ControlType.empty())
        extractor.Append(type, std::string(" ").append(Unquoted(control.ControlType)), line);
      extractor.Add(UnitKind::Control, extractor.MakeName({dialog.ID, "|", control.ID}, line), std::move(type),
                    control.Text, line);
    }
  }
}

// A menu text as written for a context path: without its quotes.
std::string_view PathText(std::string_view modelText) {
  return IsQuoted(modelText) ? Unquoted(modelText) : modelText;
}

void AddMenus(const clsRC& rc, Extractor& extractor) {
  // Menus nest deeply: walk each tree with a stack of (popup, its context path). Items with a
  // command ID are named by the menu's ID and theirs, wherever they stand in the tree.
  for (const clsMenu& menu : rc.Menus) {
    std::vector<std::pair<const clsMenu*, Extractor::Name>> stack;
    stack.emplace_back(&menu, extractor.MakeName({menu.ID}, menu.Line));
    while (!stack.empty()) {
      auto [current, path] = std::move(stack.back());
      stack.pop_back();
      // Children are pushed in reverse so that the walk keeps file order (sorting by line
      // afterwards settles it in any case).
      const auto& items = current->Items;
      for (auto it = items.end(); it != items.begin();) {
        const MenuEntry& entry = *--it;
        if (entry.IsPopup()) {
          const clsMenu& popup = entry.Popup();
          Extractor::Name popupPath = path;
          extractor.Append(popupPath, "|", popup.Line);
          extractor.Append(popupPath, PathText(popup.Text), popup.Line);
          if (IsQuoted(popup.Text)) extractor.Add(UnitKind::Popup, popupPath, {}, popup.Text, popup.Line);
          stack.emplace_back(&popup, std::move(popupPath));
        } else {
          const clsMenuItem& item = entry.MenuItem();
          if (item.Text == "SEPARATOR" || !IsQuoted(item.Text)) continue;
          const bool hasId = !item.Map.empty() && item.Map != "SEPARATOR";
          Extractor::Name context = hasId ? extractor.MakeName({menu.ID, "|", item.Map}, item.Line) : path;
          if (!hasId) {
            extractor.Append(context, "|", item.Line);
            extractor.Append(context, PathText(item.Text), item.Line);
          }
          extractor.Add(UnitKind::MenuItem, std::move(context), {}, item.Text, item.Line);
        }
      }
    }
  }
}

void AddStrings(const clsRC& rc, Extractor& extractor) {
  for (const clsStringTableEntry& entry : rc.StringTable.Entries)
    if (IsQuoted(entry.Text))
      extractor.Add(UnitKind::String, extractor.MakeName({"STRINGTABLE|", entry.ID}, entry.Line), {}, entry.Text,
                    entry.Line);
}

void AddVersionStrings(const clsRC& rc, Extractor& extractor) {
  for (const clsVersionInfo& info : rc.VersionInfos)
    for (const clsVersionBlock& block : info.StringFileInfo)
      for (const clsVersionValue& value : block.Values)
        if (IsQuoted(value.Value))
          extractor.Add(UnitKind::Version,
                        extractor.MakeName({"VERSIONINFO|", block.Key, "|", value.Name}, value.Line), {}, value.Value,
                        value.Line);
}

}  // namespace

int LineCodePage(const clsRC& rc, const CodePageMap& map, int line) {
  return rc.SourceEncoding == TextEncoding::Bytes ? map.At(line) : kUtf8CodePage;
}

std::vector<TranslationUnit> ExtractUnits(const clsRC& rc, const ExtractOptions& options) {
  Extractor extractor(rc, options);
  AddDialogs(rc, extractor);
  AddMenus(rc, extractor);
  AddStrings(rc, extractor);
  AddVersionStrings(rc, extractor);
  return extractor.Finish();
}

}  // namespace tamrel
