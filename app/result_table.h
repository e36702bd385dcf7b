#pragma once
// TResultTable: the texts a result grid shows, as plain rows for exporting. Columns are the
// grid's visible columns in their current order (the keyboard's focus order: left to right
// as the header shows them), rows every shown row in the grid's current order, texts as the
// cells show them.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

class TCustomqlTreeList;

struct TResultTable {
  std::vector<std::string> Captions;  // one per column; the header's texts
  std::vector<std::string> Cells;     // row by row: RowCount() * ColumnCount() texts

  size_t ColumnCount() const { return Captions.size(); }
  size_t RowCount() const { return Captions.empty() ? 0 : Cells.size() / Captions.size(); }
  std::span<const std::string> Row(size_t row) const {
    return {Cells.data() + row * ColumnCount(), ColumnCount()};
  }
};

TResultTable ResultTableOf(const TCustomqlTreeList& grid);
