// The selected records of the data-aware grid. Without multi-select the core's rule holds
// (the focused node is the selection); with it the selection object keeps the set, by
// bookmark or by node (db_selection.h).
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"

bool TCustomqlDBTreeListControl::IsNodeSelected(const TqlTreeListNode* node) const {
  if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::IsNodeSelected(node);
  return selection_->Contains(node);
}

void TCustomqlDBTreeListControl::SetNodeSelected(TqlTreeListNode* node, bool selected) {
  if (!node || !IsOption(tloMultiSelect)) return;
  if (selected == selection_->Contains(node)) return;
  if (!selected) {
    selection_->Remove(node);
  } else {
    if (selection_->Count() == 0) selection_->Reset(SelectionByBookmark(), DataSet());
    TBookmarkStr bookmark;
    TDataSet* dataSet = DataSet();
    // A bookmark names the node's record: the data set is at that record while the node is
    // loaded or focused; elsewhere the record is reached through the record index.
    if (selection_->ByBookmark() && dataSet) {
      auto* dbNode = static_cast<TqlDBGridNode*>(node);
      const int current = dataSet->RecNo() - 1;
      if (dbNode->RecordIndex == current || !AllRecordsPresent()) {
        bookmark = dataSet->Bookmark();
      } else {
        TqlBusyScope busy(*this);  // the re-enabled controls' change is no outside change
        TDisabledControls disabled(*dataSet);
        const TBookmarkStr back = dataSet->Bookmark();
        dataSet->MoveBy(dbNode->RecordIndex - current);
        bookmark = dataSet->Bookmark();
        dataSet->SetBookmark(back);
      }
    }
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
  for (const TqlDBSelection::Entry& entry : selection_->Entries()) nodes.push_back(entry.Node);
  return nodes;
}

void TCustomqlDBTreeListControl::ClearSelection() {
  if (selection_->Count() == 0) return;
  selection_->Clear();
  if (!IsDestroying()) Invalidate();
}
