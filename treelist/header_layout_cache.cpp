#include "treelist/header_layout_cache.h"

#include <algorithm>

#include "platform/core/scope_exit.h"

void TqlHeaderLayoutCache::Clear() {
  BandList.clear();
  BandVisibleList.clear();
  HeaderGrid.clear();
  HeaderWidths.clear();
}

void TqlHeaderLayoutCache::RebuildBands(const std::vector<bool>& bandVisible) {
  rebuildingBands_ = true;
  ScopeExit done([this] { rebuildingBands_ = false; });
  BandList.clear();
  BandVisibleList.assign(bandVisible.size(), -1);
  for (size_t absoluteIndex = 0; absoluteIndex < bandVisible.size(); ++absoluteIndex) {
    if (!bandVisible[absoluteIndex]) continue;
    BandVisibleList[absoluteIndex] = static_cast<int>(BandList.size());
    BandList.push_back(static_cast<int>(absoluteIndex));
  }
}

void TqlHeaderLayoutCache::RebuildGrid(int visibleBandCount, std::vector<Placement> shownColumns,
                                       int columnCount) {
  rebuildingGrid_ = true;
  ScopeExit done([this] { rebuildingGrid_ = false; });
  std::sort(shownColumns.begin(), shownColumns.end(), [](const Placement& a, const Placement& b) {
    if (a.VisibleBand != b.VisibleBand) return a.VisibleBand < b.VisibleBand;
    if (a.RowIndex != b.RowIndex) return a.RowIndex < b.RowIndex;
    return a.Column < b.Column;
  });
  HeaderGrid.assign(std::max(visibleBandCount, 0), {});
  for (const Placement& p : shownColumns) {
    if (p.VisibleBand < 0 || p.VisibleBand >= visibleBandCount || p.RowIndex < 0) continue;
    auto& rows = HeaderGrid[p.VisibleBand];
    if (static_cast<int>(rows.size()) <= p.RowIndex) rows.resize(p.RowIndex + 1);
    rows[p.RowIndex].push_back(p.Column);
  }
  HeaderWidths.assign(std::max(columnCount, 0), kUnknown);
}

int TqlHeaderLayoutCache::HeaderWidth(int column, const std::function<int()>& compute,
                                      int fallback) {
  if (!IsWidthListUsable() || column < 0 || column >= static_cast<int>(HeaderWidths.size()))
    return compute();
  int& slot = HeaderWidths[column];
  if (slot == kComputing) return fallback;
  if (slot != kUnknown) return slot;
  slot = kComputing;
  int width = kUnknown;
  // The list may have been cleared meanwhile; an exception leaves the entry unknown.
  ScopeExit store([&] {
    if (column < static_cast<int>(HeaderWidths.size()) && HeaderWidths[column] == kComputing)
      HeaderWidths[column] = width;
  });
  width = compute();
  return width;
}
