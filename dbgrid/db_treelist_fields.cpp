// Which field each column shows: the link's field map, the DefaultFields mode (columns made
// from and following the data set's visible fields) and the column class made for a field.
#include <algorithm>

#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"

TqlDBTreeListColumn* TCustomqlDBTreeListControl::DBColumn(int column) const {
  return dynamic_cast<TqlDBTreeListColumn*>(Columns(column));
}

void TCustomqlDBTreeListControl::RemoveColumnData(TqlTreeListNode* node, int column) {
  TCustomqlTreeListControl::RemoveColumnData(node, column);
  if (auto* dbNode = dynamic_cast<TqlDBTreeListControlNode*>(node)) dbNode->RemoveVariantData(column);
}

TqlDBTreeListColumn* TCustomqlDBTreeListControl::CreateColumnForField(TField* field) {
  // One column class serves every field kind (lookup and calculated fields included).
  // The grid owns these columns: a name must be free among its components as well as its
  // owner's.
  std::string name = UniqueColumnName();
  for (int n = ColumnCount() + 1; FindComponent(name); ++n) name = Name() + "Column" + std::to_string(n);
  auto* column = new TqlDBGridColumn(this);
  column->SetName(name);
  AddColumn(column);
  if (field) column->SetFieldName(field->FieldName());
  return column;
}

void TCustomqlDBTreeListControl::CheckColumnAddedByHand() const {
  if (defaultFields_)
    throw EInvalidqlTreeListOperation("DefaultFields property should be set to False");
}

void TCustomqlDBTreeListControl::CreateDefaultColumns() {
  TDataSet* dataSet = dataLink_->DataSet();
  if (!dataSet) return;
  TqlTreeListUpdateLock lock(*this);
  for (int i = 0; i < dataSet->FieldCount(); ++i) {
    TField* field = dataSet->Fields()[i];
    TqlDBTreeListColumn* column = CreateColumnForField(field);
    column->SetVisible(field->Visible());
  }
  RefillFieldMap();
}

void TCustomqlDBTreeListControl::SetDefaultFields(bool value) {
  if (value == defaultFields_) return;
  TqlTreeListUpdateLock lock(*this);
  defaultFields_ = value;
  if (value) {
    options_.exclude(egoLoadAllRecords);
    for (int column = 0; column < ColumnCount(); ++column)
      if (TqlDBTreeListColumn* object = DBColumn(column)) object->SetGroupIndex(-1);
    SetDefaultLayout(true);
  } else if (optionsDB_.contains(edgoLoadAllRecords)) {
    options_.include(egoLoadAllRecords);
  }
  RefillFieldMap();
  if (value) rebuildDefaultColumns();
}

void TCustomqlDBTreeListControl::RefillFieldMap() {
  dataLink_->ClearFieldMap();
  TDataSet* dataSet = dataLink_->DataSet();
  if (defaultFields_) {
    if (dataSet)
      for (int i = 0; i < dataSet->FieldCount(); ++i)
        if (dataSet->Fields()[i]->Visible()) dataLink_->AddFieldPosition(i);
  } else {
    for (int column = 0; column < ColumnCount(); ++column) {
      TqlDBTreeListColumn* object = DBColumn(column);
      TField* field = dataSet && object && !object->FieldName().empty()
                          ? dataSet->FindField(object->FieldName())
                          : nullptr;
      dataLink_->AddFieldPosition(field ? dataSet->Fields().IndexOf(field) : -1);
    }
  }
  for (int column = 0; column < ColumnCount(); ++column)
    if (TqlDBTreeListColumn* object = DBColumn(column)) object->ResolveField();
}

void TCustomqlDBTreeListControl::rebuildDefaultColumns() {
  if (!defaultFields_) return;
  TqlTreeListUpdateLock lock(*this);
  if (!dataLink_->Active()) {
    DestroyColumns();
    return;
  }
  std::vector<TField*> mapped;
  for (int entry = 0; entry < dataLink_->FieldMapCount(); ++entry)
    if (TField* field = dataLink_->MappedField(entry)) mapped.push_back(field);
  // Columns whose field is gone or no longer shown go first.
  for (int column = ColumnCount() - 1; column >= 0; --column) {
    TqlDBTreeListColumn* object = DBColumn(column);
    if (!object || !object->Field() ||
        std::find(mapped.begin(), mapped.end(), object->Field()) == mapped.end())
      delete Columns(column);
  }
  // Then one column per mapped field, in field order.
  for (int position = 0; position < static_cast<int>(mapped.size()); ++position) {
    TqlDBTreeListColumn* found = nullptr;
    for (int column = 0; column < ColumnCount() && !found; ++column)
      if (DBColumn(column) && DBColumn(column)->Field() == mapped[position]) found = DBColumn(column);
    if (!found) found = CreateColumnForField(mapped[position]);
    found->SetIndex(position);
  }
}
