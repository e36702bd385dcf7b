// Best width: the width a column needs to show its widest cell text and its caption, applied
// by a double click on a header edge (one column) or a band edge (every column of the band).
#include <algorithm>
#include <vector>

#include "platform/gfx/canvas.h"
#include "treelist/treelist_requests.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

int TCustomqlTreeList::ColumnBestWidth(int column) const {
  TCanvas canvas;  // unbound: measures text as the screen would
  // The column layer's measure: the caption with room for the filter button, and the widest
  // cell text.
  int widest = GetColumnBestWidth(column, canvas);
  // The tree column's text starts right of the tree indent: measure it again with the indent.
  if (GetVisibleBandCount() > 0 && column == GetColumnAt(0, 0, 0)) {
    canvas.Font = ColumnHasOwnFont(column) ? GetColumnFont(column) : Font();
    const int indent = Metrics().LevelIndent;
    const int rootIndent = paintStyle_ == TqlPaintStyle::Tree && showRoot_ ? indent : 0;
    std::vector<const TqlTreeListNode*> pending(roots_.begin(), roots_.end());
    while (!pending.empty()) {
      const TqlTreeListNode* node = pending.back();
      pending.pop_back();
      for (int i = 0; i < node->Count(); ++i) pending.push_back(node->Items(i));
      if (IsGroupRow(node)) continue;
      const int width = canvas.TextWidth(GetCellText(node, column));
      widest = std::max(widest, width + node->Level() * indent + rootIndent);
    }
  }
  return widest;
}

void TCustomqlTreeList::ApplyBestWidth(int column) {
  if (column < 0 || column >= GetColumnCount() || !GetColumnSizing(column))
    return;  // a column that is not sizable keeps its width
  TCanvas canvas;
  canvas.Font = Font();
  const int margin = canvas.TextWidth("0") / 2 + 1;
  ApplyRequest({TqlRequestKind::ColumnWidth, column, ColumnBestWidth(column) + 2 * margin});
}

void TCustomqlTreeList::ApplyBandBestWidths(int visibleBand) {
  TqlTreeListUpdateLock lock(*this);
  std::vector<int> columns;
  const int rows = GetOccupiedHeaderRowCount(visibleBand);
  for (int row = 0; row < rows; ++row)
    for (int i = 0, n = GetColumnCountInRow(visibleBand, row); i < n; ++i)
      columns.push_back(GetColumnAt(visibleBand, row, i));
  // Collected first: each width change may rebuild the header layout the indexes come from.
  for (int column : columns) ApplyBestWidth(column);
}

void TCustomqlTreeList::ApplyAllBestWidths() {
  TqlTreeListUpdateLock lock(*this);
  for (int column = 0, n = GetColumnCount(); column < n; ++column) ApplyBestWidth(column);
}
