#pragma once
// The header layout cache: which columns sit where in the header, so that painting, which asks
// for every cell, does not scan bands and columns.
//
// Four lists, each empty until filled and marked while being rebuilt; a query finds the list
// unusable (IsBandListUsable ...) in either state and then answers by scanning the model.
//   BandList          visible band index -> absolute band index
//   BandVisibleList   absolute band index -> visible band index or -1
//   HeaderGrid        [visible band][header row] -> absolute column indexes in position order;
//                     every row from 0 to the band's last occupied row has an entry
//   HeaderWidths      absolute column index -> width in the header (0 for a column not
//                     shown), filled one column at a time on demand
#include <functional>
#include <vector>

class TqlHeaderLayoutCache {
 public:
  // A shown column: visible, in an existing visible band.
  struct Placement {
    int Column = -1;       // absolute column index
    int VisibleBand = -1;
    int RowIndex = 0;
  };

  void Clear();
  // bandVisible[i] tells whether the band with absolute index i is visible.
  void RebuildBands(const std::vector<bool>& bandVisible);
  // Placements in any order; they are sorted by band, row and column index. columnCount
  // sizes the (empty) header-width list.
  void RebuildGrid(int visibleBandCount, std::vector<Placement> shownColumns, int columnCount);

  bool IsBandListUsable() const { return !rebuildingBands_ && !BandVisibleList.empty(); }
  bool IsGridUsable() const { return !rebuildingGrid_ && !HeaderGrid.empty(); }
  bool IsWidthListUsable() const { return !rebuildingGrid_ && !HeaderWidths.empty(); }

  // The stored header width of a column, computed by `compute` on first request. A column
  // whose width is asked again while it is being computed gets `fallback` (no recursion).
  int HeaderWidth(int column, const std::function<int()>& compute, int fallback);

  std::vector<int> BandList;
  std::vector<int> BandVisibleList;
  std::vector<std::vector<std::vector<int>>> HeaderGrid;
  std::vector<int> HeaderWidths;  // kUnknown until computed

  static constexpr int kUnknown = -1;
  static constexpr int kComputing = -2;

 private:
  bool rebuildingBands_ = false;
  bool rebuildingGrid_ = false;
};
