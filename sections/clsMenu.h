// clsMenu: a MENU resource or one of its POPUP submenus, with its items and popups in file
// order. MenuEntry is one child of a menu: a clsMenuItem or a nested clsMenu.
//
// Menus nest as deep as a script can hold (thousands of levels), so every walk over a tree
// (writing, counting, copying, destroying) keeps its own stack instead of recursing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"
#include "sections/clsMenuItem.h"

namespace tamrel {

class clsMenu;

// One child of a menu or popup: a menu item or a popup. It is a value: copying an entry copies
// the popup's whole tree. It always holds one of the two (a default or moved-from entry holds
// an empty menu item), and both kinds answer PrintLines and DisplayWordCount alike.
class MenuEntry {
 public:
  MenuEntry() noexcept;
  MenuEntry(clsMenuItem item) noexcept;  // NOLINT: implicit, so Items.Add(item) reads naturally
  MenuEntry(clsMenu popup);              // NOLINT: implicit, so Items.Add(popup) reads naturally
  MenuEntry(const MenuEntry& other);
  MenuEntry(MenuEntry&& other) noexcept;
  MenuEntry& operator=(const MenuEntry& other);
  MenuEntry& operator=(MenuEntry&& other) noexcept;
  ~MenuEntry();

  bool IsPopup() const noexcept { return value_.index() == 1; }

  // The entry as what it holds; asking an entry for the other kind raises error 13.
  clsMenuItem& MenuItem();
  const clsMenuItem& MenuItem() const;
  clsMenu& Popup();
  const clsMenu& Popup() const;

  // Calls f with the clsMenuItem or the clsMenu the entry holds and returns its result.
  template <class F>
  decltype(auto) Visit(F&& f);
  template <class F>
  decltype(auto) Visit(F&& f) const;

  LineCollection PrintLines() const;
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

 private:
  friend class clsMenu;
  explicit MenuEntry(std::unique_ptr<clsMenu> popup) noexcept;
  // Takes the popup out, leaving an empty menu item; null when the entry holds an item.
  std::unique_ptr<clsMenu> ReleasePopup() noexcept;

  std::variant<clsMenuItem, std::unique_ptr<clsMenu>> value_;  // the pointer is never null
};

class clsMenu {
 public:
  std::string ID;           // the resource identifier; a popup carries its menu's
  std::string Disposition;  // a MENU resource's memory option (token 3 of its header)
  std::string ItemType;     // "MENU", or "POPUP" for a popup
  std::string Text;         // a popup's caption with its quotes
  std::string Map;          // "POPUP"
  Collection<MenuEntry> Items;
  Int16 Line;
  // Read relaxed: the LANGUAGE in force where it stands ("LANG_X, SUBLANG_Y"), empty when none.
  std::string SectionLanguage;
  // Read relaxed, a MENU or MENUEX resource's LANGUAGE, VERSION and CHARACTERISTICS statements
  // between the header and BEGIN, as written; written back in that place.
  LineCollection OptionStatements;
  Int16 RelIndex;           // 1 for a MENU resource; a popup's position in its parent's Items
  // A popup's options joined by ", "; set by relaxed reading only and written behind Text.
  std::string Options;
  // A MENUEX resource (ItemType "MENUEX") or a popup inside one; set by relaxed reading only.
  // A popup of one holds its ID, type, state and help ID as written, and is written as
  // "POPUP Text, PopupID, Type, State, HelpID", the arguments after the last one that is not
  // empty left out.
  bool Extended = false;
  std::string PopupID;
  std::string Type;
  std::string State;
  std::string HelpID;

  clsMenu() = default;
  clsMenu(const clsMenu& other);
  clsMenu(clsMenu&& other) noexcept = default;
  clsMenu& operator=(const clsMenu& other);
  clsMenu& operator=(clsMenu&& other) noexcept = default;
  ~clsMenu();

  // The menu as script lines: its header ("ID MENU Disposition" for a MENU resource, "ID MENUEX
  // Disposition" for a MENUEX one,
  // "POPUP Text" otherwise), "BEGIN", every child's lines behind one more tab, "END".
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives, counted without writing them.
  std::int32_t LineCount() const;

  // The sum of the counts of every menu item below this menu, popups included; the captions of
  // the menu and its popups are not counted. A missing operation is passed on as 0.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;

 private:
  struct HeaderOnly {};
  clsMenu(HeaderOnly, const clsMenu& other);  // copies everything but Items
};

template <class F>
decltype(auto) MenuEntry::Visit(F&& f) {
  return IsPopup() ? std::forward<F>(f)(Popup()) : std::forward<F>(f)(MenuItem());
}

template <class F>
decltype(auto) MenuEntry::Visit(F&& f) const {
  return IsPopup() ? std::forward<F>(f)(Popup()) : std::forward<F>(f)(MenuItem());
}

}  // namespace tamrel
