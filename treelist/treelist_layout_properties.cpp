// The core's side of the geometry: the layout property setters, the layout pass's order of
// work (RecalcLayout) and the layout, scroll and hit-test questions of the public interface,
// each handed to the grid's TqlTreeListGeometry (treelist_geometry.h), which keeps the
// metrics, the left coordinate and the layout frame.
//
// Order of work of a layout pass: frame dropped -> metrics (geometry) -> row cache dropped ->
// header layout cache -> row cache rebuilt -> scroll bars fitted (geometry) -> header layout
// again when the bars changed the client width -> repaint.
#include <algorithm>

#include "platform/core/store_changed.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_hittest.h"
#include "treelist/treelist_layout.h"

// ===== layout property setters =============================================================
// Each stores its (clamped) value and recalculates the layout, and does nothing when the
// value does not change.

void TCustomqlTreeList::SetShowBands(bool value) {
  if (StoreChanged(showBands_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetShowHeader(bool value) {
  if (StoreChanged(showHeader_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetShowGrid(bool value) {
  if (StoreChanged(showGrid_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetShowPreviewGrid(bool value) {
  if (StoreChanged(showPreviewGrid_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetShowNewItemRow(bool value) {
  if (StoreChanged(showNewItemRow_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetShowRowFooter(bool value) {
  if (StoreChanged(showRowFooter_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetScrollBars(TScrollStyle value) {
  if (StoreChanged(scrollBars_, value)) RecalcLayout();
}
void TCustomqlTreeList::SetPaintStyle(TqlPaintStyle value) {
  if (StoreChanged(paintStyle_, value)) RecalcLayout();
}

void TCustomqlTreeList::SetBandRowCount(int value) {
  if (StoreChanged(bandRowCount_, std::clamp(value, 1, std::max(1, Model().GetBandMaxRowCount()))))
    RecalcLayout();
}
void TCustomqlTreeList::SetHeaderMinRowCount(int value) {
  if (StoreChanged(headerMinRowCount_, std::max(1, value))) RecalcLayout();
}
void TCustomqlTreeList::SetRowSeparatorLineWidth(int value) {
  if (StoreChanged(rowSeparatorLineWidth_, std::max(1, value))) RecalcLayout();
}
void TCustomqlTreeList::SetMaxRowLineCount(int value) {
  if (StoreChanged(maxRowLineCount_, std::max(-1, value))) RecalcLayout();
}
void TCustomqlTreeList::SetPreviewLines(int value) {
  if (StoreChanged(previewLines_, std::max(-1, value))) RecalcLayout();
}
void TCustomqlTreeList::SetIndentDesc(int value) {
  if (StoreChanged(indentDesc_, std::max(0, value))) RecalcLayout();
}
// A negative width would turn the rows area inside out.
void TCustomqlTreeList::SetGrIndicatorWidth(int value) {
  if (StoreChanged(grIndicatorWidth_, std::max(0, value))) RecalcLayout();
}
void TCustomqlTreeList::SetFixedBandLineWidth(int value) {
  if (StoreChanged(fixedBandLineWidth_, std::max(1, value))) RecalcLayout();
}

// An explicit height is kept (and stored) until the recalculation finds it equal to the
// smallest height; it never goes below that height.
void TCustomqlTreeList::SetDefaultRowHeight(int value) {
  if (defaultRowHeightAssigned_ && geometry_.Metrics().UnitRowHeight == value) return;
  defaultRowHeightAssigned_ = true;
  geometry_.SetUnitRowHeight(value);
  RecalcLayout();
}

void TCustomqlTreeList::SetShowIndicator(bool value) {
  TqlTreeListOptions options = options_;
  if (value) options.include(tloIndicator);
  else options.exclude(tloIndicator);
  SetOptions(options);
}

void TCustomqlTreeList::SetLookAndFeel(TqlLookAndFeel value) {
  if (lookAndFeel_ == value) return;
  CancelEditor();
  lookAndFeel_ = value;
  SetScrollBarStyle(value == lfUltraFlat ? TqlScrollBarStyle::Flat : TqlScrollBarStyle::Regular);
  RecalcLayout();
}

// ===== the layout pass ======================================================================

void TCustomqlTreeList::RecalcLayout() {
  // Whatever asked for the pass changed something the frame is made of, also when the pass
  // itself must wait (the update lock's release runs it).
  geometry_.DropFrame();
  if (IsLoading() || IsDestroying() || LockUpdate() > 0 || geometry_.Recalculating()) return;
  TqlTreeListGeometry::PassScope pass(geometry_);

  defaultRowHeightAssigned_ = geometry_.ComputeMetrics();
  ClearRowCache();
  RebuildHeaderLayout();
  RebuildRowCache();
  const int clientWidth = ClientWidth();
  geometry_.FitScrollBars();
  // Header widths follow the band widths, which follow the client width with automatic width.
  if (ClientWidth() != clientWidth) RebuildHeaderLayout();
  Invalidate();
}

// ===== questions handed to the geometry ====================================================

TqlLayoutSnapshot TCustomqlTreeList::BuildLayoutSnapshot() const {
  return geometry_.BuildLayoutSnapshot();
}
TqlRowHeightInfo TCustomqlTreeList::ComputeRowHeight(TqlTreeListNode* node,
                                                     int unitRowHeight) const {
  return geometry_.ComputeRowHeight(node, unitRowHeight);
}
int TCustomqlTreeList::BandDisplayWidth(int visibleBand) const {
  return geometry_.BandDisplayWidth(visibleBand);
}
int TCustomqlTreeList::BandMinimumWidth(int visibleBand) const {
  return geometry_.BandMinimumWidth(visibleBand);
}
int TCustomqlTreeList::TotalWidth() const { return geometry_.TotalWidth(); }
int TCustomqlTreeList::ScrollableWidth() const { return geometry_.ScrollableWidth(); }
int TCustomqlTreeList::VisibleScrollWidth() const { return geometry_.VisibleScrollWidth(); }
int TCustomqlTreeList::ComputeColumnHeaderWidth(int column) const {
  return geometry_.ComputeColumnHeaderWidth(column);
}
TqlColumnScrollSpan TCustomqlTreeList::ColumnScrollSpan(int column) const {
  return geometry_.ColumnScrollSpan(column);
}
TRect TCustomqlTreeList::NodeRect(TqlTreeListNode* node) const { return geometry_.NodeRect(node); }
TRect TCustomqlTreeList::CellRect(TqlTreeListNode* node, int column) const {
  return geometry_.CellRect(node, column);
}
TRect TCustomqlTreeList::NodeAndBelowRect(TqlTreeListNode* node) const {
  return geometry_.NodeAndBelowRect(node);
}

// A scroll moves the cells under the in-place editor: it goes first.
void TCustomqlTreeList::SetLeftCoord(int value) {
  HideEditor();
  geometry_.SetLeftCoord(value);
}
void TCustomqlTreeList::SetTopRowIndex(int rowIndex) {
  HideEditor();
  geometry_.SetTopRowIndex(rowIndex);
}
int TCustomqlTreeList::LastPageTopRowIndex(int rowIndex) const {
  return geometry_.LastPageTopRowIndex(rowIndex);
}
void TCustomqlTreeList::UpdateScrollBars() { geometry_.UpdateScrollBars(); }

bool TCustomqlTreeList::BandWidthsFollowHeaders() const {
  return geometry_.BandWidthsFollowHeaders();
}
bool TCustomqlTreeList::ColumnEdgesReplaceBandEdges() const {
  return geometry_.ColumnEdgesReplaceBandEdges();
}
bool TCustomqlTreeList::CanSizeBandEdge(int visibleBand) const {
  return geometry_.CanSizeBandEdge(visibleBand);
}
bool TCustomqlTreeList::CanSizeColumnEdge(int column) const {
  return geometry_.CanSizeColumnEdge(column);
}
int TCustomqlTreeList::BandSizingMinimum(int visibleBand) const {
  return geometry_.BandSizingMinimum(visibleBand);
}
int TCustomqlTreeList::BandSizingMaximum() const { return geometry_.BandSizingMaximum(); }
int TCustomqlTreeList::ColumnSizingMinimum(int column) const {
  return geometry_.ColumnSizingMinimum(column);
}
int TCustomqlTreeList::ColumnSizingMaximum(int column) const {
  return geometry_.ColumnSizingMaximum(column);
}
int TCustomqlTreeList::RowSizingMinimum(TqlTreeListNode* node) const {
  return geometry_.RowSizingMinimum(node);
}
int TCustomqlTreeList::RowSizingMaximum() const { return geometry_.RowSizingMaximum(); }
int TCustomqlTreeList::BandRowCountAt(int y) const { return geometry_.BandRowCountAt(y); }
int TCustomqlTreeList::HeaderPanelRowCountAt(int y) const {
  return geometry_.HeaderPanelRowCountAt(y);
}
