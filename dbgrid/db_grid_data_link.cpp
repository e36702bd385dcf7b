#include "dbgrid/db_grid_data_link.h"

#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "treelist/treelist_types.h"

TqlDBTreeListControlDataLink::TqlDBTreeListControlDataLink(TCustomqlDBTreeListControl* AGrid)
    : grid_(AGrid) {
  fieldMap_.reserve(8);
}

TqlDBTreeListControlDataLink::~TqlDBTreeListControlDataLink() = default;

TField* TqlDBTreeListControlDataLink::MappedField(int entry) const {
  if (!Active() || entry < 0 || entry >= FieldMapCount()) return nullptr;
  const int32_t position = fieldMap_[entry];
  TDataSet* dataSet = DataSet();
  if (position < 0 || !dataSet || position >= dataSet->FieldCount()) return nullptr;
  return dataSet->Fields()[position];
}

void TqlDBTreeListControlDataLink::ClearFieldMap() { fieldMap_.clear(); }

void TqlDBTreeListControlDataLink::AddFieldPosition(int32_t position) {
  if (FieldMapCount() >= kMaxFieldMapEntries)
    throw EInvalidqlTreeListOperation("Too many fields in the grid's field map");
  // Doubling from 8 keeps the growth the same on every standard library.
  if (fieldMap_.size() == fieldMap_.capacity())
    fieldMap_.reserve(std::min<size_t>(std::max<size_t>(8, fieldMap_.capacity() * 2),
                                       size_t(kMaxFieldMapEntries)));
  fieldMap_.push_back(position);
}

void TqlDBTreeListControlDataLink::ActiveChanged() { grid_->LinkActiveChanged(); }

void TqlDBTreeListControlDataLink::DataSetChanged() {
  grid_->LinkDataSetChanged();
  modified_ = false;
}

// The link measures the window's shift towards the end; the grid wants the rows' direction.
void TqlDBTreeListControlDataLink::DataSetScrolled(int Distance) {
  grid_->LinkDataSetScrolled(-Distance);
}

void TqlDBTreeListControlDataLink::RecordChanged(TField* Field) {
  grid_->LinkRecordChanged(Field);
  modified_ = false;
}

void TqlDBTreeListControlDataLink::LayoutChanged() { grid_->LinkLayoutChanged(); }

void TqlDBTreeListControlDataLink::FocusControl(TField** Field) { grid_->LinkFocusControl(Field); }

void TqlDBTreeListControlDataLink::UpdateData() {
  grid_->LinkUpdateData();
  modified_ = false;
}

void TqlDBTreeListControlDataLink::EditingChanged() {
  // The indicator shows the edit state of the focused row: that row repaints.
  grid_->LinkEditingChanged();
}
