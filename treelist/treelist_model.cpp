// The empty model (treelist_model.h).
#include "treelist/treelist_model.h"

const TqlEmptyTreeListModel& TqlEmptyTreeListModel::Instance() {
  static const TqlEmptyTreeListModel model;
  return model;
}

const TFont& TqlEmptyTreeListModel::GetColumnFont(int) const {
  static const TFont font;  // never asked: there is no column
  return font;
}
