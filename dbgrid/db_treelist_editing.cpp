// TCustomqlDBTreeListControl, in-place editing of the bound fields: when a cell may be edited,
// the data set's edit state, and the field's edit text in and out of the editor.
//
// A cell is edited only when the link is active and writable, the grid can navigate records
// (or is buffered), has its key field (outside buffered mode), the row is a data row, and the
// focused column is not read-only and is bound to a field that can be written. Opening the
// editor puts the data set into edit state through the link; the editor's value goes back as
// the field's edit text, and the record is posted when the grid leaves it (the data link's
// update) or by the keys that post.
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_data_link.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"
#include "treelist/inplace_mask_edit.h"
#include "treelist/inplace_text_edit.h"
#include "treelist/treelist_node.h"

namespace {

// The field of the focused column when it can be written, else null.
TField* writableField(const TCustomqlDBTreeListControl& grid) {
  const int column = grid.FocusedAbsoluteColumn();
  TqlDBTreeListColumn* object = column >= 0 ? grid.DBColumn(column) : nullptr;
  if (!object || object->ReadOnly()) return nullptr;
  TField* field = object->Field();
  return field && field->CanModify() ? field : nullptr;
}

}  // namespace

void TqlDBTreeListColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlTreeListColumn::ApplyEditorSettings(editor);
  if (auto* text = dynamic_cast<TqlInplaceTextEdit*>(&editor); text && !IsMaxLengthStored())
    text->SetMaxLength(FieldMaxLength());
}

TqlInplaceEdit* TqlDBTreeListMaskColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplaceMaskEdit(owner);
}

void TqlDBTreeListMaskColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlDBTreeListColumn::ApplyEditorSettings(editor);
  if (auto* masked = dynamic_cast<TqlInplaceMaskEdit*>(&editor)) {
    masked->SetEditMask(EditMask());
    masked->SetIgnoreMaskBlank(IgnoreMaskBlank());
  }
}

void TCustomqlDBTreeListControl::ShowEditor() {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataLink_->Active() || dataLink_->ReadOnly()) return;
  if (!IsBufferedMode() && !IsDBOption(egoCanNavigation)) return;
  if (!IsBufferedMode() && keyField_.empty()) return;
  if (IsGroupRow(FocusedNode()) || !writableField(*this)) return;
  TCustomqlTreeListControl::ShowEditor();
  if (EditorExists() && dataLink_->Edit()) dataLink_->SetModified(true);
}

void TCustomqlDBTreeListControl::LinkEditingChanged() {
  if (IsDestroying() || LockUpdate() > 0) return;
  if (TqlTreeListNode* node = FocusedNode()) {
    InvalidateRect(NodeRect(node));  // empty when the row is off screen
  } else {
    Invalidate();
  }
}

bool TCustomqlDBTreeListControl::CanEditorModify() const {
  if (!writableField(*this) || dataLink_->ReadOnly()) return false;
  return dataLink_->Edit();
}

bool TCustomqlDBTreeListControl::CanEditorAcceptChar(char32_t Key) const {
  const int column = FocusedAbsoluteColumn();
  TqlDBTreeListColumn* object = column >= 0 ? DBColumn(column) : nullptr;
  return object && object->Field() && object->Field()->IsValidChar(Key);
}

bool TCustomqlDBTreeListControl::IsReadOnly() const { return dataLink_->ReadOnly(); }

std::string TCustomqlDBTreeListControl::EditorLoadText(TqlTreeListNode* node, int column) const {
  TqlDBTreeListColumn* object = DBColumn(column);
  if (object && object->Field() && node == FocusedNode()) return object->Field()->Text();
  return TCustomqlTreeListControl::EditorLoadText(node, column);
}

void TCustomqlDBTreeListControl::AssignEditValue(TqlTreeListNode* node, int column,
                                                 TqlInplaceEdit& editor) {
  TqlDBTreeListColumn* object = DBColumn(column);
  TField* field = object ? object->Field() : nullptr;
  if (!field || !dataLink_->Edit()) return;
  const std::string value = editor.ValueText();
  if (value != field->Text()) field->SetText(value);
}
