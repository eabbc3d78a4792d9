// FitScript: each dialog is laid out, checked and fitted; a fitted copy of its model is laid out
// and checked again, so the findings that remain are the check's own on the new numbers.
#include "layout/ScriptFitter.h"

#include "dialogs/clsDialog.h"
#include "document/clsRC.h"
#include "layout/PlacementRewriter.h"
#include "layout/TextMeasurer.h"

namespace tamrel {

namespace {

bool Counts(const FitFinding& finding) {
  return finding.kind == FindingKind::Overflow || finding.kind == FindingKind::OutsideDialog;
}

void AddCounted(const std::vector<FitFinding>& findings, std::vector<FitFinding>& out) {
  for (const FitFinding& finding : findings)
    if (Counts(finding)) out.push_back(finding);
}

}  // namespace

ScriptFit FitScript(const clsRC& rc, std::string_view fileBytes, const FontMap& fonts, const CodePageMap& codePages,
                    const FitOptions& options, std::string_view dialogId) {
  ScriptFit result;
  TextMeasurer measurer;
  DialogLayouter layouter(fonts, measurer);
  layouter.SetCodePages(&codePages);
  const DialogFitter fitter(options);
  PlacementRewriter rewriter(rc, codePages);
  for (const clsDialog& dialog : rc.Dialogs) {
    if (!dialogId.empty() && !(rc.Dialogs.Contains(dialogId) && &rc.Dialogs.Item(dialogId) == &dialog)) continue;
    const DialogLayout layout = layouter.Layout(rc, dialog);
    const std::vector<FitFinding> findings = CheckDialog(layout);
    for (const FitFinding& finding : findings) result.findingsBefore += Counts(finding) ? 1 : 0;
    const DialogFit fit = fitter.Fit(layout, findings);
    if (!fit.Changed(layout)) {
      AddCounted(findings, result.remaining);
      continue;
    }
    // Every number to change must be written as a plain number, or the dialog stays as it was.
    const bool resized = fit.width != dialog.Width || fit.height != dialog.Height;
    std::vector<std::size_t> moved;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
      const RectDu& was = layout.controls[i].rect;
      const RectDu& now = fit.rects[i];
      if (was.left != now.left || was.top != now.top || was.width != now.width || was.height != now.height)
        moved.push_back(i);
    }
    std::string unwritable = resized && !rewriter.LocateDialog(dialog) ? "its size" : "";
    for (std::size_t i : moved)
      if (unwritable.empty() && !rewriter.LocateControl(*layout.controls[i].control))
        unwritable = "the placement of " + layout.controls[i].control->ID;
    if (!unwritable.empty()) {
      result.skipped.emplace_back(dialog.Line, dialog.ID + ": " + unwritable +
                                                   " is not written as plain numbers; the dialog is left as it was");
      AddCounted(findings, result.remaining);
      continue;
    }
    if (resized) rewriter.SetDialogSize(dialog, fit.width, fit.height);
    clsDialog fitted = dialog;
    fitted.Width = fit.width;
    fitted.Height = fit.height;
    for (std::size_t i : moved) {
      const RectDu& rect = fit.rects[i];
      rewriter.SetControl(*layout.controls[i].control, rect);
      clsControl& control = fitted.Controls.Item(static_cast<std::int32_t>(i + 1));
      control.Left = rect.left;
      control.Top = rect.top;
      control.Width = rect.width;
      control.Height = rect.height;
    }
    AddCounted(CheckDialog(layouter.Layout(rc, fitted)), result.remaining);
    result.changes.insert(result.changes.end(), fit.changes.begin(), fit.changes.end());
  }
  if (rewriter.Empty()) {
    result.bytes = std::string(fileBytes);
    return result;
  }
  result.bytes = rewriter.Rewrite(fileBytes, result.error);
  return result;
}

}  // namespace tamrel
