// TqlTreeListGeometry's scrolling bookkeeping: how many rows a page holds, the ranges of the
// host window's scroll bars, the top row and the left offset, and dropping scroll bars that
// are not needed.
//
// Vertical bar: one unit per row (position = row index of the top node, page = rows that fit
// completely). Horizontal bar: one unit per pixel of the scrollable bands.
#include <algorithm>
#include <vector>

#include "platform/ui/scroll_bar_geometry.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_geometry.h"
#include "treelist/treelist_node.h"

namespace {

bool sameBar(const TScrollInfo& a, const TScrollInfo& b) {
  return a.Min == b.Min && a.Max == b.Max && a.Page == b.Page && a.Pos == b.Pos &&
         a.Visible == b.Visible;
}

}  // namespace

// Height of the rows area: the client less every panel above and below the rows.
int TqlTreeListGeometry::rowsAreaHeight() const {
  const TqlTreeListMetrics& m = metrics_;
  int used = m.GroupAreaHeight + m.BandPanelHeight + m.HeaderPanelHeight + m.NewItemAreaHeight +
             m.FooterPanelHeight + m.StatusPanelHeight;
  return std::max(0, host_.ClientHeight() - used);
}

// Walks down from the top node; when the nodes run out before the area is full the walk goes
// on upwards from the row above the top node, so the counts say what one page can hold.
void TqlTreeListGeometry::ComputeRowCounts() {
  const int area = rowsAreaHeight();
  int full = 0, part = 0, sum = 0;
  bool filled = false;
  auto take = [&](TqlTreeListNode* node) {
    sum += NodeRowHeight(node, true);
    ++part;
    if (sum <= area) ++full;
    else filled = true;
  };
  TqlTreeListNode* const top = host_.TopNode();
  for (TqlTreeListNode* n = top; n && !filled; n = n->GetNextVisible()) take(n);
  if (!filled && top)
    for (TqlTreeListNode* n = top->GetPrevVisible(); n && !filled; n = n->GetPrevVisible())
      take(n);
  metrics_.FullRowCount = std::max(1, full);
  metrics_.PartRowCount = std::max(1, part);
}

void TqlTreeListGeometry::UpdateScrollBars() {
  const TScrollStyle bars = host_.ScrollBars();
  const bool vertical = bars == ssVertical || bars == ssBoth;
  const bool horizontal = bars == ssHorizontal || bars == ssBoth;
  // Twice: showing one bar takes room from the other's direction.
  for (int pass = 0; pass < 2; ++pass) {
    ComputeRowCounts();
    TScrollInfo v = host_.GetScrollInfo(sbVertical);
    const int shown = host_.ShownRowCount();
    v.Min = 0;
    v.Max = metrics_.FullRowCount >= shown ? 0 : shown - 1;
    v.Page = metrics_.FullRowCount;
    v.Pos = std::max(0, host_.TopRowIndex());
    v.Visible = vertical && v.Max > 0;
    if (!sameBar(v, host_.GetScrollInfo(sbVertical))) host_.SetScrollInfo(sbVertical, v);

    TScrollInfo h = host_.GetScrollInfo(sbHorizontal);
    const int scrollable = ScrollableWidth();
    const int visible = VisibleScrollWidth();
    h.Min = 0;
    h.Max = visible >= scrollable ? 0 : scrollable - 1;
    h.Page = visible;
    h.Pos = leftCoord_;
    h.Visible = horizontal && h.Max > 0;
    if (!sameBar(h, host_.GetScrollInfo(sbHorizontal))) host_.SetScrollInfo(sbHorizontal, h);
  }
}

void TqlTreeListGeometry::FitScrollBars() {
  UpdateScrollBars();
  KeepScrollPositionsInRange();
  DropSuperfluousScrollBars();
}

// The moves go through the host's setters, which hide the in-place editor first.
void TqlTreeListGeometry::KeepScrollPositionsInRange() {
  const std::vector<TqlTreeListNode*>& roots = host_.Roots();
  if (!host_.TopNode() && !roots.empty()) host_.PlaceTopNode(roots.front());
  const int shown = host_.ShownRowCount();
  if (shown > 0 && host_.TopNode()) {
    const int lastTop = LastPageTopRowIndex(shown - 1);
    if (host_.TopRowIndex() > lastTop) host_.SetTopRowIndex(lastTop);
  }
  const int maxLeft = std::max(0, ScrollableWidth() - VisibleScrollWidth());
  if (leftCoord_ > maxLeft) host_.SetLeftCoord(maxLeft);
}

// Both bars shown although the rows and the bands would fit in the room the bars take: the
// bars go. All rows must fit (not only those from the top node), else rows above the top
// could no longer be scrolled to.
void TqlTreeListGeometry::DropSuperfluousScrollBars() {
  if (!host_.GetScrollInfo(sbVertical).Visible || !host_.GetScrollInfo(sbHorizontal).Visible)
    return;
  const int area = rowsAreaHeight() + kScrollBarSize;
  int sum = 0;
  for (TqlTreeListNode* n = host_.FirstShownNode(); n; n = n->GetNextVisible()) {
    sum += NodeRowHeight(n, true);
    if (sum > area) return;
  }
  if (VisibleScrollWidth() + kScrollBarSize < ScrollableWidth()) return;
  host_.ShowScrollBar(sbVertical, false);
  host_.ShowScrollBar(sbHorizontal, false);
  host_.Invalidate();
  // Without bars everything shows from the first row and the first pixel.
  const std::vector<TqlTreeListNode*>& roots = host_.Roots();
  if (!roots.empty() && host_.TopNode() != roots.front()) {
    host_.PlaceTopNode(roots.front());
    if (host_.OnChangeTopVisibleNode) host_.OnChangeTopVisibleNode(&host_);
  }
  if (leftCoord_ != 0) {
    leftCoord_ = 0;
    if (host_.OnChangeLeftCoord) host_.OnChangeLeftCoord(&host_);
  }
  ComputeRowCounts();
}

// The platform has no window-content scrolling, so a changed offset repaints the client area
// (what scrolling the content and repainting the uncovered strip would show).
void TqlTreeListGeometry::SetLeftCoord(int value) {
  const int maxLeft = std::max(0, ScrollableWidth() - VisibleScrollWidth());
  value = std::clamp(value, 0, maxLeft);
  if (value == leftCoord_) return;
  leftCoord_ = value;
  if (host_.LockUpdate() == 0 && !recalculating_) UpdateScrollBars();
  if (host_.LockUpdate() == 0) host_.Invalidate();
  if (host_.OnChangeLeftCoord) host_.OnChangeLeftCoord(&host_);
}

// The top row stops where the last page is full (row heights may differ, so the last page's
// top is found by adding heights up from the last row).
void TqlTreeListGeometry::SetTopRowIndex(int rowIndex) {
  const int shown = host_.ShownRowCount();
  if (shown < 2) return;
  rowIndex = std::clamp(rowIndex, 0, std::max(0, LastPageTopRowIndex(shown - 1)));
  TqlTreeListNode* node = host_.NodeAtRowIndex(rowIndex);
  if (!node || node == host_.TopNode()) return;
  host_.PlaceTopNode(node);
  if (host_.OnChangeTopVisibleNode) host_.OnChangeTopVisibleNode(&host_);
  if (host_.LockUpdate() == 0 && !recalculating_) UpdateScrollBars();
  if (host_.LockUpdate() == 0) host_.Invalidate();
}

// The top row that shows row n as the last whole row: as many rows above n as fit.
int TqlTreeListGeometry::LastPageTopRowIndex(int rowIndex) const {
  const int area = rowsAreaHeight();
  TqlTreeListNode* node = host_.NodeAtRowIndex(rowIndex);
  if (!node) return std::max(0, rowIndex - metrics_.FullRowCount + 1);
  int sum = 0, top = rowIndex + 1;
  for (TqlTreeListNode* n = node; n; n = n->GetPrevVisible()) {
    sum += NodeRowHeight(n, true);
    if (sum > area) return std::min(top, rowIndex);  // a row taller than the area stays on top
    --top;
  }
  return 0;  // every row up to n fits
}
