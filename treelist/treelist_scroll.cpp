// Scrolling bookkeeping: how many rows a page holds, the ranges of the window's scroll bars,
// the top row and the left offset, and dropping scroll bars that are not needed.
//
// Vertical bar: one unit per row (position = row index of the top node, page = rows that fit
// completely). Horizontal bar: one unit per pixel of the scrollable bands.
#include <algorithm>

#include "platform/ui/scroll_bar_geometry.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

// Height of the rows area: the client less every panel above and below the rows.
int rowsAreaHeight(const TCustomqlTreeList& t) {
  const TqlTreeListMetrics& m = t.Metrics();
  int used = m.GroupAreaHeight + m.BandPanelHeight + m.HeaderPanelHeight + m.NewItemAreaHeight +
             m.FooterPanelHeight + m.StatusPanelHeight;
  return std::max(0, t.ClientHeight() - used);
}

bool sameBar(const TScrollInfo& a, const TScrollInfo& b) {
  return a.Min == b.Min && a.Max == b.Max && a.Page == b.Page && a.Pos == b.Pos &&
         a.Visible == b.Visible;
}

}  // namespace

// Walks down from the top node; when the nodes run out before the area is full the walk goes
// on upwards from the row above the top node, so the counts say what one page can hold.
void TCustomqlTreeList::ComputeRowCounts() {
  const int area = rowsAreaHeight(*this);
  int full = 0, part = 0, sum = 0;
  bool filled = false;
  auto take = [&](TqlTreeListNode* node) {
    sum += NodeRowHeight(node, true);
    ++part;
    if (sum <= area) ++full;
    else filled = true;
  };
  for (TqlTreeListNode* n = topNode_; n && !filled; n = n->GetNextVisible()) take(n);
  if (!filled && topNode_)
    for (TqlTreeListNode* n = topNode_->GetPrevVisible(); n && !filled; n = n->GetPrevVisible())
      take(n);
  metrics_.FullRowCount = std::max(1, full);
  metrics_.PartRowCount = std::max(1, part);
}

void TCustomqlTreeList::UpdateScrollBars() {
  const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  // Twice: showing one bar takes room from the other's direction.
  for (int pass = 0; pass < 2; ++pass) {
    ComputeRowCounts();
    TScrollInfo v = GetScrollInfo(sbVertical);
    const int shown = ShownRowCount();
    v.Min = 0;
    v.Max = metrics_.FullRowCount >= shown ? 0 : shown - 1;
    v.Page = metrics_.FullRowCount;
    v.Pos = std::max(0, TopRowIndex());
    v.Visible = vertical && v.Max > 0;
    if (!sameBar(v, GetScrollInfo(sbVertical))) SetScrollInfo(sbVertical, v);

    TScrollInfo h = GetScrollInfo(sbHorizontal);
    const int scrollable = ScrollableWidth();
    const int visible = VisibleScrollWidth();
    h.Min = 0;
    h.Max = visible >= scrollable ? 0 : scrollable - 1;
    h.Page = visible;
    h.Pos = leftCoord_;
    h.Visible = horizontal && h.Max > 0;
    if (!sameBar(h, GetScrollInfo(sbHorizontal))) SetScrollInfo(sbHorizontal, h);
  }
}

void TCustomqlTreeList::KeepScrollPositionsInRange() {
  if (!topNode_ && !Roots().empty()) topNode_ = Roots().front();
  const int shown = ShownRowCount();
  if (shown > 0 && topNode_) {
    const int lastTop = LastPageTopRowIndex(shown - 1);
    if (TopRowIndex() > lastTop) SetTopRowIndex(lastTop);
  }
  const int maxLeft = std::max(0, ScrollableWidth() - VisibleScrollWidth());
  if (leftCoord_ > maxLeft) SetLeftCoord(maxLeft);
}

// Both bars shown although the rows and the bands would fit in the room the bars take: the
// bars go. All rows must fit (not only those from the top node), else rows above the top
// could no longer be scrolled to.
void TCustomqlTreeList::DropSuperfluousScrollBars() {
  if (!GetScrollInfo(sbVertical).Visible || !GetScrollInfo(sbHorizontal).Visible) return;
  const int area = rowsAreaHeight(*this) + kScrollBarSize;
  int sum = 0;
  for (TqlTreeListNode* n = FirstShownNode(); n; n = n->GetNextVisible()) {
    sum += NodeRowHeight(n, true);
    if (sum > area) return;
  }
  if (VisibleScrollWidth() + kScrollBarSize < ScrollableWidth()) return;
  ShowScrollBar(sbVertical, false);
  ShowScrollBar(sbHorizontal, false);
  Invalidate();
  // Without bars everything shows from the first row and the first pixel.
  if (!Roots().empty() && topNode_ != Roots().front()) {
    topNode_ = Roots().front();
    if (OnChangeTopVisibleNode) OnChangeTopVisibleNode(this);
  }
  if (leftCoord_ != 0) {
    leftCoord_ = 0;
    if (OnChangeLeftCoord) OnChangeLeftCoord(this);
  }
  ComputeRowCounts();
}

// The platform has no window-content scrolling, so a changed offset repaints the client area
// (what scrolling the content and repainting the uncovered strip would show).
void TCustomqlTreeList::SetLeftCoord(int value) {
  HideEditor();
  const int maxLeft = std::max(0, ScrollableWidth() - VisibleScrollWidth());
  value = std::clamp(value, 0, maxLeft);
  if (value == leftCoord_) return;
  leftCoord_ = value;
  if (LockUpdate() == 0 && !recalculating_) UpdateScrollBars();
  if (LockUpdate() == 0) Invalidate();
  if (OnChangeLeftCoord) OnChangeLeftCoord(this);
}

// The top row stops where the last page is full (row heights may differ, so the last page's
// top is found by adding heights up from the last row).
void TCustomqlTreeList::SetTopRowIndex(int rowIndex) {
  HideEditor();
  const int shown = ShownRowCount();
  if (shown < 2) return;
  rowIndex = std::clamp(rowIndex, 0, std::max(0, LastPageTopRowIndex(shown - 1)));
  TqlTreeListNode* node = NodeAtRowIndex(rowIndex);
  if (!node || node == topNode_) return;
  topNode_ = node;
  if (OnChangeTopVisibleNode) OnChangeTopVisibleNode(this);
  if (LockUpdate() == 0 && !recalculating_) UpdateScrollBars();
  if (LockUpdate() == 0) Invalidate();
}

// The top row that shows row n as the last whole row: as many rows above n as fit.
int TCustomqlTreeList::LastPageTopRowIndex(int rowIndex) const {
  const int area = rowsAreaHeight(*this);
  TqlTreeListNode* node = NodeAtRowIndex(rowIndex);
  if (!node) return std::max(0, rowIndex - metrics_.FullRowCount + 1);
  int sum = 0, top = rowIndex + 1;
  for (TqlTreeListNode* n = node; n; n = n->GetPrevVisible()) {
    sum += NodeRowHeight(n, true);
    if (sum > area) return std::min(top, rowIndex);  // a row taller than the area stays on top
    --top;
  }
  return 0;  // every row up to n fits
}
