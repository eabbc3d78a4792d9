// DialogFitter: new places and sizes for the controls of a laid-out dialog, and a new size for
// the dialog, so that the texts the fit check found clipped fit.
//
// A control grows toward its free side (right for left-aligned text, left for right-aligned,
// both for centred), where free means no other control's rectangle in the way and inside the
// dialog with its margin. What it cannot take there it takes on its right: the controls to its
// right on the same rows move right by as much, the group boxes it lies in grow with it, and
// the dialog grows as far as the moved controls need. Controls aligned to the dialog's right
// edge keep that alignment. A wrapped static that is too short grows downward in the same way
// (what lies below it in its column moves down); a one-line static that cannot grow wide enough
// grows to as many lines as its text needs at its width, and wraps. A caption that does not fit
// widens the dialog.
//
// Nothing shrinks, no two controls come to overlap that did not overlap before, no control
// leaves a group box it lay in, and the dialog grows by at most the allowed share: a change
// that would break one of these is not made and its finding stays.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "layout/DialogLayout.h"
#include "layout/FitChecker.h"

namespace tamrel {

struct FitOptions {
  double maxGrowthPercent = 50.0;  // how much wider and taller the dialog may become
  // The largest width and height the dialog may reach, in dialog units, in place of the percent
  // when not 0 (a dialog fitted again keeps the limits of its original size).
  int maxWidth = 0;
  int maxHeight = 0;
};

// One finding mended: which control, how it changed and what moved with it.
struct FitChange {
  int line = 0;             // the control's (or the caption's) script line
  std::string dialogId;
  std::string itemId;       // control ID, or "CAPTION"
  bool height = false;      // the height grew, not the width
  int before = 0;           // the control's width (height) before, in dialog units
  int after = 0;            // and after
  int moved = 0;            // other controls moved (or stretched) for it
  int dialogBefore = 0;     // the dialog's width (height) before this change
  int dialogAfter = 0;
  // IDD_FIND/IDOK: width 50 → 64 du; moved 3 controls; dialog 186 → 200 du
  std::string message;
};

struct DialogFit {
  std::vector<RectDu> rects;       // the controls' new rectangles, parallel to DialogLayout::controls
  int width = 0;                   // the dialog's new size
  int height = 0;
  std::vector<FitChange> changes;  // in the order the findings were mended
  std::vector<FitFinding> unfixed; // overflow findings no change could mend within the rules

  bool Changed(const DialogLayout& layout) const;
};

class DialogFitter {
 public:
  explicit DialogFitter(FitOptions options = {}) : options_(options) {}

  // Mends the overflow findings of `findings` (CheckDialog of `layout`); other kinds pass by.
  // Time is linear in the number of controls for each finding mended.
  DialogFit Fit(const DialogLayout& layout, const std::vector<FitFinding>& findings) const;

 private:
  FitOptions options_;
};

}  // namespace tamrel
