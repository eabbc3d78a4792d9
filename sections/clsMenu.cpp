// Menu entries and menu trees: writing, counting, copying and destroying, each a loop over an
// explicit stack of open menus, so the depth of a tree never reaches the call stack.
#include "sections/clsMenu.h"

#include <type_traits>

namespace tamrel {
namespace {

static_assert(std::is_nothrow_move_constructible_v<clsMenu>);
static_assert(std::is_nothrow_move_constructible_v<MenuEntry>);

// Walks the children of `root` in file order, depth first. Calls item(item, depth) for each menu
// item, open(popup, depth) before a popup's children and close(popup, depth) after them; depth
// is 1 for the children of `root`, 2 for theirs, and so on.
template <class OnItem, class OnOpen, class OnClose>
void WalkEntries(const clsMenu& root, OnItem&& item, OnOpen&& open, OnClose&& close) {
  struct Open {
    const clsMenu* menu;
    std::int32_t next;  // 1-based position of the next child to visit
  };
  std::vector<Open> stack{{&root, 1}};
  while (!stack.empty()) {
    Open& top = stack.back();
    if (top.next > top.menu->Items.Count()) {
      const clsMenu* done = top.menu;
      stack.pop_back();
      if (!stack.empty()) close(*done, stack.size());
      continue;
    }
    const MenuEntry& entry = top.menu->Items.Item(top.next++);
    if (entry.IsPopup()) {
      const clsMenu& popup = entry.Popup();
      open(popup, stack.size());
      stack.push_back({&popup, 1});
    } else {
      item(entry.MenuItem(), stack.size());
    }
  }
}

// The header of a MENU or MENUEX resource ("ID MENU Disposition") or of a popup ("POPUP Text",
// then its options or its MENUEX arguments).
void WriteHeader(const clsMenu& menu, LineWriter& out) {
  std::string& line = out.Begin(menu.Line);
  if (menu.ItemType == "MENU" || menu.ItemType == "MENUEX")
    line.append(menu.ID).append(" ").append(menu.ItemType).append(" ").append(menu.Disposition);
  else
    line.append(menu.ItemType).append(" ").append(menu.Text);
  if (!menu.Options.empty()) line.append(", ").append(menu.Options);
  if (menu.Extended && menu.ItemType == "POPUP")
    clsMenuItem::AppendArguments(line, {menu.PopupID, menu.Type, menu.State, menu.HelpID});
  out.End();
}

}  // namespace

// ---- MenuEntry ----

MenuEntry::MenuEntry() noexcept = default;
MenuEntry::MenuEntry(clsMenuItem item) noexcept : value_(std::move(item)) {}
MenuEntry::MenuEntry(clsMenu popup) : value_(std::make_unique<clsMenu>(std::move(popup))) {}
MenuEntry::MenuEntry(std::unique_ptr<clsMenu> popup) noexcept : value_(std::move(popup)) {}

MenuEntry::MenuEntry(const MenuEntry& other) {
  if (other.IsPopup()) value_ = std::make_unique<clsMenu>(other.Popup());
  else value_ = other.MenuItem();
}

MenuEntry::MenuEntry(MenuEntry&& other) noexcept : value_(std::exchange(other.value_, clsMenuItem{})) {}

MenuEntry& MenuEntry::operator=(const MenuEntry& other) {
  if (this != &other) *this = MenuEntry(other);
  return *this;
}

MenuEntry& MenuEntry::operator=(MenuEntry&& other) noexcept {
  if (this != &other) value_ = std::exchange(other.value_, clsMenuItem{});
  return *this;
}

MenuEntry::~MenuEntry() = default;

clsMenuItem& MenuEntry::MenuItem() {
  if (IsPopup()) Raise(err::TypeMismatch);
  return std::get<0>(value_);
}

const clsMenuItem& MenuEntry::MenuItem() const {
  if (IsPopup()) Raise(err::TypeMismatch);
  return std::get<0>(value_);
}

clsMenu& MenuEntry::Popup() {
  if (!IsPopup()) Raise(err::TypeMismatch);
  return *std::get<1>(value_);
}

const clsMenu& MenuEntry::Popup() const {
  if (!IsPopup()) Raise(err::TypeMismatch);
  return *std::get<1>(value_);
}

LineCollection MenuEntry::PrintLines() const {
  return Visit([](const auto& child) { return child.PrintLines(); });
}

std::int32_t MenuEntry::DisplayWordCount(const Variant& vOperation) const {
  return Visit([&](const auto& child) { return child.DisplayWordCount(vOperation); });
}

std::unique_ptr<clsMenu> MenuEntry::ReleasePopup() noexcept {
  if (!IsPopup()) return nullptr;
  std::unique_ptr<clsMenu> popup = std::move(std::get<1>(value_));
  value_ = clsMenuItem{};
  return popup;
}

// ---- clsMenu ----

clsMenu::clsMenu(HeaderOnly, const clsMenu& other)
    : ID(other.ID),
      Disposition(other.Disposition),
      ItemType(other.ItemType),
      Text(other.Text),
      Map(other.Map),
      Line(other.Line),
      SectionLanguage(other.SectionLanguage),
      OptionStatements(other.OptionStatements),
      RelIndex(other.RelIndex),
      Options(other.Options),
      Extended(other.Extended),
      PopupID(other.PopupID),
      Type(other.Type),
      State(other.State),
      HelpID(other.HelpID) {}

// Copies level by level: each popup is first copied without its items, and its items are
// filled in when the pair (original, copy) comes off the work list.
clsMenu::clsMenu(const clsMenu& other) : clsMenu(HeaderOnly{}, other) {
  std::vector<std::pair<const clsMenu*, clsMenu*>> pending{{&other, this}};
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    to->Items.Reserve(static_cast<std::size_t>(from->Items.Count()));
    for (std::int32_t i = 1; i <= from->Items.Count(); ++i) {
      const MenuEntry& entry = from->Items.Item(i);
      if (!entry.IsPopup()) {
        to->Items.Add(MenuEntry(entry.MenuItem()), from->Items.Key(i));
        continue;
      }
      std::unique_ptr<clsMenu> popup(new clsMenu(HeaderOnly{}, entry.Popup()));
      clsMenu* copy = popup.get();
      to->Items.Add(MenuEntry(std::move(popup)), from->Items.Key(i));
      pending.emplace_back(&entry.Popup(), copy);
    }
  }
}

clsMenu& clsMenu::operator=(const clsMenu& other) {
  if (this != &other) *this = clsMenu(other);
  return *this;
}

// Takes every popup of the tree out of its parent before the parent goes, so that each menu
// destroyed here holds menu items only and its own destructor has nothing to descend into.
clsMenu::~clsMenu() {
  std::vector<std::unique_ptr<clsMenu>> pending;
  auto detach = [&pending](clsMenu& menu) {
    for (MenuEntry& entry : menu.Items)
      if (entry.IsPopup()) pending.push_back(entry.ReleasePopup());
  };
  detach(*this);
  while (!pending.empty()) {
    std::unique_ptr<clsMenu> popup = std::move(pending.back());
    pending.pop_back();
    detach(*popup);
  }
}

LineCollection clsMenu::PrintLines() const { return CollectLines(*this); }

void clsMenu::WriteLines(LineWriter& out) const {
  WriteHeader(*this, out);
  for (const std::string& option : OptionStatements) out.Line(option, Line);
  out.Line("BEGIN", Line);
  out.Indent();
  WalkEntries(
      *this, [&](const clsMenuItem& item, std::size_t) { item.WriteLines(out); },
      [&](const clsMenu& popup, std::size_t) {
        WriteHeader(popup, out);
        out.Line("BEGIN", popup.Line);
        out.Indent();
      },
      [&](const clsMenu& popup, std::size_t) {
        out.Outdent();
        out.Line("END", popup.Line);
      });
  out.Outdent();
  out.Line("END", Line);
}

std::int32_t clsMenu::LineCount() const {
  std::int32_t count = 3 + OptionStatements.Count();  // header, options, BEGIN, END
  WalkEntries(
      *this, [&](const clsMenuItem&, std::size_t) { ++count; },
      [&](const clsMenu&, std::size_t) { count += 3; }, [](const clsMenu&, std::size_t) {});
  return count;
}

std::int32_t clsMenu::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  WalkEntries(
      *this, [&](const clsMenuItem& item, std::size_t) { total += item.DisplayWordCount(operation); },
      [](const clsMenu&, std::size_t) {}, [](const clsMenu&, std::size_t) {});
  return total;
}

}  // namespace tamrel
