// Where each line of the regenerated script came from. The writer gathers text from all over
// the script (one string table holds the entries of every STRINGTABLE section), so a host that
// must know a line's origin (to convert it by the code page in force there) asks for the script
// line of each written line's item. The layout is followed section by section as the writer
// lays it out; the #ifdef blocks are matched line by line, so that lines the writer leaves out
// of a block do not shift the others.
#include <string>
#include <vector>

#include "document/clsRC.h"

namespace tamrel {
namespace {

constexpr std::string_view kWrapperEnd = "#endif    // APSTUDIO_INVOKED";
constexpr int kBannerLines = 5;

// Assigns source lines to the written lines in order.
class SourceCursor {
 public:
  SourceCursor(const LineCollection& lines, std::vector<Int16>& sources) : lines_(lines), sources_(sources) {
    sources_.assign(static_cast<std::size_t>(lines.Count()), Int16());
  }
  // The next `count` written lines came from script line `source`.
  void Take(std::size_t count, Int16 source) {
    for (; count > 0 && next_ < sources_.size(); --count) sources_[next_++] = source;
  }
  void TakeLinesOf(const LineCollection& itemLines, Int16 source) {
    Take(static_cast<std::size_t>(itemLines.Count()), source);
  }
  bool Done() const { return next_ >= sources_.size(); }
  const std::string& Current() const { return lines_.Item(static_cast<std::int32_t>(next_ + 1)); }

 private:
  const LineCollection& lines_;
  std::vector<Int16>& sources_;
  std::size_t next_ = 0;
};

void MenuSources(const clsMenu& menu, SourceCursor& cursor) {
  cursor.Take(2, menu.Line);  // header, BEGIN
  struct Open {
    const clsMenu* menu;
    std::int32_t next;
  };
  std::vector<Open> stack{{&menu, 1}};
  while (!stack.empty()) {
    Open& top = stack.back();
    if (top.next > top.menu->Items.Count()) {
      cursor.Take(1, top.menu->Line);  // END
      stack.pop_back();
      continue;
    }
    const MenuEntry& entry = top.menu->Items.Item(top.next++);
    if (entry.IsPopup()) {
      const clsMenu& popup = entry.Popup();
      cursor.Take(2, popup.Line);
      stack.push_back({&popup, 1});
    } else {
      cursor.TakeLinesOf(entry.MenuItem().PrintLines(), entry.MenuItem().Line);
    }
  }
}

void DialogSources(const clsDialog& dialog, SourceCursor& cursor) {
  cursor.Take(1, dialog.Line);
  cursor.Take(std::max<std::size_t>(1, static_cast<std::size_t>(dialog.Style.PrintLines().Count())),
              dialog.Style.Line);
  cursor.TakeLinesOf(dialog.Caption.PrintLines(), dialog.Caption.Line);
  cursor.TakeLinesOf(dialog.Font.PrintLines(), dialog.Font.Line);
  cursor.Take(1, dialog.Line);  // BEGIN
  for (const clsControl& control : dialog.Controls) cursor.TakeLinesOf(control.PrintLines(), control.Line);
  cursor.Take(1, dialog.Line);  // END
}

void AcceleratorSources(const clsAccelerator& table, SourceCursor& cursor) {
  cursor.Take(2, table.Line);
  for (const clsAcceleratorKey& key : table.Keys) cursor.TakeLinesOf(key.PrintLines(), key.Line);
  cursor.Take(1, table.Line);
}

void StringTableSources(const clsStringTable& table, SourceCursor& cursor) {
  cursor.Take(2, table.Line);
  for (const clsStringTableEntry& entry : table.Entries) cursor.TakeLinesOf(entry.PrintLines(), entry.Line);
  cursor.Take(1, table.Line);
}

// Block lines written inside the wrapper, each matched to the next stored block line with the
// same text: the written lines are the stored ones in order, some possibly left out.
void IfDefSources(const clsRC& rc, SourceCursor& cursor) {
  std::size_t block = 0, line = 0;  // next stored line: IfDef's block and line, 0-based
  auto advance = [&] {
    while (block < static_cast<std::size_t>(rc.IfDef.Count()) &&
           line >= static_cast<std::size_t>(rc.IfDef.Item(static_cast<std::int32_t>(block + 1)).Count())) {
      ++block;
      line = 0;
    }
  };
  advance();
  while (!cursor.Done() && cursor.Current() != kWrapperEnd) {
    const std::string& written = cursor.Current();
    Int16 source;
    for (; block < static_cast<std::size_t>(rc.IfDef.Count()); ++line, advance()) {
      const LineCollection& stored = rc.IfDef.Item(static_cast<std::int32_t>(block + 1));
      if (line >= static_cast<std::size_t>(stored.Count())) continue;
      if (stored.Item(static_cast<std::int32_t>(line + 1)) != written) continue;
      const std::vector<Int16>* numbers = block < rc.IfDefLines.size() ? &rc.IfDefLines[block] : nullptr;
      if (numbers != nullptr && numbers->size() == static_cast<std::size_t>(stored.Count()))
        source = (*numbers)[line];
      ++line;
      advance();
      break;
    }
    cursor.Take(1, source);
  }
}

}  // namespace

LineCollection clsRC::PrintLines(std::vector<Int16>& sourceLines) const {
  LineCollection lines = PrintLines();
  SourceCursor cursor(lines, sourceLines);
  auto group = [&](const auto& items) {
    if (items.Empty()) return;
    cursor.Take(kBannerLines, 0);
    for (const auto& item : items) cursor.TakeLinesOf(item.PrintLines(), item.Line);
    cursor.Take(1, 0);
  };
  auto blocks = [&](const auto& items, auto&& sources) {
    if (items.Empty()) return;
    cursor.Take(kBannerLines, 0);
    for (const auto& item : items) {
      sources(item, cursor);
      cursor.Take(1, 0);
    }
  };
  try {
    group(Includes);
    group(Icons);
    group(Bitmaps);
    group(Cursors);
    blocks(Menus, MenuSources);
    blocks(Accelerators, AcceleratorSources);
    blocks(Dialogs, DialogSources);
    if (!IfDef.Empty()) {
      cursor.Take(1 + kBannerLines, 0);
      IfDefSources(*this, cursor);
      cursor.Take(2, 0);
    }
    cursor.Take(kBannerLines, 0);
    StringTableSources(StringTable, cursor);
  } catch (const RCError&) {
    // PrintLines has reported the failure and stopped there; the lines it wrote are placed.
  }
  return lines;
}

}  // namespace tamrel
