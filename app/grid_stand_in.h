#pragma once
// TGridStandIn: holds the place of one of the search window's two data-aware grids until the
// grid control exists. It carries exactly what the search routine changes on a grid: the
// holder panel it sits in (Parent), its cursor and its data source. It is not a control, so
// the holders stay empty on screen; when the grid arrives it takes these members' names
// (SetParent, SetCursor, SetDataSource) and the search code stays as it is.
#include <string>

#include "platform/ui/control.h"

class TDataSource;
class TWinControl;

struct TGridStandIn {
  std::string Name;
  TWinControl* ParentHolder = nullptr;  // non-owning: FlatPanel4 (upper) or FlatPanel2 (lower)
  TDataSource* Source = nullptr;        // non-owning: one of the data module's data sources
  TCursor CursorShape = crDefault;

  TWinControl* Parent() const { return ParentHolder; }
  void SetParent(TWinControl* value) { ParentHolder = value; }
  TDataSource* DataSource() const { return Source; }
  // Re-assigning the same data source does nothing, as on the grid.
  void SetDataSource(TDataSource* value) { Source = value; }
  TCursor Cursor() const { return CursorShape; }
  void SetCursor(TCursor value) { CursorShape = value; }
};
