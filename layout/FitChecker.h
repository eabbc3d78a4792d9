// FitChecker: what a translator breaks in a layout. Texts that do not fit their control or the
// caption bar, two controls of a dialog or two items of a menu level with the same mnemonic, and
// controls lying outside their dialog, and texts that cannot be decoded (so are drawn empty).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "layout/DialogLayout.h"

namespace tamrel {

class clsRC;
class CodePageMap;
class FontMap;

enum class FindingKind { Overflow, DuplicateMnemonic, OutsideDialog, Undecodable };

struct FitFinding {
  FindingKind kind = FindingKind::Overflow;
  int line = 0;               // 1-based script line of the control, caption or menu item
  std::string dialogId;       // dialog or menu ID
  std::string itemId;         // control ID, "CAPTION", the menu item's command ID, or "POPUP"
  std::string text;           // the text as the user sees it (markers removed), UTF-8
  bool height = false;        // Overflow: the height, not the width, is short
  double needDu = 0.0;        // Overflow: what the text needs
  double haveDu = 0.0;        // Overflow: what the control gives it
  double overPercent = 0.0;   // Overflow: (need - have) / have * 100
  // The index into DialogLayout::controls of the control found, or npos for a caption or a menu
  // item. For DuplicateMnemonic the finding is on the second item; `otherIndex` / `otherLine`
  // name the first.
  std::size_t controlIndex = static_cast<std::size_t>(-1);
  std::size_t otherIndex = static_cast<std::size_t>(-1);
  int otherLine = 0;
  // The diagnostic's message without location and severity, e.g.
  // IDD_X/IDOK "Abbrechen" needs 58 du, has 50 (16%)
  std::string message;
};

// The findings of one laid-out dialog, in the order of its controls (caption first).
std::vector<FitFinding> CheckDialog(const DialogLayout& layout);

// Duplicate mnemonics on each level of every menu of the script, its texts read in the code
// pages of its own "#pragma code_page" lines.
std::vector<FitFinding> CheckMenus(const clsRC& rc);
// The same with the texts read in the given code pages.
std::vector<FitFinding> CheckMenus(const clsRC& rc, const CodePageMap& codePages);

// Every dialog laid out with `fonts` (a measurer of its own) and checked, and every menu, the
// texts read in the given code pages; the findings in line order. A font that is not installed
// raises FontError.
std::vector<FitFinding> CheckScript(const clsRC& rc, const FontMap& fonts, const CodePageMap& codePages);

// The code of a finding's kind in diagnostics: "overflow", "duplicate-mnemonic",
// "outside-dialog", "undecodable-text".
std::string_view FindingCode(FindingKind kind) noexcept;

}  // namespace tamrel
