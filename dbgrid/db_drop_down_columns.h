#pragma once
// Data-aware columns edited with the drop-down editors: the pick-list column (a field's free
// text with suggestions) and the image column (a field holding one of a list of values, shown
// as its description with an image). TqlDBGridPickColumn and TqlDBGridImageColumn are the
// names the data-aware grid's column lists use.
#include "dbgrid/db_grid_column.h"
#include "treelist/drop_down_column_settings.h"

class TqlDBTreeListPickColumn : public TqlDBTreeListColumn {
 public:
  using TqlDBTreeListColumn::TqlDBTreeListColumn;

  TqlPickListSettings& PickList() { return pickList_; }
  const TqlPickListSettings& PickList() const { return pickList_; }

  std::string EditorKind() const override { return "pick"; }
  bool HasEditorButton() const override { return true; }
  TqlInplaceEdit* CreateEditor(TComponent* owner) const override;
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;

 private:
  TqlPickListSettings pickList_;
};

class TqlDBTreeListImageColumn : public TqlDBTreeListColumn {
 public:
  using TqlDBTreeListColumn::TqlDBTreeListColumn;

  // Set before the grid shows, or call the grid's Invalidate afterwards.
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

class TqlDBGridPickColumn : public TqlDBTreeListPickColumn {
 public:
  using TqlDBTreeListPickColumn::TqlDBTreeListPickColumn;
};

class TqlDBGridImageColumn : public TqlDBTreeListImageColumn {
 public:
  using TqlDBTreeListImageColumn::TqlDBTreeListImageColumn;
};
