// Keeping the focused node and the data set's current record in step, in both directions,
// and what the grid does on each notification of its data link.
//
//   data set -> grid   SyncFocusFromDataSet: the node of the current record becomes focused
//   grid -> data set   SetFocusedNodeAndColumn -> MoveDataSetToNode: the data set moves by the
//                      record-index difference (or locates the node's key) under the busy flag,
//                      so the notifications of the grid's own move are not taken for outside
//                      changes; a failing move leaves the focus where it was
//
// Nodes keep the record index they were loaded with, so sorted rows still move the data set
// to the exact record, also when two records share a key value.
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "dbgrid/grid_registry.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"

#include <optional>

// ===== data set -> grid =======================================================================

TqlTreeListNode* TCustomqlDBTreeListControl::FindNodeByKey(const Variant& value) const {
  for (TqlTreeListNode* node : Roots())
    if (static_cast<const TqlDBGridNode*>(node)->KeyValue == value) return node;
  return nullptr;
}

namespace {
// The node of the data set's current record: the node loaded from that very record when its
// key matches, else the first node with the current key (records sharing a key).
TqlTreeListNode* nodeOfCurrentRecord(const TCustomqlDBTreeListControl& grid, const Variant& key,
                                     int recordPosition) {
  TqlTreeListNode* first = nullptr;
  for (TqlTreeListNode* node : grid.Roots()) {
    auto* dbNode = static_cast<const TqlDBGridNode*>(node);
    if (!(dbNode->KeyValue == key)) continue;
    if (dbNode->RecordIndex == recordPosition) return node;
    if (!first) first = node;
  }
  return first;
}
}  // namespace

void TCustomqlDBTreeListControl::SyncFocusFromDataSet() {
  if (busy_ || !keyFieldObject_ || !IsDBOption(egoCanNavigation)) return;
  TDataSet* dataSet = DataSet();
  if (!dataSet || dataSet->IsEmpty()) return;
  const int recordPosition = AllRecordsPresent() ? dataSet->RecNo() - 1 : -1;
  TqlTreeListNode* node = nodeOfCurrentRecord(*this, keyFieldObject_->Value(), recordPosition);
  if (!node) return;
  // Focusing the node must not move the data set back: it is already there.
  TqlBusyScope busy(*this);
  SetFocusedNodeAndColumn(node, FocusedColumn(), true);
}

// ===== grid -> data set =======================================================================

void TCustomqlDBTreeListControl::MoveDataSetToNode(TqlTreeListNode* target) {
  auto* node = dynamic_cast<TqlDBGridNode*>(target);
  TDataSet* dataSet = DataSet();
  if (busy_ || !node || !dataSet || dataSet->IsEmpty() || !IsDBOption(egoCanNavigation)) return;
  if (target == FocusedNode() && keyFieldObject_ && keyFieldObject_->Value() == node->KeyValue)
    return;
  // While the data set edits, its notifications must still arrive (the move posts and the
  // grid reloads), so the busy flag stays clear then.
  std::optional<TqlBusyScope> busy;
  if (!IsEditState(dataSet->State())) busy.emplace(*this);
  if (IsDBOption(egoUseLocate) || IsDBOption(egoSmartRefresh)) {
    if (!keyFieldObject_) return;
    TqlLocateScope locate(*this);
    dataSet->Locate(keyField_, node->KeyValue, TLocateOptions{});
    return;
  }
  // The data set's own position is where the move starts: after the data set moved by
  // itself to another record with the focused node's key, the focused node's record index
  // would be the wrong start.
  int currentRecord = dataSet->RecNo() - 1;
  int targetRecord = node->RecordIndex;
  if (dataSet->State() == dsInsert && insertNode_ && node != insertNode_) {
    // The nodes keep their load-time indexes: the records from the insert row on moved one
    // down when it went in. The move is measured from where the insert row stands.
    currentRecord = static_cast<TqlDBGridNode*>(insertNode_)->RecordIndex;
    if (targetRecord >= currentRecord) ++targetRecord;
  }
  if (targetRecord != currentRecord) dataSet->MoveBy(targetRecord - currentRecord);
}

void TCustomqlDBTreeListControl::SetFocusedNodeAndColumn(TqlTreeListNode* node, int focusIndex,
                                                         bool makeVisible) {
  // The current record moves first: when that fails the focus stays and the error goes on.
  if (node && node != FocusedNode() && !busy_ && IsAllRecordsMode() && dataLink_->Active()) {
    TDataSet* dataSet = dataLink_->DataSet();
    const bool wasEditing = dataSet && IsEditState(dataSet->State());
    MoveDataSetToNode(node);
    // Leaving an edit posts the record and the grid reloads, which already focused the node of
    // the current record: the old target may be gone. Only a surviving insert row keyed like
    // the current record is focused here.
    const bool insertRowStays = node == insertNode_ && keyFieldObject_ &&
                                static_cast<TqlDBGridNode*>(node)->KeyValue == keyFieldObject_->Value();
    if (wasEditing && !insertRowStays) {
      CheckChangeNodeEx();
      return;
    }
  }
  TCustomqlTreeListControl::SetFocusedNodeAndColumn(node, focusIndex, makeVisible);
  CheckChangeNodeEx();
}

// ===== change info ============================================================================

TqlChangeNodeInfo TCustomqlDBTreeListControl::CurrentChangeNodeInfo() const {
  TqlChangeNodeInfo info;
  TqlTreeListNode* focused = FocusedNode();
  if (!focused || !DataSet()) return info;
  info.KeyValue = keyFieldObject_ ? keyFieldObject_->Value() : Variant::Null();
  info.Level = focused->Level();
  info.Selected = IsNodeSelected(focused);
  return info;
}

void TCustomqlDBTreeListControl::CheckChangeNodeEx() {
  if (IsDestroying()) return;
  // The last info is kept also without a handler, so a handler assigned later fires on the
  // next real change only.
  const TqlChangeNodeInfo info = CurrentChangeNodeInfo();
  if (info == lastChangeNodeInfo_) return;
  lastChangeNodeInfo_ = info;
  if (OnChangeNodeEx) OnChangeNodeEx(this, FocusedNode());
}

// ===== notifications of the link ==============================================================

namespace {
// Refreshing the current record's node in place (re-placed, re-sorted, without reading the
// data set) comes with the windowed modes; until then it declines and the grid reloads.

// The buffered mode's window refresh comes with the windowed modes; it reloads for now.
void refreshBufferedWindow(TCustomqlDBTreeListControl& grid) {
  grid.LoadNodes();
  grid.SyncFocusFromDataSet();
}
}  // namespace

// The focused node is the current record (same key) and every record has its node: only that
// node is read again. Anything else (records added or removed, another record current, no
// key) leaves it to a reload.
bool TCustomqlDBTreeListControl::refreshCurrentRecordInPlace() {
  TDataSet* dataSet = DataSet();
  auto* node = dynamic_cast<TqlDBGridNode*>(FocusedNode());
  if (!dataSet || !node || keyField_.empty() || !IsAllRecordsMode()) return false;
  // A posted insert moved the records after it: their nodes' record indexes need a reload.
  if (insertNode_) return false;
  if (dataSet->State() != dsBrowse || dataSet->RecordCount() != Count()) return false;
  TField* key = dataSet->FindField(keyField_);
  if (!key || !(node->KeyValue == key->Value())) return false;
  FillNodeFromRecord(node);
  NodeChanged(node, false);
  return true;
}

void TCustomqlDBTreeListControl::addInsertNode(TDataSet& dataSet) {
  auto* focused = dynamic_cast<TqlDBGridNode*>(FocusedNode());
  const bool atEnd = dataSet.Eof() || !focused;
  TqlTreeListNode* added = atEnd                ? Add()
                           : focused->Parent() ? focused->Parent()->InsertChild(focused)
                                               : Insert(focused);
  auto* node = static_cast<TqlDBGridNode*>(added);
  node->RecordIndex = atEnd ? loadedRecordCount_ : focused->RecordIndex;
  FillNodeFromRecord(node);
  insertNode_ = node;
  insertKeyValue_ = node->KeyValue;
  TCustomqlTreeListControl::SetFocusedNodeAndColumn(node, FocusedColumn(), true);
}

void TCustomqlDBTreeListControl::LinkActiveChanged() {
  if (IsDestroying()) return;
  if (!dataLink_->Active()) HideEditor();
  FullRebuild();
}

void TCustomqlDBTreeListControl::LinkDataSetChanged() {
  if (IsDestroying()) return;
  TDataSet* dataSet = dataLink_->DataSet();
  // Smart refresh stands in for a reload when only the current record changed: not at either
  // end of the data, not while partial loading, not inside a layout change.
  const bool smartRefreshed = IsDBOption(egoSmartRefresh) && dataSet && !dataSet->Bof() &&
                              !dataSet->Eof() && !IsPartialLoadMode() && groupChangeLock_ == 0 &&
                              refreshCurrentRecordInPlace();
  if (!dataSet || dataSet->State() != dsInsert) {
    insertNode_ = nullptr;
    insertKeyValue_ = Variant();
  }
  // The grid's own locate: the focus moves where the data set went once the locate returns.
  if (locating_) {
    locating_ = false;
    return;
  }
  // The grid's own reading or moving: it settles the focus itself afterwards.
  if (busy_) return;
  if (IsAllRecordsMode() && TqlGridRegistry::OtherGridBusy(this, dataSet)) {
    // Another grid moves the shared data set: only the focus follows, the records are the same.
    scrolledHandling(0);
    return;
  }
  if (IsBufferedMode()) {
    refreshBufferedWindow(*this);
  } else if (dataSet && dataSet->State() == dsInsert && keyFieldObject_) {
    // A reload would cancel the insert: the new record gets a node of its own until it is
    // posted or cancelled, which reloads.
    if (!insertNode_) addInsertNode(*dataSet);
  } else if (!(dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsSetKey)) &&
             !smartRefreshed) {
    // LoadNodes keeps the top row and the sort.
    LoadNodes();
    SyncFocusFromDataSet();
  }
  // Checked once the nodes are final, so the handler gets the node that stays focused.
  CheckChangeNodeEx();
}

void TCustomqlDBTreeListControl::LinkDataSetScrolled(int distance) {
  if (IsDestroying() || busy_) return;
  scrolledHandling(distance);
}

void TCustomqlDBTreeListControl::scrolledHandling(int distance) {
  SyncFocusFromDataSet();
  if (IsDBOptionEx(egoSyncSelection) && IsOption(tloMultiSelect) && FocusedNode()) {
    ClearSelection();
    SetNodeSelected(FocusedNode(), true);
  }
  if (dataLink_->Active()) CheckChangeNodeEx();
}

void TCustomqlDBTreeListControl::LinkRecordChanged(TField* field) {
  if (IsDestroying() || busy_) return;
  recordChangedHandling(field);
}

void TCustomqlDBTreeListControl::recordChangedHandling(TField* field) {
  TDataSet* dataSet = DataSet();
  if (!dataSet || dataSet->State() == dsSetKey) return;
  if (!IsBufferedMode() && dataSet->State() == dsInsert && !insertNode_) return;
  auto* node = dynamic_cast<TqlDBGridNode*>(FocusedNode());
  if (!node) return;
  FillNodeFromRecord(node);
  NodeChanged(node, false);
  if (dataSet->State() == dsInsert && !insertNode_) {
    insertNode_ = node;
    insertKeyValue_ = node->KeyValue;
  }
}

void TCustomqlDBTreeListControl::LinkLayoutChanged() {
  if (IsDestroying()) return;
  TValueScope<int> groupChangeLock(groupChangeLock_, groupChangeLock_ + 1);
  TqlTreeListUpdateLock lock(*this);
  RefillFieldMap();
  if (defaultFields_) rebuildDefaultColumns();
  LoadNodes();
  SyncFocusFromDataSet();
}

void TCustomqlDBTreeListControl::LinkFocusControl(TField** field) {
  if (!field || !*field || !IsDBOption(egoCanNavigation)) return;
  int bound = -1;
  for (int column = 0; column < ColumnCount() && bound < 0; ++column)
    if (TqlDBTreeListColumn* object = DBColumn(column); object && object->Field() == *field)
      bound = column;
  if (bound < 0) return;
  if (!IsOption(tloRowSelect)) SetFocusedColumn(AbsoluteToFocusIndex(bound));
  if (FocusedAbsoluteColumn() == bound && IsOption(tloEditing)) {
    *field = nullptr;  // taken: this grid shows the field
    ShowEditor();
  }
}

void TCustomqlDBTreeListControl::LinkUpdateData() {
  if (dataLink_->Modified()) HideEditor();
}

// ===== leaving the grid =======================================================================

void TCustomqlDBTreeListControl::CMExit() {
  TDataSet* dataSet = DataSet();
  try {
    if (dataSet && IsDBOption(egoCancelOnExit) && dataSet->State() == dsInsert &&
        !dataLink_->Modified())
      dataSet->Cancel();
    else if (dataSet && dataLink_->Editing())
      dataLink_->UpdateRecord();
  } catch (...) {
    SetFocus();
    throw;
  }
  TCustomqlTreeListControl::CMExit();
}
