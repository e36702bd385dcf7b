#pragma once
// The drag object of a node drag from a tree-list grid (treelist_node_drag.cpp): it carries
// the drag image, and its cursor counts the grid's selected nodes.
#include "platform/ui/drag_manager.h"

class TCustomqlTreeList;

class TqlNodeDragObject : public TDragObject {
 public:
  explicit TqlNodeDragObject(TCustomqlTreeList& grid);
  // crDrag for one node, crMultiDrag for several; crNoDrop where nothing accepts the drag.
  TCursor GetDragCursor(bool accepted, TPoint screenPos) override;

 private:
  TCustomqlTreeList& grid_;
};
