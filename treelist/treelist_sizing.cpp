// TqlTreeListInput, sizing with the mouse: a dragged column or band edge, the bottom edge of
// the band panel or the header panel, a row boundary in the indicator. While the edge is held a
// line shows where it would go; it is drawn by inverting the window's pixels (drawing it twice
// restores them), so the grid is repainted only once, when the sizing ends.
//
// The line's rectangles are kept as drawn, so that erasing inverts exactly the same pixels
// even when the layout changed meanwhile. A paint pass takes the line off before it paints
// and puts it back on the finished picture (the grid's HideSizingFeedback / ShowSizingFeedback
// call HideSizingLine / ShowSizingLine).
#include <algorithm>
#include <cstdint>

#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"
#include "treelist/treelist_requests.h"

// ===== the line =============================================================================

void TqlTreeListInput::startSizing(TqlTreeListState state, int pos) {
  grid_.SetState(state);
  press_.SizingPos = press_.SizingPosAtPress = pos;
  eraseSizingLine();
  sizingLine_ = sizingLineRects();
  invertSizingLine();
}

std::vector<TRect> TqlTreeListInput::sizingLineRects() const {
  const auto frame = grid_.LayoutFrame();
  const TqlLayoutSnapshot& s = *frame;
  const int pos = press_.SizingPos;
  const int rowsBottom = s.RowsRect.Bottom;
  switch (grid_.State()) {
    case tsColumnSizing: {
      const int top = grid_.ShowBands() ? s.BandPanelRect.Bottom : s.HeaderPanelRect.Top;
      return {TRect{pos, top, pos + 1, rowsBottom}};
    }
    case tsBandSizing: {
      const int top = grid_.ShowBands() ? s.BandPanelRect.Top : s.HeaderPanelRect.Top;
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

void TqlTreeListInput::invertSizingLine() {
  if (sizingLine_.empty()) return;
  TCanvas& canvas = grid_.Canvas();
  for (const TRect& r : sizingLine_) canvas.InvertRect(r);
}

void TqlTreeListInput::eraseSizingLine() {
  if (!sizingLineHidden_) invertSizingLine();
  sizingLine_.clear();
  sizingLineHidden_ = false;
}

void TqlTreeListInput::HideSizingLine() {
  if (sizingLine_.empty() || sizingLineHidden_) return;
  invertSizingLine();
  sizingLineHidden_ = true;
}

void TqlTreeListInput::ShowSizingLine() {
  if (sizingLine_.empty() || !sizingLineHidden_) return;
  const TqlTreeListState state = grid_.State();
  if (!IsTrackingState(state) || state == tsColumnDragging || state == tsBandDragging) {
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
int TqlTreeListInput::clampSizingPos(int pos) const {
  auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
  const TqlTreeListMetrics& metrics = grid_.Metrics();
  switch (grid_.State()) {
    case tsColumnSizing: {
      const int column = press_.Hit.Column;
      const int low = grid_.ColumnSizingMinimum(column);
      return clamp(pos, low, std::max(low, grid_.ColumnSizingMaximum(column)));
    }
    case tsBandSizing: {
      const int low = grid_.BandSizingMinimum(press_.Hit.Band);
      return clamp(pos, low, std::max(low, grid_.BandSizingMaximum()));
    }
    case tsBandPanelSizing: {
      const int count = grid_.BandRowCountAt(pos);
      return metrics.GroupAreaHeight + count * metrics.BandLineHeight + 5 +
             (metrics.FlatLook ? 0 : 1);
    }
    case tsHeaderPanelSizing:
      return metrics.GroupAreaHeight + metrics.BandPanelHeight +
             grid_.HeaderPanelRowCountAt(pos) * metrics.HeaderCellHeight;
    case tsRowSizing: {
      TqlTreeListNode* node = grid_.DragNode();
      const int low = node ? grid_.RowSizingMinimum(node) : -1;
      if (low < 0) return pos;  // the node left the screen: nothing to measure against
      return clamp(pos, low, std::max(low, grid_.RowSizingMaximum()));
    }
    default:
      return pos;
  }
}

void TqlTreeListInput::moveSizing(TPoint p) {
  const bool horizontal = grid_.State() == tsColumnSizing || grid_.State() == tsBandSizing;
  const int pos = clampSizingPos(horizontal ? p.X : p.Y);
  if (pos == press_.SizingPos) return;
  eraseSizingLine();
  press_.SizingPos = pos;
  sizingLine_ = sizingLineRects();
  invertSizingLine();
}

// ===== releasing the edge ===================================================================

void TqlTreeListInput::releaseSizing() {
  const TqlTreeListState state = grid_.State();
  eraseSizingLine();
  const int pos = clampSizingPos(press_.SizingPos);
  const bool moved = pos != press_.SizingPosAtPress;
  grid_.SetState(tsNormal);
  switch (state) {
    case tsBandSizing:
      if (!moved) return;
      applyBandWidth(press_.Hit.Band, pos);
      if (grid_.OnChangedColumnsWidth) grid_.OnChangedColumnsWidth(&grid_);
      return;
    case tsColumnSizing:
      if (!moved) return;
      applyColumnWidth(press_.Hit.Column, pos);
      if (grid_.OnChangedColumnsWidth) grid_.OnChangedColumnsWidth(&grid_);
      return;
    case tsBandPanelSizing:
      grid_.SetBandRowCount(std::max(1, grid_.BandRowCountAt(pos)));
      return;
    case tsHeaderPanelSizing: {
      const TqlTreeListMetrics& metrics = grid_.Metrics();
      const int cell = std::max(1, metrics.HeaderCellHeight);
      const int top = metrics.GroupAreaHeight + metrics.BandPanelHeight;
      grid_.SetHeaderPanelRowCountByMouse(std::max(1, (pos - top + cell / 2) / cell));
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
void TqlTreeListInput::applyBandWidth(int visibleBand, int pos) {
  const int band = grid_.Model().GetVisibleBandIndexToAbsolute(visibleBand);
  const auto frame = grid_.LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visibleBand);
  if (band < 0 || !cell) return;
  int width = pos - cell->Rect.Left + 2 - (visibleBand == 0 ? grid_.Model().GetGroupIndent() : 0);
  if (grid_.IsOption(tloAutoWidth)) {
    const int display = grid_.BandDisplayWidth(visibleBand);
    const int available = grid_.TotalWidth() - grid_.Model().GetGroupIndent();
    const int others = available - display;
    if (display <= 0 || others <= 0 || width >= available) return;
    // share = available * w / (W_others + w): solve for the band's width that yields `width`.
    const int64_t numerator = int64_t(grid_.Model().GetBandWidth(band)) * width * others;
    const int64_t denominator = int64_t(display) * (available - width);
    width = static_cast<int>(numerator / denominator);
  }
  grid_.ApplyRequest({TqlRequestKind::BandWidth, band, width});
}

// The column's new width reaches to the line. Where band widths follow their headers (and the
// bands are not stretched to the client), a band of one header row grows with its column.
void TqlTreeListInput::applyColumnWidth(int column, int pos) {
  const auto frame = grid_.LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  if (!cell) return;
  const int width = pos - cell->Rect.Left + 1 - (cell->FirstOfGrid ? grid_.Model().GetGroupIndent() : 0);
  TqlTreeListUpdateLock lock(grid_);
  if (grid_.BandWidthsFollowHeaders() && !grid_.IsOption(tloAutoWidth) &&
      grid_.Model().GetOccupiedHeaderRowCount(cell->VisibleBand) <= 1) {
    const int band = grid_.Model().GetVisibleBandIndexToAbsolute(cell->VisibleBand);
    if (band >= 0)
      grid_.ApplyRequest({TqlRequestKind::BandWidth, band,
                          grid_.Model().GetBandWidth(band) + width - grid_.Model().GetColumnWidth(column)});
  }
  grid_.ApplyRequest({TqlRequestKind::ColumnWidth, column, width});
}

// The largest unit row height for which the pressed node's whole row still ends at the line;
// the height stays when even the smallest does not fit.
void TqlTreeListInput::applyRowHeight(int pos) {
  TqlTreeListNode* node = grid_.DragNode();
  if (!node) return;
  const TqlLayoutSnapshot s = grid_.BuildLayoutSnapshot();
  const TqlRowInfo* row = s.RowOf(node);
  if (!row) return;
  int best = -1;
  for (int unit = grid_.Metrics().SmallestRowHeight; unit <= pos - row->Top; ++unit) {
    if (row->Top + grid_.RowHeightWithUnit(node, unit).Height > pos) break;
    best = unit;
  }
  if (best > 0) grid_.SetDefaultRowHeight(best);
}
