// Sizing with the mouse: a dragged column or band edge, the bottom edge of the band panel or
// the header panel, a row boundary in the indicator. While the edge is held a line shows where
// it would go; it is drawn by inverting the window's pixels (drawing it twice restores them),
// so the grid is repainted only once, when the sizing ends.
//
// The line's rectangles are kept as drawn, so that erasing inverts exactly the same pixels
// even when the layout changed meanwhile. A paint pass takes the line off before it paints
// and puts it back on the finished picture (HideSizingFeedback / ShowSizingFeedback).
#include <algorithm>
#include <cstdint>

#include "treelist/treelist_core.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"
#include "treelist/treelist_requests.h"

// ===== the line =============================================================================

void TCustomqlTreeList::startSizing(TqlTreeListState state, int pos) {
  SetState(state);
  press_.SizingPos = press_.SizingPosAtPress = pos;
  eraseSizingLine();
  sizingLine_ = sizingLineRects();
  invertSizingLine();
}

std::vector<TRect> TCustomqlTreeList::sizingLineRects() const {
  const auto frame = LayoutFrame();
  const TqlLayoutSnapshot& s = *frame;
  const int pos = press_.SizingPos;
  const int rowsBottom = s.RowsRect.Bottom;
  switch (state_) {
    case tsColumnSizing: {
      const int top = showBands_ ? s.BandPanelRect.Bottom : s.HeaderPanelRect.Top;
      return {TRect{pos, top, pos + 1, rowsBottom}};
    }
    case tsBandSizing: {
      const int top = showBands_ ? s.BandPanelRect.Top : s.HeaderPanelRect.Top;
      return {TRect{pos, top, pos + 2, rowsBottom}};
    }
    case tsBandPanelSizing: case tsHeaderPanelSizing:
      return {TRect{s.ClientRect.Left, pos - 1, s.ClientRect.Right, pos + 1}};
    case tsRowSizing:
      return {TRect{s.ClientRect.Left, pos, s.ClientRect.Right, pos + 1}};
    default:
      return {};
  }
}

void TCustomqlTreeList::invertSizingLine() {
  if (sizingLine_.empty()) return;
  TCanvas& canvas = Canvas();
  for (const TRect& r : sizingLine_) canvas.InvertRect(r);
}

void TCustomqlTreeList::eraseSizingLine() {
  if (!sizingLineHidden_) invertSizingLine();
  sizingLine_.clear();
  sizingLineHidden_ = false;
}

void TCustomqlTreeList::HideSizingFeedback() {
  if (sizingLine_.empty() || sizingLineHidden_) return;
  invertSizingLine();
  sizingLineHidden_ = true;
}

void TCustomqlTreeList::ShowSizingFeedback() {
  if (sizingLine_.empty() || !sizingLineHidden_) return;
  if (!IsTrackingState(state_) || state_ == tsColumnDragging || state_ == tsBandDragging) {
    // The sizing ended without taking its line off (the state was reset elsewhere): the pass
    // just painted over it, so only the record goes.
    sizingLine_.clear();
    sizingLineHidden_ = false;
    return;
  }
  invertSizingLine();
  sizingLineHidden_ = false;
}

// ===== moving the edge ======================================================================

// Keeps a dragged position inside the limits of the running sizing; the panel edges snap to
// the boundaries of whole band or header rows.
int TCustomqlTreeList::clampSizingPos(int pos) const {
  auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
  switch (state_) {
    case tsColumnSizing: {
      const int column = press_.Hit.Column;
      const int low = ColumnSizingMinimum(column);
      return clamp(pos, low, std::max(low, ColumnSizingMaximum(column)));
    }
    case tsBandSizing: {
      const int low = BandSizingMinimum(press_.Hit.Band);
      return clamp(pos, low, std::max(low, BandSizingMaximum()));
    }
    case tsBandPanelSizing: {
      const int count = BandRowCountAt(pos);
      return Metrics().GroupAreaHeight + count * Metrics().BandLineHeight + 5 +
             (Metrics().FlatLook ? 0 : 1);
    }
    case tsHeaderPanelSizing:
      return Metrics().GroupAreaHeight + Metrics().BandPanelHeight +
             HeaderPanelRowCountAt(pos) * Metrics().HeaderCellHeight;
    case tsRowSizing: {
      const int low = dragNode_ ? RowSizingMinimum(dragNode_) : -1;
      if (low < 0) return pos;  // the node left the screen: nothing to measure against
      return clamp(pos, low, std::max(low, RowSizingMaximum()));
    }
    default:
      return pos;
  }
}

void TCustomqlTreeList::moveSizing(TPoint p) {
  const bool horizontal = state_ == tsColumnSizing || state_ == tsBandSizing;
  const int pos = clampSizingPos(horizontal ? p.X : p.Y);
  if (pos == press_.SizingPos) return;
  eraseSizingLine();
  press_.SizingPos = pos;
  sizingLine_ = sizingLineRects();
  invertSizingLine();
}

// ===== releasing the edge ===================================================================

void TCustomqlTreeList::releaseSizing() {
  const TqlTreeListState state = state_;
  eraseSizingLine();
  const int pos = clampSizingPos(press_.SizingPos);
  const bool moved = pos != press_.SizingPosAtPress;
  SetState(tsNormal);
  switch (state) {
    case tsBandSizing:
      if (!moved) return;
      applyBandWidth(press_.Hit.Band, pos);
      if (OnChangedColumnsWidth) OnChangedColumnsWidth(this);
      return;
    case tsColumnSizing:
      if (!moved) return;
      applyColumnWidth(press_.Hit.Column, pos);
      if (OnChangedColumnsWidth) OnChangedColumnsWidth(this);
      return;
    case tsBandPanelSizing:
      SetBandRowCount(std::max(1, BandRowCountAt(pos)));
      return;
    case tsHeaderPanelSizing: {
      const int cell = std::max(1, Metrics().HeaderCellHeight);
      const int top = Metrics().GroupAreaHeight + Metrics().BandPanelHeight;
      SetHeaderPanelRowCountByMouse(std::max(1, (pos - top + cell / 2) / cell));
      return;
    }
    case tsRowSizing:
      if (moved) applyRowHeight(pos);
      return;
    default:
      return;
  }
}

// The band's new width reaches to the line (band 0's cell also holds the group indent). With
// tloAutoWidth the bands share the available width in proportion to their widths, so the
// width is chosen to give the band the dragged share of it.
void TCustomqlTreeList::applyBandWidth(int visibleBand, int pos) {
  const int band = GetVisibleBandIndexToAbsolute(visibleBand);
  const auto frame = LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visibleBand);
  if (band < 0 || !cell) return;
  int width = pos - cell->Rect.Left + 2 - (visibleBand == 0 ? GetGroupIndent() : 0);
  if (IsOption(tloAutoWidth)) {
    const int display = BandDisplayWidth(visibleBand);
    const int available = TotalWidth() - GetGroupIndent();
    const int others = available - display;
    if (display <= 0 || others <= 0 || width >= available) return;
    // share = available * w / (W_others + w): solve for the band's width that yields `width`.
    const int64_t numerator = int64_t(GetBandWidth(band)) * width * others;
    const int64_t denominator = int64_t(display) * (available - width);
    width = static_cast<int>(numerator / denominator);
  }
  ApplyRequest({TqlRequestKind::BandWidth, band, width});
}

// The column's new width reaches to the line. Where band widths follow their headers (and the
// bands are not stretched to the client), a band of one header row grows with its column.
void TCustomqlTreeList::applyColumnWidth(int column, int pos) {
  const auto frame = LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  if (!cell) return;
  const int width = pos - cell->Rect.Left + 1 - (cell->FirstOfGrid ? GetGroupIndent() : 0);
  TqlTreeListUpdateLock lock(*this);
  if (BandWidthsFollowHeaders() && !IsOption(tloAutoWidth) &&
      GetOccupiedHeaderRowCount(cell->VisibleBand) <= 1) {
    const int band = GetVisibleBandIndexToAbsolute(cell->VisibleBand);
    if (band >= 0)
      ApplyRequest({TqlRequestKind::BandWidth, band, GetBandWidth(band) + width - GetColumnWidth(column)});
  }
  ApplyRequest({TqlRequestKind::ColumnWidth, column, width});
}

// The largest unit row height for which the pressed node's whole row still ends at the line;
// the height stays when even the smallest does not fit.
void TCustomqlTreeList::applyRowHeight(int pos) {
  TqlTreeListNode* node = dragNode_;
  if (!node) return;
  const TqlLayoutSnapshot s = BuildLayoutSnapshot();
  const TqlRowInfo* row = s.RowOf(node);
  if (!row) return;
  int best = -1;
  for (int unit = Metrics().SmallestRowHeight; unit <= pos - row->Top; ++unit) {
    if (row->Top + ComputeRowHeight(node, unit).Height > pos) break;
    best = unit;
  }
  if (best > 0) SetDefaultRowHeight(best);
}
