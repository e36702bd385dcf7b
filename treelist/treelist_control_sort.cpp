// The control's side of sorting: the sorted-columns list, a column's Sorted, header clicks and
// the sorting lock. The node lists themselves are sorted by TCustomqlTreeList::SortNodes.
#include <algorithm>
#include <climits>

#include "platform/core/scope_exit.h"
#include "platform/core/utf8_case.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

std::vector<int> TCustomqlTreeListControl::GetSortedColumns() const {
  std::vector<int> result;
  result.reserve(sortedColumns_.size());
  for (const TqlTreeListColumn* column : sortedColumns_) result.push_back(IndexOfColumn(column));
  return result;
}

Variant TCustomqlTreeListControl::GetNodeSortValue(const TqlTreeListNode* node, int column) const {
  std::string text = GetCellText(node, column);
  if (IsOption(tloCaseInsensitive)) return Variant(Utf8UpperCase(text));
  return Variant(std::move(text));
}

const std::string* TCustomqlTreeListControl::GetNodeSortText(const TqlTreeListNode* node,
                                                           int column) const {
  return IsOption(tloCaseInsensitive) ? nullptr : node->KeptText(column);
}

void TCustomqlTreeListControl::SetColumnSorted(TqlTreeListColumn* column,
                                               TqlTreeListColumnSort value) {
  if (!column || column->sorted_ == value) return;
  auto repaint = [this] {
    if (LockUpdate() == 0 && !IsLoading() && !IsDestroying()) Invalidate();
  };
  if (IsLoading() || column->treeList_ != this) {
    column->sorted_ = value;
    repaint();
    return;
  }
  const int absoluteIndex = IndexOfColumn(column);

  if (value == csNone) {
    // Nothing in between can throw, so the lock needs no guard; its release may sort.
    ++sortingLock_;
    column->sorted_ = csNone;
    forgetSortedColumn(column);
    repaint();
    EndSortingLock();
    return;
  }

  TqlTreeListUpdateLock lock(*this);
  const bool autoSort = IsAutoSortAllowed();
  if (autoSort && !headerClickMultiSort_ && sortingLock_ == 0) {
    // A column sorted alone: the others lose their sort, quietly.
    sortedColumns_.clear();
    for (TqlTreeListColumn* other : columns_)
      if (other != column) other->sorted_ = csNone;
  }
  column->sorted_ = value;
  // A column that was sorted before the list knew of it (set while loading, say) stays the
  // primary key when a second one joins.
  if (IsMultiSortAllowed(absoluteIndex) && sortedColumns_.empty())
    for (TqlTreeListColumn* other : columns_)
      if (other != column && other->sorted_ != csNone) {
        sortedColumns_.push_back(other);
        break;
      }
  if (std::find(sortedColumns_.begin(), sortedColumns_.end(), column) == sortedColumns_.end())
    sortedColumns_.push_back(column);
  if (autoSort && sortingLock_ == 0)
    SortNodes(SortLevelOfColumn(column), absoluteIndex, value == csDown);
}

void TCustomqlTreeListControl::HeaderClick(TqlTreeListColumn* column, TShiftState shift) {
  if (!column || column->treeList_ != this) return;
  headerClickMultiSort_ = shift.contains(ssShift) && IsMultiSortAllowed(IndexOfColumn(column));
  headerClickClearSort_ = shift.contains(ssCtrl);
  ScopeExit resetFlags([this] { headerClickMultiSort_ = headerClickClearSort_ = false; });
  if (OnColumnClick) OnColumnClick(this, column);
  if (!IsAutoSortAllowed()) return;
  bool allow = true;
  if (OnColumnSorting) OnColumnSorting(this, column, allow);
  if (!allow) return;
  column->SetSorted(headerClickClearSort_        ? csNone
                    : column->Sorted() == csUp ? csDown
                                               : csUp);
}

void TCustomqlTreeListControl::EndSortingLock() {
  if (sortingLock_ == 0) return;  // unbalanced: nothing to release
  if (--sortingLock_ == 0) ResortAfterUnsort();
}

void TCustomqlTreeListControl::ResortAfterUnsort() {
  TqlTreeListColumn* by = nullptr;
  if (!sortedColumns_.empty() && IsMultiSortAllowed(IndexOfColumn(sortedColumns_.front())))
    by = sortedColumns_.front();
  else
    for (TqlTreeListColumn* column : columns_)
      if (column->sorted_ != csNone) {
        by = column;
        break;
      }
  if (!by) return;
  TqlTreeListUpdateLock lock(*this);
  SortNodes(SortLevelOfColumn(by), IndexOfColumn(by), by->sorted_ == csDown);
}

void TCustomqlTreeListControl::forgetSortedColumn(TqlTreeListColumn* column) {
  sortedColumns_.erase(std::remove(sortedColumns_.begin(), sortedColumns_.end(), column),
                       sortedColumns_.end());
}

void TCustomqlTreeListControl::rebuildSortedColumns() {
  sortedColumns_.clear();
  for (TqlTreeListColumn* column : columns_)
    if (column->sorted_ != csNone) sortedColumns_.push_back(column);
  // By the stored position; columns without one follow in list order.
  auto position = [](const TqlTreeListColumn* c) {
    return c->PendingSortedOrder() < 0 ? INT_MAX : c->PendingSortedOrder();
  };
  std::stable_sort(sortedColumns_.begin(), sortedColumns_.end(),
                   [&](const TqlTreeListColumn* a, const TqlTreeListColumn* b) {
                     return position(a) < position(b);
                   });
  for (TqlTreeListColumn* column : columns_) column->SetPendingSortedOrder(-1);
}
