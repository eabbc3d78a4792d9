// DialogFitter: each finding is mended on a working copy of the rectangles, checked against the
// rules (no new overlap, no control out of its group box or out of the dialog, the growth cap)
// and undone when it breaks one. Growth in height runs the same code on the rectangles with
// their axes swapped.
#include "layout/DialogFitter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <unordered_set>
#include <utility>

#include "dialogs/clsDialog.h"

namespace tamrel {

namespace {

constexpr int kMargin = 7;        // the widest margin the dialog's edge is kept at
constexpr int kGap = 2;           // what a growing control leaves before its neighbour
constexpr int kGroupPad = 4;      // what a group box keeps between its frame and its contents
constexpr int kAlignTolerance = 1;
constexpr int kClosedComboBoxDu = 14;  // only the closed part of a combo box takes room
constexpr int kMaxUnits = 32767;       // what a coordinate can hold
constexpr int kTwoLinesDu = 16;        // a line of the dialog's font is 8 vertical units
constexpr std::uint32_t kStaticTypeMask = 0x1F;
constexpr std::uint32_t kSsEllipsisMask = 0xC000;

// A control's rectangle in working axes: `x`/`w` along the growth, `y`/`h` across it.
struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  bool active = false;   // takes part (a control the reader filled, with an area)
  bool group = false;    // a group box
  bool stretch = false;  // follows the dialog's edge by growing rather than moving
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
};

bool Overlap(const Box& a, const Box& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool CrossOverlap(const Box& a, const Box& b) { return a.y < b.Bottom() && b.y < a.Bottom(); }

bool Contains(const Box& outer, const Box& inner) {
  return outer.x <= inner.x && outer.y <= inner.y && outer.Right() >= inner.Right() && outer.Bottom() >= inner.Bottom();
}

// Disjoint, sorted intervals across the growth axis: the rows the moving controls span.
class Band {
 public:
  void Clear() { spans_.clear(); }
  void Add(int from, int to) {
    auto it = std::lower_bound(spans_.begin(), spans_.end(), std::pair{from, from},
                               [](const auto& a, const auto& b) { return a.second < b.first; });
    auto last = it;
    while (last != spans_.end() && last->first <= to) {
      from = std::min(from, last->first);
      to = std::max(to, last->second);
      ++last;
    }
    it = spans_.erase(it, last);
    spans_.insert(it, {from, to});
  }
  bool Overlaps(int from, int to) const {
    auto it = std::upper_bound(spans_.begin(), spans_.end(), from,
                               [](int value, const auto& span) { return value < span.second; });
    return it != spans_.end() && it->first < to;
  }

 private:
  std::vector<std::pair<int, int>> spans_;
};

class Work {
 public:
  Work(const DialogLayout& layout, const FitOptions& options) {
    const std::size_t n = layout.controls.size();
    boxes_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const ControlLayout& laid = layout.controls[i];
      Box& box = boxes_[i];
      box.x = laid.rect.left;
      box.y = laid.rect.top;
      box.w = laid.rect.width;
      box.h = laid.kind == ControlKind::ComboBox ? std::min(laid.rect.height, kClosedComboBoxDu) : laid.rect.height;
      box.active = laid.control->Line != 0 && box.w > 0 && box.h > 0;
      box.group = laid.kind == ControlKind::GroupBox;
      box.stretch = box.group || laid.kind == ControlKind::Edit || laid.kind == ControlKind::ComboBox ||
                    laid.kind == ControlKind::ListBox;
    }
    extent_[0] = layout.rect.width;
    extent_[1] = layout.rect.height;
    original_ = boxes_;
    originalExtent_[0] = extent_[0];
    originalExtent_[1] = extent_[1];

    // Group boxes each control lies in; pairs that overlap already; what was inside the dialog.
    parents_.resize(n);
    for (std::size_t g = 0; g < n; ++g) {
      if (!boxes_[g].active || !boxes_[g].group) continue;
      for (std::size_t i = 0; i < n; ++i)
        if (i != g && boxes_[i].active && Contains(boxes_[g], boxes_[i]) &&
            !(boxes_[i].group && Contains(boxes_[i], boxes_[g])))
          parents_[i].push_back(g);
    }
    ForEachOverlap([&](std::size_t a, std::size_t b) { overlapping_.insert(Key(a, b)); return true; });
    inside_.resize(n);
    for (std::size_t i = 0; i < n; ++i) inside_[i] = InsideDialog(boxes_[i], 0) && InsideDialog(boxes_[i], 1);
    for (int axis = 0; axis < 2; ++axis) {
      int lo = extent_[axis], hi = 0;
      for (const Box& box : boxes_) {
        if (!box.active) continue;
        lo = std::min(lo, axis == 0 ? box.x : box.y);
        hi = std::max(hi, axis == 0 ? box.Right() : box.Bottom());
      }
      marginLo_[axis] = std::clamp(lo, 0, kMargin);
      marginHi_[axis] = std::clamp(extent_[axis] - hi, 0, kMargin);
      farEdge_[axis] = hi;
      const int cap = axis == 0 ? options.maxWidth : options.maxHeight;
      limit_[axis] = cap > 0 ? std::min(cap, kMaxUnits)
                             : static_cast<int>(std::min<double>(
                                   kMaxUnits, std::floor(extent_[axis] * (1.0 + options.maxGrowthPercent / 100.0) + 1e-9)));
    }
    order_.resize(n);
    touched_.resize(n);
  }

  // The caption needs the dialog this wide.
  bool Widen(int width) {
    if (width <= extent_[0]) return true;
    if (width > limit_[0]) return false;
    extent_[0] = width;
    return true;
  }

  // Grows control `i` by `growth` along the axis (0: width, 1: height); false (and nothing
  // changed) when that breaks a rule.
  bool Grow(std::size_t i, int growth, TextAlign align, int axis, int& moved) {
    const std::vector<Box> savedBoxes = boxes_;
    const int savedExtent[2] = {extent_[0], extent_[1]};
    if (axis == 1) Transpose();
    const bool ok = GrowAlong(i, growth, align, axis, moved);
    if (axis == 1) Transpose();
    if (ok && Valid()) return true;
    boxes_ = savedBoxes;
    extent_[0] = savedExtent[0];
    extent_[1] = savedExtent[1];
    moved = 0;
    return false;
  }

  // Controls that were aligned to the dialog's far edge follow it as far as it grew: input
  // boxes and group boxes by growing, the others by moving. So do the controls of the same row
  // and size standing close before them (OK beside Cancel). One that cannot is left.
  void KeepAlignment() {
    for (int axis = 0; axis < 2; ++axis) {
      const int grown = extent_[axis] - originalExtent_[axis];
      if (grown <= 0 || farEdge_[axis] <= 0) continue;
      auto start = [&](const Box& b) { return axis == 0 ? b.x : b.y; };
      auto end = [&](const Box& b) { return axis == 0 ? b.Right() : b.Bottom(); };
      std::vector<std::size_t> order(boxes_.size());
      std::iota(order.begin(), order.end(), 0);
      std::sort(order.begin(), order.end(),
                [&](std::size_t a, std::size_t b) { return end(original_[a]) > end(original_[b]); });
      // The start of the aligned run in each row, keyed by the row's position and size.
      std::map<std::pair<int, int>, int> runStart;
      for (std::size_t i : order) {
        const Box& was = original_[i];
        if (!was.active) continue;
        const std::pair<int, int> row = axis == 0 ? std::pair{was.y, was.h} : std::pair{was.x, was.w};
        auto run = runStart.find(row);
        const bool atEdge = end(was) >= farEdge_[axis] - kAlignTolerance;
        const bool inRun = run != runStart.end() && run->second - end(was) >= 0 && run->second - end(was) <= kMargin;
        if (!atEdge && !inRun) continue;
        if (run == runStart.end()) runStart.emplace(row, start(was));
        else run->second = std::min(run->second, start(was));
        Box& box = boxes_[i];
        const int shift = end(was) + grown - end(box);
        if (shift <= 0) continue;
        const Box saved = box;
        int& position = axis == 0 ? box.x : box.y;
        int& size = axis == 0 ? box.w : box.h;
        (box.stretch && atEdge ? size : position) += shift;
        if (!Valid()) box = saved;
      }
    }
  }

  const Box& At(std::size_t i) const { return boxes_[i]; }
  int Extent(int axis) const { return extent_[axis]; }

 private:
  static std::uint64_t Key(std::size_t a, std::size_t b) {
    if (a > b) std::swap(a, b);
    return (static_cast<std::uint64_t>(a) << 32) | b;
  }

  void Transpose() {
    for (Box& box : boxes_) {
      std::swap(box.x, box.y);
      std::swap(box.w, box.h);
    }
    std::swap(extent_[0], extent_[1]);
  }

  bool InsideDialog(const Box& box, int axis) const {
    return axis == 0 ? box.x >= 0 && box.Right() <= extent_[0] : box.y >= 0 && box.Bottom() <= extent_[1];
  }

  // Calls `pair` for every two active controls that overlap, sweeping in order of left edge;
  // stops when it returns false.
  template <typename F>
  bool ForEachOverlap(F pair) {
    std::vector<std::size_t>& order = order_;
    order.resize(boxes_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return boxes_[a].x < boxes_[b].x; });
    for (std::size_t k = 0; k < order.size(); ++k) {
      const Box& a = boxes_[order[k]];
      if (!a.active) continue;
      for (std::size_t m = k + 1; m < order.size() && boxes_[order[m]].x < a.Right(); ++m)
        if (boxes_[order[m]].active && Overlap(a, boxes_[order[m]]) && !pair(order[k], order[m])) return false;
    }
    return true;
  }

  // The rules, in the dialog's own axes.
  bool Valid() {
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
      const Box& box = boxes_[i];
      if (!box.active) continue;
      if (box.w < original_[i].w || box.h < original_[i].h) return false;
      if (box.Right() > kMaxUnits || box.Bottom() > kMaxUnits) return false;
      if (inside_[i] && !(InsideDialog(box, 0) && InsideDialog(box, 1))) return false;
      for (std::size_t g : parents_[i])
        if (!Contains(boxes_[g], box)) return false;
    }
    return ForEachOverlap([&](std::size_t a, std::size_t b) { return overlapping_.count(Key(a, b)) != 0; });
  }

  bool IsParent(std::size_t i, std::size_t of) const {
    return std::find(parents_[of].begin(), parents_[of].end(), i) != parents_[of].end();
  }

  bool GrowAlong(std::size_t i, int growth, TextAlign align, int axis, int& moved) {
    Box& box = boxes_[i];
    int hiBound = extent_[0] - marginHi_[axis];
    int loBound = marginLo_[axis];
    for (std::size_t g : parents_[i]) {
      const Box& group = boxes_[g];
      hiBound = std::min(hiBound, group.Right() - std::clamp(group.Right() - box.Right(), 0, kGroupPad));
      loBound = std::max(loBound, group.x + std::clamp(box.x - group.x, 0, kGroupPad));
    }
    for (std::size_t j = 0; j < boxes_.size(); ++j) {
      const Box& other = boxes_[j];
      if (j == i || !other.active || !CrossOverlap(box, other) || IsParent(j, i) || IsParent(i, j)) continue;
      if (other.x >= box.Right())
        hiBound = std::min(hiBound, other.x - std::min(kGap, other.x - box.Right()));
      else if (other.Right() <= box.x)
        loBound = std::max(loBound, other.Right() + std::min(kGap, box.x - other.Right()));
    }
    const int freeHi = std::max(0, hiBound - box.Right());
    const int freeLo = std::max(0, box.x - loBound);
    int lo = 0, hi = 0;
    switch (align) {
      case TextAlign::Left: hi = std::min(growth, freeHi); break;
      case TextAlign::Right:
        lo = std::min(growth, freeLo);
        hi = std::min(growth - lo, freeHi);
        break;
      case TextAlign::Center:
        lo = std::min(growth / 2, freeLo);
        hi = std::min(growth - lo, freeHi);
        lo += std::min(growth - lo - hi, freeLo - lo);
        break;
    }
    const int rest = growth - lo - hi;
    const int wasRight = box.Right();
    box.x -= lo;
    box.w += growth;
    if (rest > 0) Push(i, wasRight, rest, moved);
    int far = 0;
    for (const Box& b : boxes_)
      if (b.active) far = std::max(far, b.Right());
    const int needed = std::max(extent_[0], far + marginHi_[axis]);
    if (needed > limit_[axis]) return false;
    extent_[0] = needed;
    return true;
  }

  // Moves right by `rest` every control that starts at or right of `from` on the rows of
  // control `i`, growing the group boxes that hold what moves; the rows grow with what moves.
  void Push(std::size_t i, int from, int rest, int& moved) {
    band_.Clear();
    std::fill(touched_.begin(), touched_.end(), false);
    touched_[i] = true;
    band_.Add(boxes_[i].y, boxes_[i].Bottom());
    auto growGroup = [&](std::size_t g) {
      if (touched_[g]) return;
      touched_[g] = true;
      boxes_[g].w += rest;
      band_.Add(boxes_[g].y, boxes_[g].Bottom());
      ++moved;
    };
    for (std::size_t g : parents_[i]) growGroup(g);
    std::vector<std::size_t>& order = order_;
    order.resize(boxes_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return boxes_[a].x != boxes_[b].x ? boxes_[a].x < boxes_[b].x : boxes_[a].group > boxes_[b].group;
    });
    for (std::size_t j : order) {
      Box& other = boxes_[j];
      if (touched_[j] || !other.active || other.x < from || !band_.Overlaps(other.y, other.Bottom())) continue;
      touched_[j] = true;
      other.x += rest;
      band_.Add(other.y, other.Bottom());
      ++moved;
      for (std::size_t g : parents_[j]) growGroup(g);
    }
  }

  std::vector<Box> boxes_, original_;
  std::vector<std::vector<std::size_t>> parents_;
  std::unordered_set<std::uint64_t> overlapping_;
  std::vector<bool> inside_;
  int extent_[2] = {0, 0};
  int originalExtent_[2] = {0, 0};
  int marginLo_[2] = {0, 0}, marginHi_[2] = {0, 0}, farEdge_[2] = {0, 0}, limit_[2] = {0, 0};
  std::vector<std::size_t> order_;
  std::vector<bool> touched_;
  Band band_;
};

std::string Change(const FitChange& change) {
  std::string message = change.dialogId + "/" + change.itemId + ":";
  if (change.itemId != "CAPTION")
    message += std::string(change.height ? " height " : " width ") + std::to_string(change.before) + " \xE2\x86\x92 " +
               std::to_string(change.after) + " du";
  if (change.moved > 0)
    message += std::string(message.back() == ':' ? "" : ";") + " moved " + std::to_string(change.moved) + " control" +
               (change.moved == 1 ? "" : "s");
  if (change.dialogAfter != change.dialogBefore)
    message += std::string(message.back() == ':' ? "" : ";") + " dialog " + std::to_string(change.dialogBefore) +
               " \xE2\x86\x92 " + std::to_string(change.dialogAfter) + " du" + (change.height ? " high" : "");
  return message;
}

int WholeUnits(double du) { return static_cast<int>(std::ceil(du - 1e-9)); }

// A static drawn on one line that wraps its text once it is two lines high.
bool CanWrap(const ControlLayout& laid) {
  if (laid.kind != ControlKind::Static || laid.text.wrapped) return false;
  const std::uint32_t bits = ControlStyleBits(*laid.control);
  const std::uint32_t type = bits & kStaticTypeMask;
  return type != 0xB && type != 0xC && (bits & kSsEllipsisMask) == 0 && laid.text.text.find(' ') != std::string::npos;
}

// The height a one-line static needs to show its text wrapped at its width: as many lines as the
// text is wider than the control (words that do not break evenly may need one more, which the
// check on the result finds).
int WrappedHeight(const DialogLayout& layout, const ControlLayout& laid) {
  const double lines = std::ceil(laid.needWidthDu / std::max(1.0, laid.haveWidthDu) - 1e-9);
  const double lineDu = laid.text.lineHeightPx / layout.pxPerDuY;
  return std::max(kTwoLinesDu, WholeUnits(lines * std::max(lineDu, 8.0)));
}

}  // namespace

bool DialogFit::Changed(const DialogLayout& layout) const {
  if (width != layout.rect.width || height != layout.rect.height) return true;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const RectDu& a = rects[i];
    const RectDu& b = layout.controls[i].rect;
    if (a.left != b.left || a.top != b.top || a.width != b.width || a.height != b.height) return true;
  }
  return false;
}

DialogFit DialogFitter::Fit(const DialogLayout& layout, const std::vector<FitFinding>& findings) const {
  DialogFit fit;
  Work work(layout, options_);
  const std::string& dialogId = layout.dialog->ID;
  // Widths first (the caption, then the controls), then heights: a wider static may need fewer lines.
  std::vector<const FitFinding*> ordered;
  for (const FitFinding& finding : findings)
    if (finding.kind == FindingKind::Overflow && !finding.height) ordered.push_back(&finding);
  for (const FitFinding& finding : findings)
    if (finding.kind == FindingKind::Overflow && finding.height) ordered.push_back(&finding);

  for (const FitFinding* finding : ordered) {
    FitChange change;
    change.line = finding->line;
    change.dialogId = dialogId;
    change.itemId = finding->itemId;
    change.height = finding->height;
    int axis = finding->height ? 1 : 0;
    change.dialogBefore = work.Extent(axis);
    bool mended = false;
    if (finding->controlIndex >= layout.controls.size()) {
      mended = work.Widen(WholeUnits(finding->needDu));
    } else {
      const std::size_t i = finding->controlIndex;
      change.before = axis == 0 ? work.At(i).w : work.At(i).h;
      const int growth = WholeUnits(finding->needDu) - change.before;
      const TextAlign align = axis == 0 ? layout.controls[i].align : TextAlign::Left;
      mended = growth <= 0 || work.Grow(i, growth, align, axis, change.moved);
      if (!mended && axis == 0 && CanWrap(layout.controls[i])) {
        // Too wide for the room there is: the text wraps in a taller control instead.
        change.height = true;
        change.before = work.At(i).h;
        change.dialogBefore = work.Extent(1);
        axis = 1;
        mended = work.Grow(i, WrappedHeight(layout, layout.controls[i]) - change.before, TextAlign::Left, 1,
                           change.moved);
      }
      change.after = axis == 0 ? work.At(i).w : work.At(i).h;
    }
    if (!mended) {
      fit.unfixed.push_back(*finding);
      continue;
    }
    change.dialogAfter = work.Extent(axis);
    change.message = Change(change);
    fit.changes.push_back(std::move(change));
  }
  work.KeepAlignment();

  fit.width = work.Extent(0);
  fit.height = work.Extent(1);
  fit.rects.reserve(layout.controls.size());
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const RectDu& was = layout.controls[i].rect;
    const Box& box = work.At(i);
    // A combo box keeps its drop-down height; only its closed part took part in the fitting.
    const int height = layout.controls[i].kind == ControlKind::ComboBox
                           ? was.height + box.h - std::min(was.height, kClosedComboBoxDu)
                           : box.h;
    fit.rects.push_back(box.active ? RectDu{box.x, box.y, box.w, height} : was);
  }
  return fit;
}

}  // namespace tamrel
