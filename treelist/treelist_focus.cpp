// Focus moves of the tree-list core: the focus order of the columns, moving the focused node
// and column (with OnChangeNode and OnChangeColumn), the row steps and page moves of the
// keyboard, the header-row move inside a band, the selection with its lock, and gaining and
// losing the input focus.
//
// Every focus move ends in SetFocusedNodeAndColumn, so the events, the repainting and the
// end of a running incremental search happen in one place.
#include <algorithm>

#include "platform/ui/form.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

// ===== focus order ==========================================================================

std::vector<int> TCustomqlTreeList::FocusOrderColumns() const {
  std::vector<int> order;
  const int bands = Model().GetVisibleBandCount();
  int rows = Model().GetHeaderPanelRowCount();
  for (int band = 0; band < bands; ++band) rows = std::max(rows, Model().GetOccupiedHeaderRowCount(band));
  // Row by row across the bands: a band with fewer header rows simply drops out.
  for (int row = 0; row < rows; ++row)
    for (int band = 0; band < bands; ++band)
      for (int pos = 0, n = Model().GetColumnCountInRow(band, row); pos < n; ++pos) {
        const int column = Model().GetColumnAt(band, row, pos);
        if (column >= 0) order.push_back(column);
      }
  return order;
}

int TCustomqlTreeList::FocusColumnCount() const {
  return static_cast<int>(FocusOrderColumns().size());
}

int TCustomqlTreeList::FocusIndexToAbsolute(int focusIndex) const {
  const std::vector<int> order = FocusOrderColumns();
  if (focusIndex < 0 || focusIndex >= static_cast<int>(order.size())) return -1;
  return order[focusIndex];
}

int TCustomqlTreeList::AbsoluteToFocusIndex(int column) const {
  const std::vector<int> order = FocusOrderColumns();
  auto it = std::find(order.begin(), order.end(), column);
  return it == order.end() ? 0 : static_cast<int>(it - order.begin());
}

int TCustomqlTreeList::FocusedColumn() const {
  if (IsOption(tloRowSelect)) return 0;
  return focusIndex_ < 0 || focusIndex_ >= FocusColumnCount() ? 0 : focusIndex_;
}

// Computed from the focus order each time: a column move or a hidden column changes the
// answer without passing through any focus code.
int TCustomqlTreeList::FocusedAbsoluteColumn() const {
  return FocusIndexToAbsolute(FocusedColumn());
}

// ===== focus moves ==========================================================================

void TCustomqlTreeList::SetFocusedNodeAndColumn(TqlTreeListNode* node, int focusIndex,
                                                bool makeVisible) {
  if (!node) return;
  HideEditor();
  TqlTreeListNode* oldNode = focusedNode_;
  const int oldFocusIndex = focusIndex_;
  if (nodes_.LockCount() > 0) {  // nothing is laid out: no events, no repainting
    focusedNode_ = node;
    focusIndex_ = focusIndex;
    return;
  }
  const bool cellFocus = !IsOption(tloRowSelect);
  if (node != focusedNode_) {
    if (cellFocus) {
      focusIndex_ = focusIndex;
      MakeColumnVisible(focusIndex);
    }
    focusedNode_ = node;
    NodeChanged(oldNode, false);
    NodeChanged(node, false);
    if (newItemRowActive_) SetNewItemRowActive(false);
  } else if (cellFocus && focusIndex != focusIndex_) {
    MakeColumnVisible(focusIndex);
    focusIndex_ = focusIndex;
    NodeChanged(node, false);  // the row holds the old and the new cell
  }
  if (makeVisible && focusedNode_) focusedNode_->MakeVisible();

  const bool nodeChanged = focusedNode_ != oldNode;
  const bool columnChanged = focusIndex_ != oldFocusIndex;
  if ((nodeChanged && incrementalSearch_.Positioning == 0) || columnChanged)
    if (incrementalSearch_.Active) EndSearch();
  if (nodeChanged && OnChangeNode) OnChangeNode(this, oldNode, focusedNode_);
  // A value being loaded into the editor is no column change of the user's.
  if (columnChanged && OnChangeColumn && !IsInitialisingEditor())
    OnChangeColumn(this, focusedNode_, focusIndex_);
}

void TCustomqlTreeList::SetFocusedColumn(int focusIndex) {
  if (focusIndex == FocusedColumn() || focusIndex < 0 || focusIndex >= FocusColumnCount()) return;
  SetFocusedNodeAndColumn(focusedNode_, focusIndex, true);
}

void TCustomqlTreeList::SetFocusedRowIndex(int rowIndex) {
  if (nodes_.Roots().empty() || rowIndex == FocusedRowIndex()) return;
  rowIndex = std::clamp(rowIndex, 0, ShownRowCount() - 1);
  SetFocusedNodeAndColumn(NodeAtRowIndex(rowIndex), focusIndex_, true);
}

void TCustomqlTreeList::SetTopNode(TqlTreeListNode* node) {
  int row = RowIndexOfNode(node);
  if (row >= 0) SetTopRowIndex(row);
}

// Scrolls the scrollable bands so that the column's header cell lies inside their area,
// its left edge winning over its right edge when the cell is wider than the area. A column
// of a fixed band is always in view. The span is worked out from the bands and columns, not
// from what is on screen, so a column scrolled wholly out of view comes back too.
void TCustomqlTreeList::MakeColumnVisible(int focusIndex) {
  MakeAbsoluteColumnVisible(FocusIndexToAbsolute(focusIndex));
}

void TCustomqlTreeList::MakeAbsoluteColumnVisible(int column) {
  if (column < 0) return;
  const TqlColumnScrollSpan span = ColumnScrollSpan(column);
  if (!span.Found || span.Fixed) return;
  int left = LeftCoord();
  const int areaWidth = VisibleScrollWidth();
  if (span.Right > left + areaWidth) left = span.Right - areaWidth;
  if (span.Left < left) left = span.Left;
  if (left != LeftCoord()) SetLeftCoord(left);
}

// ===== row steps and page moves =============================================================

void TCustomqlTreeList::RowStep(int direction, bool shift, int focusIndex) {
  const int shown = ShownRowCount();
  const int current = FocusedRowIndex();
  if (shown == 0) return;
  const int target = std::clamp(current + direction, 0, shown - 1);
  auto move = [&] { SetFocusedNodeAndColumn(NodeAtRowIndex(target), focusIndex, true); };
  if (!IsOption(tloMultiSelect)) {
    move();
    return;
  }
  // A step that cannot happen keeps the selection (the final marking would otherwise leave
  // only the focused node of a bigger selection).
  const bool blocked = (direction < 0 && current <= 0 && SelectedCount() == 1) ||
                       (direction > 0 && current >= shown - 1);
  const int anchorRow = RowIndexOfNode(selectionAnchor_);
  // The focused node lies beyond the anchor on the side the step leaves.
  const bool towardAnchor = anchorRow >= 0 && ((direction > 0 && current < anchorRow) ||
                                               (direction < 0 && current > anchorRow));
  if (!shift) {
    if (!blocked) ClearSelection();
    selectionAnchor_ = nullptr;
    extendingSelection_ = false;
    move();
    return;
  }
  if (!extendingSelection_) {
    if (!blocked) ClearSelection();
    if (CanSelectRange() && selectionAnchor_) {
      SelectRange(selectionAnchor_, focusedNode_);
      SetNodeSelected(focusedNode_, !towardAnchor);
    } else {
      selectionAnchor_ = focusedNode_;
      SetNodeSelected(focusedNode_, true);
    }
    extendingSelection_ = true;
    move();
    SetNodeSelected(focusedNode_, true);
    return;
  }
  if (towardAnchor) {
    SetNodeSelected(focusedNode_, false);
    move();
  } else {
    move();
    SetNodeSelected(focusedNode_, true);
  }
}

// Inside the page the focus first goes to the page's edge row; from the edge it moves by a
// page less one row, so the row it leaves stays on screen.
void TCustomqlTreeList::PageMove(int direction) {
  const int shown = ShownRowCount();
  const int current = FocusedRowIndex();
  if (shown < 2) {
    if ((direction < 0 && current > 0) || (direction > 0 && current < shown - 1))
      SetFocusedRowIndex(current + direction);
    return;
  }
  const int pageSize = Metrics().FullRowCount;
  const int top = std::max(0, TopRowIndex());
  const int last = std::min(top + pageSize - 1, shown - 1);
  if (top < current && current < last)
    SetFocusedRowIndex(direction < 0 ? top : last);
  else
    SetFocusedRowIndex(current + direction * (pageSize < 2 ? 1 : pageSize - 1));
}

// Up and Down walk the header rows of the focused column's band before the rows. Moving
// inside the node consumes the key; wrapping to the other end of the band's rows hands the
// target column to the row step that follows, so that the focus lands on the adjacent node
// in one move (OnChangeNode before OnChangeColumn).
bool TCustomqlTreeList::BandRowMove(int direction, int& focusIndexAfter) {
  focusIndexAfter = focusIndex_;
  if (IsOption(tloRowSelect) || !focusedNode_ || IsGroupRow(focusedNode_)) return false;
  const int column = FocusedAbsoluteColumn();
  if (column < 0) return false;
  const int band = Model().GetAbsoluteBandIndexToVisible(Model().GetColumnBandIndex(column));
  const int rowCount = band < 0 ? 0 : Model().GetOccupiedHeaderRowCount(band);
  if (rowCount < 2) return false;
  const int headerRow = Model().GetColumnRowIndex(column);
  const int position = Model().GetColumnColIndex(column);
  const int rowIndex = FocusedRowIndex();
  int targetRow = 0;
  bool nodeChanges = false;
  if (direction < 0) {
    if (headerRow == 0 && rowIndex == 0) return false;
    nodeChanges = headerRow == 0;
    targetRow = nodeChanges ? rowCount - 1 : headerRow - 1;
  } else {
    if (headerRow >= rowCount - 1 && rowIndex == ShownRowCount() - 1) return false;
    nodeChanges = headerRow >= rowCount - 1;
    targetRow = nodeChanges ? 0 : headerRow + 1;
  }
  const int count = Model().GetColumnCountInRow(band, targetRow);
  if (count == 0) return false;
  const int target = Model().GetColumnAt(band, targetRow, std::min(position, count - 1));
  if (target < 0) return false;
  focusIndexAfter = AbsoluteToFocusIndex(target);
  if (nodeChanges) return false;
  SetFocusedNodeAndColumn(focusedNode_, focusIndexAfter, true);
  return true;
}

// ===== selection ============================================================================

bool TCustomqlTreeList::IsNodeSelected(const TqlTreeListNode* node) const {
  return node && !IsOption(tloMultiSelect) && node == focusedNode_;
}

void TCustomqlTreeList::SetNodeSelected(TqlTreeListNode*, bool) {}

int TCustomqlTreeList::SelectedCount() const {
  return !IsOption(tloMultiSelect) && focusedNode_ ? 1 : 0;
}

std::vector<TqlTreeListNode*> TCustomqlTreeList::GetSelectedNodes() const {
  std::vector<TqlTreeListNode*> nodes;
  for (TqlTreeListNode* n = FirstShownNode(); n; n = n->GetNext())
    if (IsNodeSelected(n)) nodes.push_back(n);
  return nodes;
}

void TCustomqlTreeList::SelectRange(TqlTreeListNode* from, TqlTreeListNode* to) {
  int first = RowIndexOfNode(from), last = RowIndexOfNode(to);
  if (first < 0 || last < 0) return;
  if (first > last) std::swap(first, last);
  for (int row = first; row <= last; ++row) SetNodeSelected(NodeAtRowIndex(row), true);
}

void TCustomqlTreeList::BeginSelection() {
  if (selectionLock_++ == 0) selectedCountAtSelectionLock_ = SelectedCount();
}

void TCustomqlTreeList::EndSelection(bool notify) {
  if (selectionLock_ == 0) return;  // unbalanced: nothing to release
  if (--selectionLock_ > 0) return;
  if (notify && SelectedCount() != selectedCountAtSelectionLock_ && OnSelectedCountChange)
    OnSelectedCountChange(this);
}

// ===== interaction state ====================================================================

void TCustomqlTreeList::SetState(TqlTreeListState value) {
  if (value == tsEditing && incrementalSearch_.Active) EndSearch();
  state_ = value;
}

void TCustomqlTreeList::CancelTracking() {
  // The mouse handling owns the tracking operations: it erases a sizing line and releases a
  // pushed header before going idle.
  EndMouseTracking();
}

// ===== gaining and losing the input focus ===================================================

// The focused row, the selected rows (their colours follow the focus) and the new item row.
void TCustomqlTreeList::invalidateSelectedRows() {
  if (nodes_.LockCount() > 0 || IsDestroying()) return;
  const TqlLayoutSnapshot s = BuildLayoutSnapshot();
  if (IsOption(tloMultiSelect))
    for (const TqlRowInfo& row : s.RowInfos)
      if (IsNodeSelected(row.Node))
        InvalidateRect({s.ClientRect.Left, row.Top, s.ClientRect.Right, row.Top + row.Height});
  if (showNewItemRow_) InvalidateRect(s.NewItemRowRect);
}

void TCustomqlTreeList::WMSetFocus() {
  TCustomqlContainer::WMSetFocus();
  const bool fromEditor = focusGoneToEditor_;
  focusGoneToEditor_ = false;
  if (!focusedNode_) focusedNode_ = topNode_;  // no event: nothing was focused before
  if (!IsOption(tloRowSelect) && (focusIndex_ < 0 || focusIndex_ >= FocusColumnCount()))
    focusIndex_ = 0;
  if (!fromEditor) {
    NodeChanged(focusedNode_, false);
    if (state_ == tsEditing) ShowEditor();
  }
  invalidateSelectedRows();
}

void TCustomqlTreeList::WMKillFocus() {
  TCustomqlContainer::WMKillFocus();
  // The form names the new focus before telling the old one.
  const TCustomForm* form = GetParentForm();
  const TWinControl* next = form ? form->ActiveControl() : nullptr;
  if (next && next != this && ContainsControl(next)) {
    focusGoneToEditor_ = true;
    return;
  }
  NodeChanged(focusedNode_, false);
  HideEditor();
  invalidateSelectedRows();
  if (state_ == tsNodeDown) SetState(tsNormal);
}

void TCustomqlTreeList::CMExit() {
  TCustomqlContainer::CMExit();
  HideEditor();
}
