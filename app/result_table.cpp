#include "app/result_table.h"

#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

TResultTable ResultTableOf(const TCustomqlTreeList& grid) {
  TResultTable table;
  const std::vector<int> columns = grid.FocusOrderColumns();  // absolute indexes
  if (columns.empty()) return table;
  for (int column : columns) table.Captions.push_back(grid.Model().GetColumnHeaderCaption(column));
  table.Cells.reserve(size_t(grid.ShownRowCount()) * columns.size());
  for (const TqlTreeListNode* node = grid.FirstShownNode(); node; node = node->GetNextVisible()) {
    if (grid.IsGroupRow(node)) {
      // A group row is one text; it goes into the first column.
      table.Cells.push_back(grid.GetGroupRowText(node));
      table.Cells.resize(table.Cells.size() + columns.size() - 1);
      continue;
    }
    for (int column : columns) table.Cells.push_back(grid.GetCellText(node, column));
  }
  return table;
}
