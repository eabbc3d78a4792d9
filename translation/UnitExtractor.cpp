// Walks the model's dialogs, menus and string table for texts, finds each text's literal in the
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

// The model's text without its quotes, for a unit whose literal was not found.
std::string Unquoted(std::string_view text) {
  if (text.front() != '"') text.remove_prefix(1);
  text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return std::string(text);
}

// Whether the statement starting at a trimmed line goes on to the next line.
bool Continues(std::string_view trimmed) {
  return trimmed.ends_with("NOT") || trimmed.ends_with("|") || trimmed.ends_with(",");
}

class Extractor {
 public:
  Extractor(const clsRC& rc, const ExtractOptions& options)
      : rc_(rc), map_(rc.Lines, options.defaultCodePage, options.ignorePragmas) {}

  // Adds a unit for a model text read at `line`; the literal may stand on the statement's
  // continuation lines or, for a keyword or identifier alone on its line, on the next one.
  void Add(UnitKind kind, std::string context, std::string controlType, std::string_view modelText, int line) {
    TranslationUnit unit;
    unit.kind = kind;
    unit.context = std::move(context);
    unit.controlType = std::move(controlType);
    unit.line = line;
    unit.codePage = LineCodePage(rc_, map_, line);
    if (!Locate(unit, modelText)) {
      unit.problem = "its literal " + std::string(modelText) + " is not in line " + std::to_string(line) +
                     " as written";
      unit.text = Unquoted(modelText);
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
        if (auto problem = DecodeLiteral(literal, codePage, converter_, unit.text)) {
          unit.text = Unquoted(modelText);
          unit.problem = problem->description;
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
};

void AddDialogs(const clsRC& rc, Extractor& extractor) {
  for (const clsDialog& dialog : rc.Dialogs) {
    if (IsQuoted(dialog.Caption.Text))
      extractor.Add(UnitKind::Caption, dialog.ID + "|CAPTION", "", dialog.Caption.Text, dialog.Caption.Line);
    for (const clsControl& control : dialog.Controls) {
      if (control.ItemType == "ICON" || !IsQuoted(control.Text)) continue;
      std::string type = control.ItemType;
      if (control.ItemType == "CONTROL" && !control.ControlType.empty()) type.append(" ").append(Unquoted(control.ControlType));
      extractor.Add(UnitKind::Control, dialog.ID + "|" + control.ID, type, control.Text, control.Line);
    }
  }
}

// The decoded text of a menu text for a context path, or the model's text when its literal
// cannot be read.
std::string PathText(std::string_view modelText) {
  return IsQuoted(modelText) ? Unquoted(modelText) : std::string(modelText);
}

void AddMenus(const clsRC& rc, Extractor& extractor) {
  // Menus nest deeply: walk each tree with a stack of (popup, its context path). Items with a
  // command ID are named by the menu's ID and theirs, wherever they stand in the tree.
  for (const clsMenu& menu : rc.Menus) {
    std::vector<std::pair<const clsMenu*, std::string>> stack{{&menu, menu.ID}};
    while (!stack.empty()) {
      auto [current, path] = stack.back();
      stack.pop_back();
      // Children are pushed in reverse so that the walk keeps file order (sorting by line
      // afterwards settles it in any case).
      const auto& items = current->Items;
      for (auto it = items.end(); it != items.begin();) {
        const MenuEntry& entry = *--it;
        if (entry.IsPopup()) {
          const clsMenu& popup = entry.Popup();
          std::string popupPath = path + "|" + PathText(popup.Text);
          if (IsQuoted(popup.Text)) extractor.Add(UnitKind::Popup, popupPath, "", popup.Text, popup.Line);
          stack.emplace_back(&popup, std::move(popupPath));
        } else {
          const clsMenuItem& item = entry.MenuItem();
          if (item.Text == "SEPARATOR" || !IsQuoted(item.Text)) continue;
          const bool hasId = !item.Map.empty() && item.Map != "SEPARATOR";
          std::string context = hasId ? menu.ID + "|" + item.Map : path + "|" + PathText(item.Text);
          extractor.Add(UnitKind::MenuItem, std::move(context), "", item.Text, item.Line);
        }
      }
    }
  }
}

void AddStrings(const clsRC& rc, Extractor& extractor) {
  for (const clsStringTableEntry& entry : rc.StringTable.Entries)
    if (IsQuoted(entry.Text)) extractor.Add(UnitKind::String, "STRINGTABLE|" + entry.ID, "", entry.Text, entry.Line);
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
  return extractor.Finish();
}

}  // namespace tamrel
