#include "treelist/treelist_edit_style.h"

#include "treelist/treelist_core.h"

TqlTreeListEditStyle::TqlTreeListEditStyle(TqlStyledEditor* editor, const TCustomqlTreeList* grid)
    : TqlEditStyle(editor), grid_(grid) {}

TqlEditBorderStyle TqlTreeListEditStyle::DefaultBorderStyle() const {
  return grid_->ShowGrid() ? xbsNone : xbsSingle;
}

TqlEditButtonViewStyle TqlTreeListEditStyle::DefaultButtonStyle() const {
  return ButtonStyleForLook(grid_->LookAndFeel());
}

TqlEditButtonViewStyle ButtonStyleForLook(TqlLookAndFeel look) {
  switch (look) {
    case lfFlat: return btsFlat;
    case lfUltraFlat: return btsHotFlat;
    default: return bts3D;
  }
}
