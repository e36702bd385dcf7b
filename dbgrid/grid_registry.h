#pragma once
// Every data-aware grid of the process. A grid joins when created and leaves when destroyed;
// the list is freed when the last grid leaves. A grid asks it whether another grid bound to
// the same data set is busy reading or moving it.
#include <vector>

class TCustomqlDBTreeListControl;
class TDataSet;

namespace TqlGridRegistry {
void Add(TCustomqlDBTreeListControl* grid);
void Remove(TCustomqlDBTreeListControl* grid);
// Grids now listed, in the order they joined (empty when none).
std::vector<TCustomqlDBTreeListControl*> Grids();
// Another listed grid than self, bound to dataSet, is busy.
bool OtherGridBusy(const TCustomqlDBTreeListControl* self, const TDataSet* dataSet);
}  // namespace TqlGridRegistry
