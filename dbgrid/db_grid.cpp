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
