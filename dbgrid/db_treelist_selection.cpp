// The selected records of the data-aware grid. Without multi-select the core's rule holds
// (the focused node is the selection); with it the selection object keeps the set, by
// bookmark or by node (db_selection.h).
//
// A node going away leaves the set: the core asks IsNodeSelected / SetNodeSelected(false) for
// every node it deletes, and clearing all nodes clears the selection first.
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/core/scope_exit.h"
#include "platform/db/dataset.h"

namespace {

// The bookmark of a node's record. With every record loaded, a node's record index is its
// record's position, so the data set's active record is pointed there for the one read: the
// cursor does not move and no notification goes out (a move would re-run detail queries).
TBookmarkStr bookmarkOfNode(TDataSet& dataSet, const TqlDBGridNode& node, bool allRecordsPresent) {
  if (!allRecordsPresent || node.RecordIndex < 0 || node.RecordIndex >= dataSet.RecordCount())
    return dataSet.Bookmark();
  const int active = dataSet.ActiveRecordPos();
  ScopeExit restore([&] { dataSet.SetActiveRecordPos(active); });
  dataSet.SetActiveRecordPos(node.RecordIndex);
  return dataSet.Bookmark();
}

}  // namespace

bool TCustomqlDBTreeListControl::IsNodeSelected(const TqlTreeListNode* node) const {
  if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::IsNodeSelected(node);
  return selection_->Contains(node);
}

void TCustomqlDBTreeListControl::SetNodeSelected(TqlTreeListNode* node, bool selected) {
  if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::SetNodeSelected(node, selected);
  if (!node || selected == selection_->Contains(node)) return;
  if (!selected) {
    selection_->Remove(node);
  } else {
    TDataSet* dataSet = DataSet();
    // Bookmarks need a data set to come from and to be ordered by.
    if (selection_->Count() == 0) selection_->Reset(SelectionByBookmark() && dataSet, dataSet);
    TBookmarkStr bookmark;
    if (selection_->ByBookmark() && dataSet)
      bookmark = bookmarkOfNode(*dataSet, *static_cast<TqlDBGridNode*>(node), AllRecordsPresent());
    selection_->Add(bookmark, node);
  }
  NodeChanged(node, false);
}

int TCustomqlDBTreeListControl::SelectedCount() const {
  if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::SelectedCount();
  return selection_->Count();
}

std::vector<TqlTreeListNode*> TCustomqlDBTreeListControl::GetSelectedNodes() const {
  if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::GetSelectedNodes();
  std::vector<TqlTreeListNode*> nodes;
  nodes.reserve(selection_->Count());
  for (const TqlDBSelection::Entry& entry : selection_->Entries()) nodes.push_back(entry.Node);
  return nodes;
}

// Also without multi-select: entries left from a time it was on must not outlive their nodes.
void TCustomqlDBTreeListControl::ClearSelection() {
  TCustomqlTreeListControl::ClearSelection();
  if (selection_->Count() == 0) return;
  selection_->Clear();
  if (!IsDestroying()) Invalidate();
}
