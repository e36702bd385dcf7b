// The keys only the data-aware grid has, deleting records, and horizontal scrolling by whole
// columns.
//
// Every record set of this program is read-only (CanModify is false), so the keys that would
// insert, append or delete find nothing to do; they keep their rules so that a writable data
// set behaves as the grid promises. Calling DeleteFocusedRecord on a read-only data set
// raises the record-set layer's own error and leaves every record in place.
#include <algorithm>

#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

// ===== keys ===================================================================================

void TCustomqlDBTreeListControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  TDataSet* dataSet = DataSet();
  if (dataSet && AcceptsKey(Key, Shift)) {
    const bool ctrl = Shift.contains(ssCtrl);
    bool consumed = false;
    switch (Key) {
      case VK_DELETE:
        if (ctrl) consumed = deleteKey(Shift);
        break;
      case VK_ESCAPE:
        if (EditorExists()) break;
        if (dataLink_->Modified()) {
          // An edit was started and nothing reported since: show the record as it is.
          FillNodeFromRecord(dynamic_cast<TqlDBGridNode*>(FocusedNode()));
          if (FocusedNode()) NodeChanged(FocusedNode(), false);
          dataLink_->SetModified(false);
        } else if (IsEditState(dataSet->State())) {
          dataSet->Cancel();
        }
        break;
      case VK_INSERT:
        if (!ctrl && !Shift.contains(ssShift) && IsDBOption(egoCanInsert) &&
            IsDBOption(egoCanNavigation) && dataSet->CanModify() && !IsOption(tloRowSelect)) {
          HideEditor();
          ClearSelection();
          dataSet->Insert();
          ShowEditor();
          consumed = true;
        }
        break;
      case VK_UP:
      case VK_DOWN: {
        const bool atEdge = Key == VK_UP ? FocusedNode() == FirstShownNode()
                                         : FocusedNode() == LastShownNode();
        if (atEdge && IsEditState(dataSet->State())) dataSet->CheckBrowseMode();
        if (Key == VK_DOWN && atEdge && IsDBOption(egoCanAppend) && IsDBOption(egoCanInsert) &&
            IsDBOption(egoCanNavigation) && dataSet->CanModify()) {
          dataSet->Append();
          consumed = true;
        }
        break;
      }
      case VK_LEFT:
      case VK_RIGHT:
        if (IsOption(tloRowSelect) && FocusedNode() && !ctrl) {
          WMHScroll(Key == VK_LEFT ? SB_LINEUP : SB_LINEDOWN, 0);
          consumed = true;
        }
        break;
      default:
        break;
    }
    if (consumed) {
      Key = 0;
      return;
    }
  }
  TCustomqlTreeListControl::KeyDown(Key, Shift);
}

bool TCustomqlDBTreeListControl::IsGridReadOnly() const {
  TDataSet* dataSet = DataSet();
  if (dataSet && dataSet->IsEmpty() && dataSet->State() == dsBrowse && !IsDBOption(egoCanInsert))
    return true;
  return !IsBufferedMode() && !keyFieldObject_;
}

bool TCustomqlDBTreeListControl::deleteKey(TShiftState) {
  TDataSet* dataSet = DataSet();
  if (!dataSet || NewItemRowActive() || !IsDBOption(egoCanDelete) ||
      !IsDBOption(egoCanNavigation) || IsGridReadOnly() || !FocusedNode())
    return false;
  // Nothing to delete, or a data set that cannot change: the key does nothing.
  if (dataSet->IsEmpty() || !dataSet->CanModify()) return true;
  const bool several = IsOption(tloMultiSelect) && SelectedCount() > 0;
  if (IsDBOption(egoConfirmDelete)) {
    const std::string text = several ? "Delete all selected records?" : "Delete record?";
    const int answer =
        ConfirmDeleteQuestion ? ConfirmDeleteQuestion(text, "Confirm")
        : Application        ? Application->MessageBox(text, "Confirm", MB_OKCANCEL | MB_ICONQUESTION)
                             : IDCANCEL;
    if (answer != IDOK) return true;
  }
  several ? DeleteSelection() : DeleteFocusedRecord();
  return true;
}

// ===== deleting ===============================================================================

void TCustomqlDBTreeListControl::DeleteFocusedRecord() {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !FocusedNode()) return;
  const Variant rememberedInsertKey = insertKeyValue_;
  try {
    MoveDataSetToNode(FocusedNode());
    dataSet->Delete();
  } catch (...) {
    insertKeyValue_ = rememberedInsertKey;
    throw;
  }
}

void TCustomqlDBTreeListControl::DeleteSelection() {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  std::vector<TqlDBSelection::Entry> entries = selection_->Entries();
  {
    TqlBusyScope busy(*this);
    TDisabledControls disabled(*dataSet);
    if (IsEditState(dataSet->State())) dataSet->Cancel();
    TBookmarkStr remembered = dataSet->Bookmark();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      try {
        if (selection_->ByBookmark()) {
          if (!dataSet->BookmarkValid(it->Bookmark)) continue;
          dataSet->SetBookmark(it->Bookmark);
        } else {
          auto* node = static_cast<TqlDBGridNode*>(it->Node);
          if (!keyFieldObject_ || !dataSet->Locate(keyField_, node->KeyValue, TLocateOptions{}))
            continue;  // a record no longer there only leaves the list
        }
        const TBookmarkStr deleted = dataSet->Bookmark();
        dataSet->Delete();
        if (deleted == remembered) remembered.clear();
      } catch (...) {
        if (!IsDBOption(egoExtMultiSelect)) {
          selection_->Clear();
          throw;
        }
      }
    }
    selection_->Clear();
    if (!remembered.empty() && dataSet->BookmarkValid(remembered)) dataSet->SetBookmark(remembered);
  }
  // The disabled controls' one change came while busy: reload for what was deleted.
  LoadNodes();
  SyncFocusFromDataSet();
}

// ===== horizontal scrolling by column ==========================================================

void TCustomqlDBTreeListControl::WMHScroll(TScrollCode code, int pos) {
  if (code == SB_LINEUP || code == SB_LINEDOWN || code == SB_THUMBTRACK ||
      code == SB_THUMBPOSITION) {
    horizontalScrollByColumn(code, pos);
    return;
  }
  TCustomqlTreeListControl::WMHScroll(code, pos);
}

void TCustomqlDBTreeListControl::horizontalScrollByColumn(TScrollCode code, int pos) {
  if (FocusColumnCount() == 0 || !CanScroll()) return;
  // Left edges of the first header row's columns in the scrolling bands, in scroll coordinates.
  std::vector<int> edges;
  int x = 0;
  const int leftFixed = GetLeftFixedVisibleBand(), rightFixed = GetRightFixedVisibleBand();
  for (int band = 0; band < GetVisibleBandCount(); ++band) {
    if (band == leftFixed || band == rightFixed) continue;
    for (int i = 0; i < GetColumnCountInRow(band, 0); ++i) {
      const int column = GetColumnAt(band, 0, i);
      if (column < 0) continue;
      edges.push_back(x);
      x += ComputeColumnHeaderWidth(column);
    }
  }
  const int total = x;
  if (edges.empty()) return;
  const bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
  const int from = thumb ? pos : LeftCoord();
  if (thumb && from < 1) return SetLeftCoord(0);
  if (thumb && from >= total) return SetLeftCoord(total);
  int index = static_cast<int>(std::upper_bound(edges.begin(), edges.end(), from) - edges.begin()) - 1;
  index = std::max(index, 0);
  const bool back = code == SB_LINEUP || (thumb && from + VisibleScrollWidth() < total / 2);
  index += back ? -1 : 1;
  index = std::clamp(index, 0, static_cast<int>(edges.size()));
  SetLeftCoord(index < static_cast<int>(edges.size()) ? edges[index] : total);
}
