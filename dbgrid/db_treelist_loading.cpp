// Loading records into nodes (all-records mode), the full rebuild, and how loaded nodes sort.
//
// One load: under the busy flag, the core's update lock and the data set's disabled controls,
// remember the current record (bookmark) and the top row's key, clear the nodes, walk the data
// set from its first record to its end making one node per record (record index = its place
// in the walk), go back to the remembered record, sort by the sorted column, and put the
// remembered top row back on top. Every exit path releases the flags, the lock, the controls
// and the hourglass (scope guards).
//
// The buffered and partial-load modes load the same way for now but never sort: their own
// windowed reading comes later.
#include <algorithm>

#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "dbgrid/db_grid_filter.h"
#include "platform/core/utf8_case.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"
#include "platform/ui/services.h"

namespace {

// What one column reads from a record, worked out once per load.
struct ColumnBinding {
  TField* Field = nullptr;  // null: the column shows empty cells
  bool StoresValue = false;
};

std::vector<ColumnBinding> columnBindings(const TCustomqlDBTreeListControl& grid) {
  std::vector<ColumnBinding> bindings(grid.ColumnCount());
  for (int column = 0; column < grid.ColumnCount(); ++column)
    if (TqlDBTreeListColumn* object = grid.DBColumn(column)) {
      bindings[column].Field = object->Field();
      bindings[column].StoresValue = object->Field() && object->StoresValue();
    }
  return bindings;
}

// Texts and typed values of the bound columns from the data set's active record.
void fillCells(TqlDBGridNode& node, const std::vector<ColumnBinding>& bindings) {
  node.Texts.resize(bindings.size());
  node.ClearVariantData();
  for (size_t column = 0; column < bindings.size(); ++column) {
    const ColumnBinding& binding = bindings[column];
    if (!binding.Field) {
      node.Texts[column].clear();
      continue;
    }
    std::string_view view;
    if (binding.Field->DisplayTextView(view))
      node.Texts[column].assign(view);
    else
      node.Texts[column] = binding.Field->DisplayText();
    if (binding.StoresValue) {
      TNodeVariantData& data = node.SetVariantData(int(column));
      data.Value = binding.Field->Value();
      data.ValueAssigned = true;
    }
  }
}

}  // namespace

// ===== loading modes ==========================================================================

bool TCustomqlDBTreeListControl::IsAllRecordsMode() const { return IsDBOption(egoLoadAllRecords); }

bool TCustomqlDBTreeListControl::IsPartialLoadMode() const {
  return !IsAllRecordsMode() && optionsDB_.contains(edgoPartialLoad);
}

bool TCustomqlDBTreeListControl::IsBufferedMode() const {
  return !IsAllRecordsMode() && !IsPartialLoadMode();
}

bool TCustomqlDBTreeListControl::AllRecordsPresent() const {
  return IsAllRecordsMode() || (IsPartialLoadMode() && beginLoaded_ && endLoaded_);
}

bool TCustomqlDBTreeListControl::SelectionByBookmark() const {
  return optionsDB_.contains(edgoUseBookmarks) || IsBufferedMode();
}

// ===== full rebuild and load ==================================================================

void TCustomqlDBTreeListControl::FullRebuild() {
  if (IsLoading() || IsDestroying()) return;
  {
    TqlTreeListUpdateLock lock(*this);
    HideEditor();
    ClearNodes();
    ClearSelection();
    RefillFieldMap();
    LoadNodes();
  }
  SyncFocusFromDataSet();
  if (OnReloadGroupList) OnReloadGroupList(this);
}

void TCustomqlDBTreeListControl::LoadNodes() {
  if (IsLoading() || IsDestroying()) return;
  TqlBusyScope busy(*this);
  TqlTreeListUpdateLock lock(*this);
  resolveKeyField();
  resolvePreviewField();
  TDataSet* dataSet = DataSet();

  // The top row's key, to put it back on top when its record is still there.
  auto* top = dynamic_cast<TqlDBGridNode*>(TopNode());
  const bool keepTop = top && keyFieldObject_ && !top->KeyValue.IsNull();
  if (keepTop) savedTopKey_ = top->KeyValue;
  // The selection survives the reload by bookmark or by key value.
  if (SelectedCount() > 0 && IsOption(tloMultiSelect)) {
    std::vector<Variant> keys;
    for (TqlTreeListNode* node : GetSelectedNodes())
      if (auto* dbNode = dynamic_cast<TqlDBGridNode*>(node)) keys.push_back(dbNode->KeyValue);
    selection_->Save(keys);
  }
  selection_->Clear();  // its nodes go now
  insertNode_ = nullptr;
  loadedRecordCount_ = 0;
  ClearNodes();
  if (!dataSet || (!keyFieldObject_ && IsDBOption(egoCanNavigation))) {
    selection_->ForgetSaved();
    return;
  }
  if (OnClearNodeData) OnClearNodeData(this);
  if (OnBeforeCalcSummary) OnBeforeCalcSummary(this);

  TqlDBGridNode* newTop = nullptr;
  {
    TDisabledControls disabled(*dataSet);
    if (IsEditState(dataSet->State())) dataSet->Cancel();
    const TBookmarkStr bookmark = dataSet->Bookmark();
    THourglassScope hourglass(IsDBOption(egoShowHourGlass));
    const bool wasBof = dataSet->Bof(), wasEof = dataSet->Eof();
    const std::vector<ColumnBinding> bindings = columnBindings(*this);
    const bool restoreSelection = IsOption(tloMultiSelect) && selection_->HasSaved();

    int recordIndex = 0;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
      auto* node = static_cast<TqlDBGridNode*>(Add());
      node->KeyValue = keyFieldObject_ ? keyFieldObject_->Value() : Variant::Null();
      node->RecordIndex = recordIndex++;
      fillCells(*node, bindings);
      node->PreviewText = previewTextOfRecord();
      if (OnRefreshNodeData) OnRefreshNodeData(this, node);
      if (restoreSelection &&
          selection_->WasSelected(SelectionByBookmark() ? dataSet->Bookmark() : TBookmarkStr(),
                                  node->KeyValue))
        SetNodeSelected(node, true);
      if (keepTop && !newTop && node->KeyValue == savedTopKey_) newTop = node;
    }
    loadedRecordCount_ = recordIndex;

    // Back to the record that was current; an invalid bookmark is ignored.
    if (!bookmark.empty() && dataSet->BookmarkValid(bookmark)) dataSet->SetBookmark(bookmark);
    if (wasBof && !dataSet->Bof())
      dataSet->Prior();
    else if (wasEof && !dataSet->Eof())
      dataSet->Next();
  }
  selection_->ForgetSaved();
  // Rows the grid filter refuses are parked as they are read.
  if (filter_ && !filter_->Criteria().IsEmpty()) {
    resolveFilterColumns();
    std::vector<TqlTreeListNode*> shown, hidden;
    for (TqlTreeListNode* node : Roots()) (NodePassesFilter(node) ? shown : hidden).push_back(node);
    if (!hidden.empty()) {
      if (newTop && !NodePassesFilter(newTop)) newTop = nullptr;
      ReplaceTopLevelNodes(std::move(shown), std::move(hidden));
    }
  }
  SortLoadedNodes();
  if (newTop) SetTopNode(newTop);
}

void TCustomqlDBTreeListControl::FillNodeFromRecord(TqlDBGridNode* node) {
  if (!node) return;
  node->KeyValue = keyFieldObject_ ? keyFieldObject_->Value() : Variant::Null();
  fillCells(*node, columnBindings(*this));
  node->PreviewText = previewTextOfRecord();
  if (OnRefreshNodeData) OnRefreshNodeData(this, node);
}

// ===== sorting ================================================================================

TqlTreeListColumn* TCustomqlDBTreeListControl::loadedSortColumn() const {
  for (TqlTreeListColumn* column : SortedColumns())
    if (!DBColumn(IndexOfColumn(column)) || DBColumn(IndexOfColumn(column))->GroupIndex() < 0)
      return column;
  for (int i = 0; i < ColumnCount(); ++i)
    if (Columns(i)->Sorted() != csNone) return Columns(i);
  return nullptr;
}

void TCustomqlDBTreeListControl::SortLoadedNodes() {
  if (!IsAllRecordsMode()) return;
  TqlTreeListColumn* sortColumn = loadedSortColumn();
  if (!sortColumn) return;
  SortNodes(0, IndexOfColumn(sortColumn), sortColumn->Sorted() == csDown);
}

Variant TCustomqlDBTreeListControl::GetNodeSortValue(const TqlTreeListNode* node, int column) const {
  const TqlDBTreeListColumn* object = DBColumn(column);
  const bool stringValue = !object || object->ValueType() == varString ||
                           object->ValueType() == varOleStr;
  if (stringValue) {
    std::string text = GetCellText(node, column);
    if (IsDBOption(egoCaseInsensitive)) return Variant(Utf8UpperCase(text));
    return Variant(std::move(text));
  }
  auto* dbNode = static_cast<const TqlDBTreeListControlNode*>(node);
  const TNodeVariantData* data = dbNode->VariantData(column);
  return data && data->ValueAssigned ? data->Value : Variant::Null();
}

const std::string* TCustomqlDBTreeListControl::GetNodeSortText(const TqlTreeListNode* node,
                                                             int column) const {
  const TqlDBTreeListColumn* object = DBColumn(column);
  if (object && (object->OnGetText || (object->ValueType() != varString &&
                                       object->ValueType() != varOleStr)))
    return nullptr;
  return TCustomqlTreeListControl::GetNodeSortText(node, column);
}

// Rows whose sort keys are all equal are ordered by their key values, and rows whose key
// values are equal too (or missing) by load order, that is by record index. The grid promises
// only that "equal" rows stay together; taking load order as the last word is a deliberate
// refinement: a search, a re-sort or a reload of the same data always shows the same rows in
// the same places.
int TCustomqlDBTreeListControl::CompareNodesTieBreak(const TqlTreeListNode* a,
                                                     const TqlTreeListNode* b) const {
  auto* x = static_cast<const TqlDBGridNode*>(a);
  auto* y = static_cast<const TqlDBGridNode*>(b);
  if (!x->KeyValue.IsEmpty() && !y->KeyValue.IsEmpty()) {
    const int byKey = VarCompareOrLess(x->KeyValue, y->KeyValue);
    if (byKey != 0) return byKey;
  }
  return x->RecordIndex < y->RecordIndex ? -1 : x->RecordIndex > y->RecordIndex ? 1 : 0;
}

bool TCustomqlDBTreeListControl::IsAutoSortAllowed() const {
  return TCustomqlTreeListControl::IsAutoSortAllowed() && IsAllRecordsMode();
}

void TCustomqlDBTreeListControl::ResortAfterUnsort() {
  if (IsAllRecordsMode()) TCustomqlTreeListControl::ResortAfterUnsort();
}
