// FitChecker: compares what each text needs with what its control gives, finds mnemonics used
// twice within a dialog or a menu level, and controls that lie outside their dialog.
#include "layout/FitChecker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "common/Utf8Text.h"
#include "dialogs/clsDialog.h"
#include "document/clsRC.h"
#include "layout/TextMeasurer.h"
#include "sections/clsMenu.h"
#include "translation/UnitExtractor.h"

namespace tamrel {

namespace {

// A closed combo box is about this high however tall its drop-down list is; only that part must
// lie inside the dialog.
constexpr int kClosedComboBoxDu = 14;

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else out.push_back(c);
  }
  out += '"';
  return out;
}

std::string Character(char32_t c) {
  std::string out = "'";
  AppendUtf8(static_cast<std::uint32_t>(c), out);
  return out + "'";
}

// A whole number of any size (a text can be far wider than an int holds).
std::string Number(double value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.0f", value);
  return buffer;
}

// A finding of the kind on the item `itemId` of `dialogId` at the line.
FitFinding Found(FindingKind kind, std::string dialogId, std::string itemId, int line) {
  FitFinding finding;
  finding.kind = kind;
  finding.line = line;
  finding.dialogId = std::move(dialogId);
  finding.itemId = std::move(itemId);
  return finding;
}

FitFinding Overflow(std::string dialogId, std::string itemId, int line, const std::string& text, bool height,
                    double need, double have) {
  FitFinding finding = Found(FindingKind::Overflow, std::move(dialogId), std::move(itemId), line);
  finding.text = text;
  finding.height = height;
  finding.needDu = need;
  finding.haveDu = have;
  finding.overPercent = have > 0 ? (need - have) / have * 100.0 : 100.0;
  // Whole dialog units, rounded up: the size the control would need to show the text.
  const double needWhole = std::ceil(need - 1e-9);
  const double percent = std::ceil(finding.overPercent - 1e-9);
  finding.message = finding.dialogId + "/" + finding.itemId + " " + Quoted(text) + " needs " + Number(needWhole) +
                    " du" + (height ? " of height" : "") + ", has " + Number(have) + " (" +
                    Number(std::max(1.0, percent)) + "%)";
  return finding;
}

// A text that could not be read: bytes outside ASCII with no code page to read them in, or an
// escape that does not decode. It would be drawn and measured empty, so it is named instead.
FitFinding Undecodable(std::string dialogId, std::string itemId, int line, std::size_t index) {
  FitFinding finding = Found(FindingKind::Undecodable, std::move(dialogId), std::move(itemId), line);
  finding.controlIndex = index;
  finding.message = finding.dialogId + "/" + finding.itemId +
                    " has a text that cannot be decoded (bytes outside ASCII and no code page for them); "
                    "it is not measured";
  return finding;
}

// Items that carry one mnemonic each, and the first item that took each letter.
class MnemonicScope {
 public:
  // A finding when `mnemonic` was taken before in the scope.
  bool Add(char32_t mnemonic, std::size_t index, int line, const std::string& id, const std::string& text,
           FitFinding& finding, const std::string& scopeId) {
    if (mnemonic == 0) return false;
    auto [first, added] = taken_.try_emplace(mnemonic, Taken{index, line, id, text});
    if (added) return false;
    finding = FitFinding{};
    finding.kind = FindingKind::DuplicateMnemonic;
    finding.line = line;
    finding.dialogId = scopeId;
    finding.itemId = id;
    finding.text = text;
    finding.controlIndex = index;
    finding.otherIndex = first->second.index;
    finding.otherLine = first->second.line;
    finding.message = scopeId + "/" + id + " " + Quoted(text) + " has the mnemonic " + Character(mnemonic) +
                      " of " + first->second.id + " " + Quoted(first->second.text) + " (line " +
                      std::to_string(first->second.line) + ")";
    return true;
  }

 private:
  struct Taken {
    std::size_t index;
    int line;
    std::string id;
    std::string text;
  };
  std::unordered_map<char32_t, Taken> taken_;
};

}  // namespace

std::vector<FitFinding> CheckDialog(const DialogLayout& layout) {
  std::vector<FitFinding> findings;
  const clsDialog& dialog = *layout.dialog;

  if (!layout.caption.decoded)
    findings.push_back(Undecodable(dialog.ID, "CAPTION", dialog.Caption.Line, static_cast<std::size_t>(-1)));
  if (layout.captionHaveDu > 0 || layout.captionNeedDu > 0) {
    if (layout.captionNeedDu > layout.captionHaveDu)
      findings.push_back(Overflow(dialog.ID, "CAPTION", dialog.Caption.Line, layout.caption.text, false,
                                  layout.captionNeedDu, layout.captionHaveDu));
  }

  MnemonicScope mnemonics;
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlLayout& laid = layout.controls[i];
    const clsControl& control = *laid.control;
    if (control.Line == 0) continue;  // a statement the reader did not fill

    if (!laid.text.decoded) findings.push_back(Undecodable(dialog.ID, control.ID, control.Line, i));
    if (laid.hasText) {
      if (laid.needWidthDu > laid.haveWidthDu + 1e-9) {
        FitFinding finding = Overflow(dialog.ID, control.ID, control.Line, laid.text.text, false, laid.needWidthDu,
                                      laid.haveWidthDu);
        finding.controlIndex = i;
        findings.push_back(std::move(finding));
      } else if (laid.text.wrapped && laid.needHeightDu > laid.haveHeightDu + 1e-9) {
        FitFinding finding = Overflow(dialog.ID, control.ID, control.Line, laid.text.text, true, laid.needHeightDu,
                                      laid.haveHeightDu);
        finding.controlIndex = i;
        findings.push_back(std::move(finding));
      }
      FitFinding duplicate;
      if (mnemonics.Add(laid.text.mnemonic, i, control.Line, control.ID, laid.text.text, duplicate, dialog.ID))
        findings.push_back(std::move(duplicate));
    }

    const int height = laid.kind == ControlKind::ComboBox ? std::min<int>(laid.rect.height, kClosedComboBoxDu)
                                                          : laid.rect.height;
    if (laid.rect.left < 0 || laid.rect.top < 0 || laid.rect.left + laid.rect.width > layout.rect.width ||
        laid.rect.top + height > layout.rect.height) {
      FitFinding finding;
      finding.kind = FindingKind::OutsideDialog;
      finding.line = control.Line;
      finding.dialogId = dialog.ID;
      finding.itemId = control.ID;
      finding.text = laid.text.text;
      finding.controlIndex = i;
      finding.message = dialog.ID + "/" + control.ID + " at " + std::to_string(laid.rect.left) + ", " +
                        std::to_string(laid.rect.top) + ", " + std::to_string(laid.rect.width) + ", " +
                        std::to_string(height) + " lies outside the dialog (" + std::to_string(layout.rect.width) +
                        " x " + std::to_string(layout.rect.height) + ")";
      findings.push_back(std::move(finding));
    }
  }
  return findings;
}

std::vector<FitFinding> CheckMenus(const clsRC& rc) {
  const CodePageMap codePages(rc.Lines, kNoCodePage, false);
  return CheckMenus(rc, codePages);
}

std::vector<FitFinding> CheckMenus(const clsRC& rc, const CodePageMap& codePages) {
  std::vector<FitFinding> findings;
  CodePageConverter converter;
  std::string utf8;
  // Menus nest deeply: walk them with a stack of levels, never by recursion.
  for (const clsMenu& menu : rc.Menus) {
    std::vector<const clsMenu*> levels{&menu};
    while (!levels.empty()) {
      const clsMenu* level = levels.back();
      levels.pop_back();
      MnemonicScope mnemonics;
      std::size_t index = 0;
      for (const MenuEntry& entry : level->Items) {
        const std::string& written = entry.IsPopup() ? entry.Popup().Text : entry.MenuItem().Text;
        const int line = entry.IsPopup() ? entry.Popup().Line : entry.MenuItem().Line;
        if (entry.IsPopup()) levels.push_back(&entry.Popup());
        ++index;
        if (written == "SEPARATOR" || written.empty()) continue;
        const std::string id = entry.IsPopup() ? std::string("POPUP") : entry.MenuItem().Map;
        if (!DecodeModelText(written, LineCodePage(rc, codePages, line), converter, utf8)) {
          findings.push_back(Undecodable(menu.ID, id, line, static_cast<std::size_t>(-1)));
          continue;
        }
        // The mnemonic is in the part before the tab that starts the shortcut text.
        const std::string_view label = std::string_view(utf8).substr(0, utf8.find('\t'));
        char32_t mnemonic = 0;
        const std::string shown = StripMnemonic(label, mnemonic);
        FitFinding duplicate;
        if (mnemonics.Add(mnemonic, static_cast<std::size_t>(-1), line, id, shown, duplicate, menu.ID)) {
          duplicate.controlIndex = duplicate.otherIndex = static_cast<std::size_t>(-1);
          findings.push_back(std::move(duplicate));
        }
      }
    }
  }
  return findings;
}

std::vector<FitFinding> CheckScript(const clsRC& rc, const FontMap& fonts, const CodePageMap& codePages) {
  TextMeasurer measurer;
  DialogLayouter layouter(fonts, measurer);
  layouter.SetCodePages(&codePages);
  std::vector<FitFinding> findings;
  for (const clsDialog& dialog : rc.Dialogs) {
    std::vector<FitFinding> found = CheckDialog(layouter.Layout(rc, dialog));
    std::move(found.begin(), found.end(), std::back_inserter(findings));
  }
  std::vector<FitFinding> menus = CheckMenus(rc, codePages);
  std::move(menus.begin(), menus.end(), std::back_inserter(findings));
  std::stable_sort(findings.begin(), findings.end(),
                   [](const FitFinding& a, const FitFinding& b) { return a.line < b.line; });
  return findings;
}

std::string_view FindingCode(FindingKind kind) noexcept {
  switch (kind) {
    case FindingKind::Overflow: return "overflow";
    case FindingKind::DuplicateMnemonic: return "duplicate-mnemonic";
    case FindingKind::OutsideDialog: return "outside-dialog";
    case FindingKind::Undecodable: return "undecodable-text";
  }
  return "";
}

}  // namespace tamrel
