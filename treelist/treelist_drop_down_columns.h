#pragma once
// Columns edited with the drop-down editors:
//   TqlTreeListPickColumn   free text with a pick list of suggestions (TqlInplacePickEdit)
//   TqlTreeListImageColumn  one of a list of values, shown as its description with an image
//                           in the cells and chosen from a popup (TqlInplaceImageEdit)
// The settings are read by the grid each time the editor is bound to a cell of the column.
#include "treelist/drop_down_column_settings.h"
#include "treelist/treelist_column.h"

class TqlTreeListPickColumn : public TqlTreeListColumn {
 public:
  using TqlTreeListColumn::TqlTreeListColumn;

  TqlPickListSettings& PickList() { return pickList_; }
  const TqlPickListSettings& PickList() const { return pickList_; }

  std::string EditorKind() const override { return "pick"; }
  bool HasEditorButton() const override { return true; }
  TqlInplaceEdit* CreateEditor(TComponent* owner) const override;
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;

 private:
  TqlPickListSettings pickList_;
};

class TqlTreeListImageColumn : public TqlTreeListColumn {
 public:
  using TqlTreeListColumn::TqlTreeListColumn;

  // Changing the lists or images repaints nothing by itself: set them before the grid shows,
  // or call the grid's Invalidate.
  TqlImageListSettings& Images() { return images_; }
  const TqlImageListSettings& Images() const { return images_; }

  std::string EditorKind() const override { return "image"; }
  bool HasEditorButton() const override { return true; }
  TqlInplaceEdit* CreateEditor(TComponent* owner) const override;
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;
  bool CellDisplay(std::string& text, TqlCellImage& image) const override;

 private:
  TqlImageListSettings images_;
};
