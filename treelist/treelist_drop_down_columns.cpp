#include "treelist/treelist_drop_down_columns.h"

#include "treelist/inplace_image_edit.h"
#include "treelist/inplace_pick_edit.h"

TqlInplaceEdit* TqlTreeListPickColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplacePickEdit(owner);
}

void TqlTreeListPickColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlTreeListColumn::ApplyEditorSettings(editor);
  pickList_.ApplyTo(editor);
}

TqlInplaceEdit* TqlTreeListImageColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplaceImageEdit(owner);
}

void TqlTreeListImageColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlTreeListColumn::ApplyEditorSettings(editor);
  images_.ApplyTo(editor);
}

bool TqlTreeListImageColumn::CellDisplay(std::string& text, TqlCellImage& image) const {
  return images_.Display(text, image);
}
