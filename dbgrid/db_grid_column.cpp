// The data-bound columns: binding a field by name and what the column takes from it.
#include "dbgrid/db_grid_column.h"

#include <algorithm>

#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"
#include "platform/gfx/canvas.h"

namespace {
constexpr int kWidthWithoutGrid = 64;
}

TqlDBTreeListColumn::TqlDBTreeListColumn(TComponent* AOwner) : TqlTreeListColumn(AOwner) {
  changed(true);  // the base took the core class's default width while it was being made
}

TqlDBTreeListColumn::~TqlDBTreeListColumn() = default;

TCustomqlDBTreeListControl* TqlDBTreeListColumn::DBTreeList() const {
  return dynamic_cast<TCustomqlDBTreeListControl*>(TreeList());
}

// ===== binding ================================================================================

void TqlDBTreeListColumn::SetFieldName(const std::string& value) {
  if (value == fieldName_) return;
  fieldName_ = value;
  ResolveField();
  changed(true);  // the caption and width without a field follow the name too
  // The grid reads the new field's texts on its next load; a bound, loaded grid reloads now.
  TCustomqlDBTreeListControl* grid = DBTreeList();
  if (grid && !grid->IsLoading() && !grid->IsDestroying() && grid->DataLink().Active())
    grid->FullRebuild();
}

void TqlDBTreeListColumn::ResolveField() {
  TCustomqlDBTreeListControl* grid = DBTreeList();
  if (grid && grid->IsLoading()) return;
  TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
  setField(dataSet && !fieldName_.empty() ? dataSet->FindField(fieldName_) : nullptr);
}

void TqlDBTreeListColumn::setField(TField* field) {
  if (field == field_) return;
  if (field_) RemoveFreeNotification(field_);
  field_ = field;
  if (field_) FreeNotification(field_);
  // Caption, alignment and width that follow the field change with it.
  changed(true);
}

void TqlDBTreeListColumn::Notification(TComponent* AComponent, TOperation Operation) {
  TqlTreeListColumn::Notification(AComponent, Operation);
  // A freed field unbinds the column; the grid binds it again by name when its data set
  // has fields again (every rebuild resolves the columns).
  if (Operation == opRemove && AComponent == field_) {
    field_ = nullptr;
    if (!IsDestroying()) changed(true);
  }
}

TVarType TqlDBTreeListColumn::ValueType() const {
  if (!field_) return varString;
  switch (field_->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftBoolean: case ftFloat: case ftCurrency: case ftBCD:
    case ftDate: case ftTime: case ftDateTime:
      return VarTypeOfFieldType(field_->DataType());
    default:
      return varString;
  }
}

bool TqlDBTreeListColumn::StoresValue() const {
  if (!field_) return false;
  if (ValueType() != varString) return true;
  // Text whose shown form differs from its value keeps the value too.
  return bool(field_->OnGetText) || !field_->EditMask().empty();
}

// ===== grouping and summaries =================================================================

void TqlDBTreeListColumn::SetDisableGrouping(bool value) {
  if (value == disableGrouping_) return;
  disableGrouping_ = value;
  if (value) groupIndex_ = -1;
}

void TqlDBTreeListColumn::SetGroupIndex(int value) {
  if (value < -1 || value == groupIndex_) return;
  if (disableGrouping_ && value >= 0) return;
  groupIndex_ = value;
}

void TqlDBTreeListColumn::SetSummaryType(TqlSummaryType value) {
  summaryType_ = value;
  if (value == cstNone) sortBySummary_ = false;
}

// ===== field-derived attributes ===============================================================

TAlignment TqlDBTreeListColumn::DefaultAlignment() const {
  return field_ ? field_->Alignment() : TqlTreeListColumn::DefaultAlignment();
}

std::string TqlDBTreeListColumn::DefaultCaption() const {
  return field_ ? field_->DisplayName() : fieldName_;
}

int TqlDBTreeListColumn::DefaultWidth() const {
  TCustomqlDBTreeListControl* grid = DBTreeList();
  if (!grid) return kWidthWithoutGrid;
  TCanvas& canvas = const_cast<TCustomqlDBTreeListControl*>(grid)->Canvas();
  const TFont savedFont = canvas.Font;
  canvas.Font = grid->HeaderFont();
  const std::string caption = Caption();
  const int byCaption = caption.empty() ? kWidthWithoutGrid : canvas.TextWidth(caption) + 6;
  int byField = 0;
  if (field_) {
    canvas.Font = Font();
    // The text metrics carry no overhang: it counts as 0.
    byField = canvas.TextWidth("0") * field_->DisplayWidth() + 4;
  }
  canvas.Font = savedFont;
  return std::max(byCaption, byField);
}

int TqlDBTreeListColumn::FieldMaxLength() const {
  if (!field_) return 0;
  const TFieldType type = field_->DataType();
  return type == ftString || type == ftWideString || type == ftFixedChar ? field_->Size() : 0;
}

bool TqlDBTreeListColumn::FieldReadOnly() const { return field_ && field_->ReadOnly(); }

void TqlDBTreeListColumn::RestoreDefaults() { TqlTreeListColumn::RestoreDefaults(); }

void TqlDBTreeListColumn::Assign(const TqlTreeListColumn& source) {
  TqlTreeListColumn::Assign(source);
  if (auto* other = dynamic_cast<const TqlDBTreeListColumn*>(&source)) {
    disableGrouping_ = other->disableGrouping_;
    summaryType_ = other->summaryType_;
    summaryField_ = other->summaryField_;
    summaryFormat_ = other->summaryFormat_;
    summaryGroupName_ = other->summaryGroupName_;
    sortBySummary_ = other->sortBySummary_;
    summaryFooterType_ = other->summaryFooterType_;
    summaryFooterField_ = other->summaryFooterField_;
    summaryFooterFormat_ = other->summaryFooterFormat_;
    OnGetText = other->OnGetText;
    SetFieldName(other->fieldName_);
  }
}

// ===== mask columns ===========================================================================

std::string TqlDBTreeListMaskColumn::EditMask() const {
  if (editMaskAssigned_) return editMask_;
  return Field() ? Field()->EditMask() : std::string();
}

void TqlDBTreeListMaskColumn::SetEditMask(const std::string& value) {
  editMask_ = value;
  editMaskAssigned_ = !(Field() && value == Field()->EditMask());
}

bool TqlDBTreeListMaskColumn::IsEditMaskStored() const {
  return editMaskAssigned_ && !(Field() && editMask_ == Field()->EditMask());
}
