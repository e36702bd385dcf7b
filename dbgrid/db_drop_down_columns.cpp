#include "dbgrid/db_drop_down_columns.h"

#include "treelist/inplace_image_edit.h"
#include "treelist/inplace_pick_edit.h"

TqlInplaceEdit* TqlDBTreeListPickColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplacePickEdit(owner);
}

void TqlDBTreeListPickColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlDBTreeListColumn::ApplyEditorSettings(editor);
  pickList_.ApplyTo(editor);
}

TqlInplaceEdit* TqlDBTreeListImageColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplaceImageEdit(owner);
}

void TqlDBTreeListImageColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlDBTreeListColumn::ApplyEditorSettings(editor);
  images_.ApplyTo(editor);
}

bool TqlDBTreeListImageColumn::CellDisplay(std::string& text, TqlCellImage& image) const {
  return images_.Display(text, image);
}
