// TCustomqlDBTreeListControl: construction, binding properties, the node class, what a cell
// shows, and the removal of the components the grid refers to.
#include "dbgrid/db_treelist_control.h"
#include "dbgrid/db_grid_filter.h"

#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/grid_registry.h"
#include "platform/core/utf8.h"
#include "platform/db/data_source.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"

TCustomqlDBTreeListControl::TCustomqlDBTreeListControl(TComponent* AOwner)
    : TCustomqlTreeListControl(AOwner),
      dataLink_(std::make_unique<TqlGridDataLink>(this)),
      selection_(std::make_unique<TqlDBSelection>()) {
  // Records are rows of equal standing: no tree indent for an ungrouped row.
  SetPaintStyle(TqlPaintStyle::Grid);
  applyPublishedOptions();
  TqlGridRegistry::Add(this);
}

TCustomqlDBTreeListControl::~TCustomqlDBTreeListControl() {
  // Nodes go while the grid is whole: deletion handlers and the selection still see it.
  Destroying();
  ClearNodes();
  dataLink_->SetDataSource(nullptr);
  TqlGridRegistry::Remove(this);
}

// ===== binding ================================================================================

TDataSource* TCustomqlDBTreeListControl::DataSource() const { return dataLink_->DataSource(); }

void TCustomqlDBTreeListControl::SetDataSource(TDataSource* value) {
  TDataSource* old = dataLink_->DataSource();
  if (value == old) return;
  ClearSelection();
  if (old) RemoveFreeNotification(old);
  // The link reports active changed as it leaves the old source and joins the new one.
  dataLink_->SetDataSource(value);
  if (value) FreeNotification(value);
  if (IsBufferedMode()) LinkActiveChanged();
}

TDataSet* TCustomqlDBTreeListControl::DataSet() const {
  return dataLink_->Active() ? dataLink_->DataSet() : nullptr;
}

void TCustomqlDBTreeListControl::SetKeyField(const std::string& value) {
  if (value == keyField_) return;
  keyField_ = value;
  FullRebuild();
}

void TCustomqlDBTreeListControl::SetPreviewFieldName(const std::string& value) {
  if (value == previewFieldName_) return;
  previewFieldName_ = value;
  FullRebuild();
}

void TCustomqlDBTreeListControl::SetPreviewMaxLength(int value) {
  if (value < 0) value = 0;
  if (value == previewMaxLength_) return;
  previewMaxLength_ = value;
  Invalidate();
}

// ===== life cycle =============================================================================

void TCustomqlDBTreeListControl::Loaded() {
  TCustomqlTreeListControl::Loaded();
  FullRebuild();
}

void TCustomqlDBTreeListControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomqlTreeListControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == dataLink_->DataSource()) {
    dataLink_->SetDataSource(nullptr);
    return;
  }
  if (AComponent == previewField_) previewField_ = nullptr;
  if (AComponent == keyFieldObject_) {
    keyFieldObject_ = nullptr;
    // The key field went away (its data set closed or changed its fields): nodes found by key
    // cannot be trusted any more.
    if (!IsDestroying()) FullRebuild();
  }
}

// ===== nodes and cells ========================================================================

TqlTreeListNode* TCustomqlDBTreeListControl::CreateNode() { return new TqlDBGridNode(this); }

std::string TCustomqlDBTreeListControl::GetCellText(const TqlTreeListNode* node, int column) const {
  std::string text = TCustomqlTreeListControl::GetCellText(node, column);
  TqlDBTreeListColumn* object = DBColumn(column);
  if (object && object->OnGetText) object->OnGetText(object, const_cast<TqlTreeListNode*>(node), text);
  return text;
}

Variant TCustomqlDBTreeListControl::GetCellValue(const TqlTreeListNode* node, int column) const {
  auto* dbNode = dynamic_cast<const TqlDBTreeListControlNode*>(node);
  if (dbNode)
    if (const TNodeVariantData* data = dbNode->VariantData(column); data && data->ValueAssigned)
      return data->Value;
  return Variant(GetCellText(node, column));
}

std::string TCustomqlDBTreeListControl::GetPreviewText(const TqlTreeListNode* node) const {
  auto* dbNode = dynamic_cast<const TqlDBTreeListControlNode*>(node);
  if (!dbNode) return {};
  std::string text = dbNode->PreviewText;
  if (OnGetPreviewText)
    OnGetPreviewText(const_cast<TCustomqlDBTreeListControl*>(this),
                     const_cast<TqlTreeListNode*>(node), text);
  return text;
}

TColor TCustomqlDBTreeListControl::GridLineDrawColor() const {
  if (GridLineColor() != clNone) return GridLineColor();
  const TColor face = ColorToRGB(clBtnFace);
  const bool faceInvisible = face == 0 || face == 0xFFFFFF || face == ColorToRGB(Color());
  return faceInvisible ? clBtnShadow : clBtnFace;
}

// ===== key and preview fields =================================================================

namespace {
// Points a free-notified field reference at another field.
void rebindField(TComponent& self, TField*& slot, TField* field) {
  if (slot == field) return;
  if (slot) self.RemoveFreeNotification(slot);
  slot = field;
  if (slot) self.FreeNotification(slot);
}
}  // namespace

void TCustomqlDBTreeListControl::resolveKeyField() {
  TDataSet* dataSet = DataSet();
  rebindField(*this, keyFieldObject_,
              dataSet && !keyField_.empty() ? dataSet->FindField(keyField_) : nullptr);
}

void TCustomqlDBTreeListControl::resolvePreviewField() {
  TDataSet* dataSet = DataSet();
  TField* field = dataSet && !previewFieldName_.empty() ? dataSet->FindField(previewFieldName_) : nullptr;
  // Of the blob kinds only text-like ones make a preview.
  if (field && field->IsBlob() && field->DataType() != ftBlob && field->DataType() != ftMemo &&
      field->DataType() != ftFmtMemo)
    field = nullptr;
  rebindField(*this, previewField_, field);
}

std::string TCustomqlDBTreeListControl::previewTextOfRecord() const {
  if (!previewField_) return {};
  try {
    if (previewField_->OnGetText) return previewField_->DisplayText();
    std::string text = previewField_->AsString();
    if (previewMaxLength_ > 0 && Utf8Length(text) > size_t(previewMaxLength_))
      text = Utf8Left(text, size_t(previewMaxLength_)) + "...";
    return text;
  } catch (const Exception&) {
    // A value that cannot be read leaves the preview empty; the row itself still shows.
    return {};
  }
}
