// TqlDBGridFilter (db_grid_filter.h): settings and the per-column operations; each change has
// the grid apply the criteria again (TCustomqlDBTreeListControl::ReapplyFilter).
#include "dbgrid/db_grid_filter.h"

#include "dbgrid/criteria_stream.h"
#include "dbgrid/custom_filter_dialog.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"

TqlDBGridFilter::TqlDBGridFilter(TCustomqlDBTreeListControl& grid) : grid_(grid) {}

TqlDBGridFilter::~TqlDBGridFilter() = default;

void TqlDBGridFilter::changed() { grid_.ReapplyFilter(); }

void TqlDBGridFilter::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (!active_) criteria_.Clear();
  changed();
}

void TqlDBGridFilter::SetAutoDataSetFilter(bool value) {
  if (autoDataSetFilter_ == value) return;
  if (!value) {
    if (TDataSet* dataSet = grid_.DataSet()) {
      dataSet->SetFilter("");
      dataSet->SetFiltered(false);
    }
  }
  autoDataSetFilter_ = value;
  changed();
}

void TqlDBGridFilter::SetCaseInsensitive(bool value) {
  if (criteria_.CaseInsensitive() == value) return;
  criteria_.SetCaseInsensitive(value);
  if (autoDataSetFilter_) changed();
}

void TqlDBGridFilter::SetFilterStatus(TqlDBGridFilterStatus value) {
  if (filterStatus_ == value) return;
  filterStatus_ = value;
  changed();
}

std::string TqlDBGridFilter::CriteriaStream() const { return WriteCriteriaStream(criteria_); }

void TqlDBGridFilter::SetCriteriaStream(std::string_view bytes) {
  try {
    ReadCriteriaStream(criteria_, bytes);
  } catch (const Exception&) {
    criteria_.Clear();  // damaged or from an unknown version: no criteria
  }
}

std::string FilterColumnName(TqlDBTreeListColumn& column) {
  if (column.Name().empty()) {
    // Conditions find their column by name: an unnamed column gets one that is unique among
    // its owner's components.
    TComponent* owner = column.Owner();
    for (int n = 1;; ++n) {
      const std::string name = "FilterColumn" + std::to_string(n);
      if (!owner || !owner->FindComponent(name)) {
        column.SetName(name);
        break;
      }
    }
  }
  return column.Name();
}

void TqlDBGridFilter::SetValue(TqlDBTreeListColumn& column, const Variant& value,
                               const std::string& text) {
  criteria_.SetValueItem(FilterColumnName(column), value, text);
  changed();
}

void TqlDBGridFilter::SetBlanks(TqlDBTreeListColumn& column, bool negated) {
  criteria_.SetBlanksItem(FilterColumnName(column), negated);
  changed();
}

void TqlDBGridFilter::ClearColumn(TqlDBTreeListColumn& column) {
  criteria_.RemoveItems(FilterColumnName(column));
  changed();
}

void TqlDBGridFilter::Custom(TqlDBTreeListColumn& column) {
  FilterColumnName(column);
  if (RunCustomFilterDialog(column, criteria_)) changed();
}

void TqlDBGridFilter::ClearAll() {
  criteria_.Clear();
  changed();
}

TqlFilterColumnState TqlDBGridFilter::ColumnState(const TqlDBTreeListColumn& column,
                                                  Variant& value) const {
  if (column.Name().empty()) {
    value = Variant();
    return fcsNone;
  }
  return criteria_.ColumnState(column.Name(), value);
}
