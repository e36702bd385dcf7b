// Placeholder until the dialog lands: no custom filter.
#include "dbgrid/filter_criteria.h"
bool RunCustomFilterDialog(TqlDBTreeListColumn&, TqlDBGridCriteria&) { return false; }
