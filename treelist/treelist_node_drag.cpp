// TqlTreeListInput, node drag-and-drop: the grid as the source or the target of a drag the
// platform's drag manager runs (drag_manager.h).
//
// Order of work
//   start   editing ends (the focus stays), the editor delay is dropped; the drag node is the
//           pressed node or the node under the mouse; OnBeginDragNode; the drag image (the
//           node's focused cell with its text from OnGetNodeDragText); state node dragging
//   over    both scroll timers stop; with tloDragExpand a node's expand button under the
//           mouse (re)starts the drag-expand timer (101, WaitForExpandNodeTime); with
//           tloDragScroll the 12-pixel edges of the scrolling rows start the 100 ms edge
//           scroll (32 pixels a tick), and over a row the node under the mouse takes the focus
//           (the column too with cell focus); at the top or bottom row on screen the 100 ms
//           row scroll moves the focus a row a tick while the mouse stays over the grid
//   expand  the timer fires with the mouse still over the same node's button: with
//           tloDragCollapse the node toggles and the timer restarts with twice the wait,
//           without it the node only opens
//   end     the drag node and the drag object are forgotten, the timers stop, state idle
#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_consts.h"
#include "platform/ui/drag_manager.h"
#include "platform/ui/services.h"
#include "treelist/header_drop_target.h"
#include "treelist/input_timers.h"
#include "treelist/node_drag_object.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

namespace {

constexpr int kImageExtraWidth = 26;   // the drag image is this much wider than the cell
constexpr int kImageExtraHeight = 6;   // and this much taller
constexpr int kFocusRectsLeft = 20;    // where its three focus rectangles start
constexpr int kDragScrollInterval = 100;

// Areas over which a node drag focuses the row under the mouse.
bool isDragScrollArea(TreeListHitArea area) {
  switch (area) {
    case haExpandButton: case haNodeImage: case haStateImage: case haTreeIndent: case haCell:
    case haRowRight: case haRowFooter: case haPreview:
      return true;
    default:
      return false;
  }
}

}  // namespace

TqlNodeDragObject::TqlNodeDragObject(TCustomqlTreeList& grid) : TDragObject(&grid), grid_(grid) {}

TCursor TqlNodeDragObject::GetDragCursor(bool accepted, TPoint) {
  if (!accepted) return crNoDrop;
  return grid_.SelectedCount() > 1 ? crMultiDrag : crDrag;
}

// ===== start =================================================================================

void TqlTreeListInput::StartNodeDrag(TDragObject*& dragObject) {
  grid_.HideEditor();
  if (qlEditorDelayTimer.owner == &grid_) StopProcessTimer(qlEditorDelayTimer);
  if (!grid_.DragNode()) grid_.SetDragNode(grid_.GetNodeAt(grid_.ScreenToClient(GetCursorPos())));
  nodeDragObject_ = std::make_unique<TqlNodeDragObject>(grid_);
  if (TqlTreeListNode* node = grid_.DragNode()) {
    if (grid_.OnBeginDragNode) grid_.OnBeginDragNode(&grid_, node);
    if (grid_.DragNode() == node) {  // the handler may have deleted it
      TBitmap image = nodeDragImage(node);
      nodeDragObject_->SetDragImage(image, {kFocusRectsLeft / 2, image.Height() / 2});
    }
  }
  dragObject = nodeDragObject_.get();
  press_.CtrlClick = press_.SelectOnRelease = false;
  mouseFeedback_.Dragging = true;
  grid_.SetState(tsNodeDragging);
}

// The focused cell of the node, 26 pixels wider and 6 taller, on the grid's colour: three
// nested focus rectangles from 20 pixels in, and the cell's text inside them.
TBitmap TqlTreeListInput::nodeDragImage(TqlTreeListNode* node) const {
  const int column = grid_.FocusIndexToAbsolute(grid_.FocusedColumn());
  TRect cell = grid_.CellRect(node, column);
  if (cell.IsEmpty()) cell = grid_.NodeRect(node);
  const int width = std::max(0, cell.Width()) + kImageExtraWidth;
  const int height = std::max(0, cell.Height()) + kImageExtraHeight;
  TBitmap image(width, height);
  TCanvas& canvas = image.Canvas();
  canvas.Brush.SetColor(grid_.Color());
  canvas.FillRect({0, 0, width, height});
  TRect frame{kFocusRectsLeft, 0, width, height};
  for (int i = 0; i < 3; ++i) {
    canvas.DrawFocusRect(frame);
    frame = frame.Inflate(-1, -1);
  }
  std::string text = column >= 0 ? grid_.GetCellText(node, column) : std::string();
  if (grid_.OnGetNodeDragText) grid_.OnGetNodeDragText(&grid_, node, column, text);
  canvas.Font = grid_.Font();
  canvas.Brush.SetStyle(bsClear);
  frame = frame.Inflate(-1, -1);
  canvas.DrawText(text, frame, DT_END_ELLIPSIS | DT_WORDBREAK | DT_NOPREFIX);
  return image;
}

// ===== over the grid =========================================================================

void TqlTreeListInput::NodeDragOver(TPoint p, TDragState state) {
  stopHeaderEdgeScroll();
  if (qlRowScrollTimer.owner == &grid_) StopProcessTimer(qlRowScrollTimer);
  if (state == dsDragLeave) return;
  const TreeListHitInfo hit = grid_.GetHitInfo(p);
  if (grid_.IsOption(tloDragExpand) && hit.Area == haExpandButton && hit.Node) {
    grid_.SetDragExpandNode(hit.Node);
    grid_.SetTimer(kqlDragExpandTimerId, grid_.WaitForExpandNodeTime());
  }
  if (!grid_.IsOption(tloDragScroll)) return;
  const TqlLayoutSnapshot frame = grid_.BuildLayoutSnapshot();
  if (p.Y >= frame.RowsRect.Top && p.Y < frame.RowsRect.Bottom) {
    headerEdgeScrollDirection_ = HeaderEdgeScrollDirection(frame, p.X);
    if (headerEdgeScrollDirection_ != 0)
      StartProcessTimer(qlHeaderEdgeScrollTimer, &grid_, kqlHeaderEdgeScrollInterval);
  }
  if (!isDragScrollArea(hit.Area) || !hit.Node) return;
  const bool cellFocus = !grid_.IsOption(tloRowSelect);
  const int focusIndex = cellFocus && hit.Column >= 0 ? grid_.AbsoluteToFocusIndex(hit.Column)
                                                      : grid_.FocusIndex();
  if (hit.Node != grid_.FocusedNode() || focusIndex != grid_.FocusIndex())
    grid_.SetFocusedNodeAndColumn(hit.Node, focusIndex, false);
  const int row = grid_.RowIndexOfNode(hit.Node);
  const int lastFull = grid_.TopRowIndex() + grid_.Metrics().FullRowCount - 1;
  rowScrollDirection_ = 0;
  if (hit.Node == grid_.TopNode() && row > 0) rowScrollDirection_ = -1;
  else if (row >= lastFull && row < grid_.ShownRowCount() - 1) rowScrollDirection_ = 1;
  if (rowScrollDirection_ != 0) StartProcessTimer(qlRowScrollTimer, &grid_, kDragScrollInterval);
}

void TqlTreeListInput::DragExpandTick() {
  grid_.KillTimer(kqlDragExpandTimerId);
  TqlTreeListNode* node = grid_.DragExpandNode();
  if (!node || grid_.State() != tsNodeDragging) return;
  const TreeListHitInfo hit = grid_.GetHitInfo(grid_.ScreenToClient(GetCursorPos()));
  if (hit.Area != haExpandButton || hit.Node != node) return;
  if (grid_.IsOption(tloDragCollapse)) {
    node->SetExpanded(!node->Expanded());
    grid_.SetTimer(kqlDragExpandTimerId, 2 * grid_.WaitForExpandNodeTime());
  } else {
    node->SetExpanded(true);
  }
}

// ===== end ===================================================================================

void TqlTreeListInput::EndNodeDrag() {
  stopHeaderEdgeScroll();
  if (qlRowScrollTimer.owner == &grid_) StopProcessTimer(qlRowScrollTimer);
  grid_.KillTimer(kqlDragExpandTimerId);
  grid_.SetDragExpandNode(nullptr);
  grid_.SetDragNode(nullptr);
  mouseFeedback_.Dragging = false;
  if (grid_.State() == tsNodeDragging) grid_.SetState(tsNormal);
  // The object stays alive until the drag manager is done with it; the next drag replaces it.
}
