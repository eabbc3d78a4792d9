// FitScript: each dialog is laid out, checked and fitted on a copy of its model; the copy is laid
// out and checked again, so the findings that remain are the check's own on the new numbers.
#include "layout/ScriptFitter.h"

#include <cmath>

#include "dialogs/clsDialog.h"
#include "document/clsRC.h"
#include "layout/PlacementRewriter.h"
#include "layout/TextMeasurer.h"

namespace tamrel {

namespace {

// A dialog is fitted again on its own result while that still has overflows to mend (a static
// that wraps now may need one line more), at most this often.
constexpr int kRounds = 3;

bool Counts(const FitFinding& finding) {
  return finding.kind == FindingKind::Overflow || finding.kind == FindingKind::OutsideDialog;
}

void AddCounted(const std::vector<FitFinding>& findings, std::vector<FitFinding>& out) {
  for (const FitFinding& finding : findings)
    if (Counts(finding)) out.push_back(finding);
}

bool SameRect(const clsControl& control, const clsControl& other) {
  return control.Left == other.Left && control.Top == other.Top && control.Width == other.Width &&
         control.Height == other.Height;
}

}  // namespace

ScriptFit FitScript(const clsRC& rc, std::string_view fileBytes, const FontMap& fonts, const CodePageMap& codePages,
                    const FitOptions& options, std::string_view dialogId) {
  ScriptFit result;
  TextMeasurer measurer;
  DialogLayouter layouter(fonts, measurer);
  layouter.SetCodePages(&codePages);
  PlacementRewriter rewriter(rc, codePages);
  for (const clsDialog& dialog : rc.Dialogs) {
    if (!dialogId.empty() && !(rc.Dialogs.Contains(dialogId) && &rc.Dialogs.Item(dialogId) == &dialog)) continue;
    DialogLayout layout = layouter.Layout(rc, dialog);
    std::vector<FitFinding> findings = CheckDialog(layout);
    for (const FitFinding& finding : findings) result.findingsBefore += Counts(finding) ? 1 : 0;

    // Later rounds keep the limits of the original size.
    FitOptions limits = options;
    const double scale = 1.0 + options.maxGrowthPercent / 100.0;
    if (limits.maxWidth == 0) limits.maxWidth = static_cast<int>(std::min(32767.0, std::floor(dialog.Width * scale + 1e-9)));
    if (limits.maxHeight == 0)
      limits.maxHeight = static_cast<int>(std::min(32767.0, std::floor(dialog.Height * scale + 1e-9)));
    const DialogFitter fitter(limits);
    clsDialog fitted = dialog;
    std::vector<FitChange> changes;
    for (int round = 0; round < kRounds; ++round) {
      const DialogFit fit = fitter.Fit(layout, findings);
      if (!fit.Changed(layout)) break;
      changes.insert(changes.end(), fit.changes.begin(), fit.changes.end());
      fitted.Width = fit.width;
      fitted.Height = fit.height;
      for (std::size_t i = 0; i < fit.rects.size(); ++i) {
        clsControl& control = fitted.Controls.Item(static_cast<std::int32_t>(i + 1));
        control.Left = fit.rects[i].left;
        control.Top = fit.rects[i].top;
        control.Width = fit.rects[i].width;
        control.Height = fit.rects[i].height;
      }
      layout = layouter.Layout(rc, fitted);
      findings = CheckDialog(layout);
    }
    if (changes.empty()) {
      AddCounted(findings, result.remaining);
      continue;
    }

    // Every number to change must be written as a plain number, or the dialog stays as it was.
    const bool resized = fitted.Width != dialog.Width || fitted.Height != dialog.Height;
    std::string unwritable = resized && !rewriter.LocateDialog(dialog) ? "its size" : "";
    for (std::int32_t k = 1; unwritable.empty() && k <= dialog.Controls.Count(); ++k)
      if (!SameRect(dialog.Controls.Item(k), fitted.Controls.Item(k)) && !rewriter.LocateControl(dialog.Controls.Item(k)))
        unwritable = "the placement of " + dialog.Controls.Item(k).ID;
    if (!unwritable.empty()) {
      result.skipped.emplace_back(dialog.Line, dialog.ID + ": " + unwritable +
                                                   " is not written as plain numbers; the dialog is left as it was");
      AddCounted(CheckDialog(layouter.Layout(rc, dialog)), result.remaining);
      continue;
    }
    if (resized) rewriter.SetDialogSize(dialog, fitted.Width, fitted.Height);
    for (std::int32_t k = 1; k <= dialog.Controls.Count(); ++k) {
      const clsControl& now = fitted.Controls.Item(k);
      if (!SameRect(dialog.Controls.Item(k), now))
        rewriter.SetControl(dialog.Controls.Item(k), RectDu{now.Left, now.Top, now.Width, now.Height});
    }
    AddCounted(findings, result.remaining);
    result.changes.insert(result.changes.end(), changes.begin(), changes.end());
  }
  if (rewriter.Empty()) {
    result.bytes = std::string(fileBytes);
    return result;
  }
  result.bytes = rewriter.Rewrite(fileBytes, result.error);
  return result;
}

}  // namespace tamrel
