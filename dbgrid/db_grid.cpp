#include "dbgrid/db_grid.h"

TCustomqlDBGrid::TCustomqlDBGrid(TComponent* AOwner) : TCustomqlDBTreeListControl(AOwner) {}

TCustomqlDBGrid::~TCustomqlDBGrid() = default;

void TCustomqlDBGrid::SetShowGroupPanel(bool value) {
  if (value == showGroupPanel_) return;
  showGroupPanel_ = value;
  RecalcLayout();
}

void TCustomqlDBGrid::SetShowSummaryFooter(bool value) {
  if (value == showSummaryFooter_) return;
  showSummaryFooter_ = value;
  RecalcLayout();
}

TColor TCustomqlDBGrid::EditorColor() const {
  TColor color = TCustomqlDBTreeListControl::EditorColor();
  if (OnGetEditColor) {
    const int column = FocusedAbsoluteColumn();
    OnGetEditColor(const_cast<TCustomqlDBGrid*>(this), FocusedNode(),
                   column >= 0 ? Columns(column) : nullptr, color);
  }
  return color;
}
