#include "dbgrid/grid_registry.h"

#include <algorithm>
#include <memory>

#include "dbgrid/db_treelist_control.h"

namespace {
// Created by the first grid and freed when the last one leaves.
std::unique_ptr<std::vector<TCustomqlDBTreeListControl*>>& registry() {
  static std::unique_ptr<std::vector<TCustomqlDBTreeListControl*>> grids;
  return grids;
}
}  // namespace

namespace TqlGridRegistry {

void Add(TCustomqlDBTreeListControl* grid) {
  auto& grids = registry();
  if (!grids) grids = std::make_unique<std::vector<TCustomqlDBTreeListControl*>>();
  if (std::find(grids->begin(), grids->end(), grid) == grids->end()) grids->push_back(grid);
}

void Remove(TCustomqlDBTreeListControl* grid) {
  auto& grids = registry();
  if (!grids) return;
  std::erase(*grids, grid);
  if (grids->empty()) grids.reset();
}

std::vector<TCustomqlDBTreeListControl*> Grids() {
  const auto& grids = registry();
  return grids ? *grids : std::vector<TCustomqlDBTreeListControl*>{};
}

bool OtherGridBusy(const TCustomqlDBTreeListControl* self, const TDataSet* dataSet) {
  const auto& grids = registry();
  if (!grids || !dataSet) return false;
  for (const TCustomqlDBTreeListControl* grid : *grids)
    if (grid != self && grid->Busy() && grid->DataSet() == dataSet) return true;
  return false;
}

}  // namespace TqlGridRegistry
