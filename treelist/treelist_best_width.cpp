// TqlTreeListInput, best width: the width a column needs to show its widest cell text and its
// caption, applied by a double click on a header edge (one column) or a band edge (every column
// of the band).
#include <algorithm>
#include <vector>

#include "platform/gfx/canvas.h"
#include "treelist/treelist_requests.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_node.h"

int TqlTreeListInput::ColumnBestWidth(int column) const {
  TCanvas canvas;  // unbound: measures text as the screen would
  // The column layer's measure: the caption with room for the filter button, and the widest
  // cell text.
  int widest = grid_.Model().GetColumnBestWidth(column, canvas);
  // The tree column's text starts right of the tree indent: measure it again with the indent.
  if (grid_.Model().GetVisibleBandCount() > 0 && column == grid_.Model().GetColumnAt(0, 0, 0)) {
    canvas.Font = grid_.Model().ColumnHasOwnFont(column) ? grid_.Model().GetColumnFont(column) : grid_.Font();
    const int indent = grid_.Metrics().LevelIndent;
    const int rootIndent =
        grid_.PaintStyle() == TqlPaintStyle::Tree && grid_.ShowRoot() ? indent : 0;
    const std::vector<TqlTreeListNode*>& roots = grid_.Roots();
    std::vector<const TqlTreeListNode*> pending(roots.begin(), roots.end());
    while (!pending.empty()) {
      const TqlTreeListNode* node = pending.back();
      pending.pop_back();
      for (int i = 0; i < node->Count(); ++i) pending.push_back(node->Items(i));
      if (grid_.IsGroupRow(node)) continue;
      const int width = canvas.TextWidth(grid_.GetCellText(node, column));
      widest = std::max(widest, width + node->Level() * indent + rootIndent);
    }
  }
  return widest;
}

void TqlTreeListInput::ApplyBestWidth(int column) {
  if (column < 0 || column >= grid_.Model().GetColumnCount() || !grid_.Model().GetColumnSizing(column))
    return;  // a column that is not sizable keeps its width
  TCanvas canvas;
  canvas.Font = grid_.Font();
  const int margin = canvas.TextWidth("0") / 2 + 1;
  grid_.ApplyRequest(
      {TqlRequestKind::ColumnWidth, column, grid_.ColumnBestWidth(column) + 2 * margin});
}

void TqlTreeListInput::ApplyBandBestWidths(int visibleBand) {
  TqlTreeListUpdateLock lock(grid_);
  std::vector<int> columns;
  const int rows = grid_.Model().GetOccupiedHeaderRowCount(visibleBand);
  for (int row = 0; row < rows; ++row)
    for (int i = 0, n = grid_.Model().GetColumnCountInRow(visibleBand, row); i < n; ++i)
      columns.push_back(grid_.Model().GetColumnAt(visibleBand, row, i));
  // Collected first: each width change may rebuild the header layout the indexes come from.
  for (int column : columns) ApplyBestWidth(column);
}

void TqlTreeListInput::ApplyAllBestWidths() {
  TqlTreeListUpdateLock lock(grid_);
  for (int column = 0, n = grid_.Model().GetColumnCount(); column < n; ++column) ApplyBestWidth(column);
}
