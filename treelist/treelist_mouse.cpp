// TqlTreeListInput, the presses: what a press, a move and a release do over each area,
// cancelling a tracking operation, the cursor over the grid, and the timers behind them.
//
// A press records what lay under it (the press record) and, by area, starts a sizing
// operation (treelist_sizing.cpp), pushes a header element, or focuses and selects a row. A
// move drives the running operation; a release ends it. Painting only reads the mouse
// feedback, which is kept equal to the press record's pushed flags here.
//
// Timers: input_timers.h.
#include <algorithm>
#include <cstdlib>

#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "platform/ui/screen_overlay.h"
#include "treelist/input_timers.h"
#include "treelist/node_drag_object.h"
#include "treelist/treelist_anchor_mode.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

namespace {

constexpr int kRowScrollInterval = 60;
constexpr int kDragThreshold = 5;       // pixels a pressed header moves before it is dragged

bool isRowArea(TreeListHitArea area) {
  switch (area) {
    case haNodeImage: case haStateImage: case haCell: case haNewItemRow: case haRowFooter:
    case haPreview:
      return true;
    default:
      return false;
  }
}

bool isSizingState(TqlTreeListState state) {
  switch (state) {
    case tsColumnSizing: case tsBandSizing: case tsBandPanelSizing: case tsHeaderPanelSizing:
    case tsRowSizing:
      return true;
    default:
      return false;
  }
}

bool movedBeyondThreshold(TPoint from, TPoint to) {
  return std::abs(to.X - from.X) > kDragThreshold || std::abs(to.Y - from.Y) > kDragThreshold;
}

}  // namespace

TqlProcessTimer qlEditorDelayTimer{nullptr, kqlEditorDelayTimerId};
TqlProcessTimer qlRowScrollTimer{nullptr, kqlRowScrollTimerId};
TqlProcessTimer qlHeaderEdgeScrollTimer{nullptr, kqlHeaderEdgeScrollTimerId};

void StartProcessTimer(TqlProcessTimer& timer, TCustomqlTreeList* grid, int interval) {
  if (timer.owner && timer.owner != grid) timer.owner->KillTimer(timer.id);
  timer.owner = grid;
  grid->SetTimer(timer.id, interval);
}

void StopProcessTimer(TqlProcessTimer& timer) {
  if (timer.owner) timer.owner->KillTimer(timer.id);
  timer.owner = nullptr;
}

TqlTreeListInput::TqlTreeListInput(TCustomqlTreeList& grid) : grid_(grid) {}

// Process-wide timers point at their grid; a grid going away takes its entries back.
TqlTreeListInput::~TqlTreeListInput() {
  for (TqlProcessTimer* timer : {&qlEditorDelayTimer, &qlRowScrollTimer, &qlHeaderEdgeScrollTimer})
    if (timer->owner == &grid_) timer->owner = nullptr;
}

// ===== small questions ======================================================================

bool TqlTreeListInput::inputFocusInside() const {
  const TCustomForm* form = grid_.GetParentForm();
  const TWinControl* active = form ? form->ActiveControl() : nullptr;
  return active && (active == &grid_ || grid_.ContainsControl(active));
}

bool TqlTreeListInput::overHeaderCell(int column, TPoint p) const {
  if (column < 0) return false;
  const auto frame = grid_.LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  return cell && cell->Rect.Contains(p) && cell->VisibleRect.Contains(p);
}

bool TqlTreeListInput::overBandCell(int band, TPoint p) const {
  const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
  if (visible < 0) return false;
  const auto frame = grid_.LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visible);
  return cell && cell->Rect.Contains(p) && cell->VisibleRect.Contains(p);
}

bool TqlTreeListInput::overFilterButton(int column, TPoint p) const {
  return overHeaderCell(column, p) && IsFilterButton(headerPartAt(column, p));
}

void TqlTreeListInput::invalidateHeaderCell(int column) {
  const auto frame = grid_.LayoutFrame();
  if (const TqlHeaderCell* cell = frame->HeaderCellOf(column)) grid_.InvalidateRect(cell->Rect);
}

void TqlTreeListInput::invalidateBandCell(int band) {
  const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
  const auto frame = grid_.LayoutFrame();
  if (const TqlBandCell* cell = frame->BandCellOf(visible)) grid_.InvalidateRect(cell->Rect);
}

TRect TqlTreeListInput::statusCloseButtonRect() const {
  if (!grid_.StatusCloseButtonShown()) return {};
  const TRect status = grid_.LayoutFrame()->StatusRect;
  if (status.IsEmpty()) return {};
  const int top = status.Top + (status.Height() - 11) / 2;
  return {status.Left + 3, top, status.Left + 3 + 12, top + 11};
}

// ===== press ================================================================================

bool TqlTreeListInput::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
  const bool doubleClick = shift.contains(ssDouble);
  if (button == mbLeft) {
    if (qlEditorDelayTimer.owner == &grid_) StopProcessTimer(qlEditorDelayTimer);
    press_.Time = GetTickCount();
  }
  // 1.-3. End editing, forget the last press's flags, take the input focus.
  if (grid_.EditorExists()) grid_.HideEditorWithFocus();
  press_.CtrlClick = press_.SelectOnRelease = press_.EditorOnRelease = false;
  press_.GaveFocus = false;
  if (!grid_.IsDesigning() && grid_.GetParentForm() && grid_.CanFocus()) {
    const bool hadFocus = inputFocusInside();
    grid_.SetFocus();
    if (!inputFocusInside()) {  // a handler moved the focus elsewhere
      grid_.SetMouseCaptureOnPress(false);
      return false;
    }
    press_.GaveFocus = !hadFocus;
  }

  // 4., 5. What lies under the press; a right press cancels a running operation.
  const TreeListHitInfo hit = grid_.GetHitInfo(p);
  press_.Hit = hit;
  press_.Point = p;
  if (grid_.State() != tsNormal && button == mbRight) grid_.EndMouseTracking();

  // 6. Edges, headers and corner buttons.
  if (button == mbLeft && grid_.State() == tsNormal) pressHeaderArea(hit, doubleClick);

  // 7. Rows.
  if (grid_.State() == tsEditing) {
    grid_.HideEditorWithFocus();
  } else if (grid_.State() == tsNormal && button != mbMiddle) {
    if (!pressRows(button, shift, hit, doubleClick)) return false;  // the press ends there
  }

  // 8. A double click anywhere else over the rows.
  if (doubleClick && button == mbLeft && grid_.DblClicksEnabled() &&
      (hit.Area == haInside || (hit.Area >= haExpandButton && hit.Area <= haOutside)))
    grid_.RaiseDblClick();
  // 9. Anchor scrolling.
  if (button == mbMiddle && grid_.State() == tsNormal) grid_.AnchorScroll(p);
  return true;
}

// The left button in idle state over the header parts; returns whether an action was taken.
bool TqlTreeListInput::pressHeaderArea(const TreeListHitInfo& hit, bool doubleClick) {
  const TPoint p{hit.X, hit.Y};
  switch (hit.Area) {
    case haBandEdge:
      if (hit.Band < 0) return false;
      if (doubleClick) {
        ApplyBandBestWidths(hit.Band);
        if (grid_.OnChangedColumnsWidth) grid_.OnChangedColumnsWidth(&grid_);
      } else {
        startSizing(tsBandSizing, hit.X);
      }
      return true;
    case haHeaderEdge:
      if (hit.Column < 0) return false;
      if (doubleClick) {
        {
          TqlTreeListUpdateLock lock(grid_);
          ApplyBestWidth(hit.Column);
        }
        if (grid_.OnChangedColumnsWidth) grid_.OnChangedColumnsWidth(&grid_);
      } else {
        startSizing(tsColumnSizing, hit.X);
      }
      return true;
    case haBandPanelEdge:
      if (!doubleClick) startSizing(tsBandPanelSizing, hit.Y);
      return true;
    case haHeaderPanelEdge:
      if (!doubleClick) startSizing(tsHeaderPanelSizing, hit.Y);
      return true;
    case haRowEdge:
      if (doubleClick || !hit.Node) return true;
      grid_.SetDragNode(hit.Node);  // cleared when the node goes
      startSizing(tsRowSizing, hit.Y);
      return true;
    case haBand: {
      if (hit.Band < 0) return false;
      grid_.SetState(tsBandDown);
      press_.PressedBand = grid_.Model().GetVisibleBandIndexToAbsolute(hit.Band);
      press_.BandStillPushed = true;
      mouseFeedback_.BandDown = hit.Band;
      invalidateBandCell(press_.PressedBand);
      return true;
    }
    case haHeader: {
      if (hit.Column < 0) return false;
      const TqlHeaderPart part = headerPartAt(hit.Column, p);
      if (part == TqlHeaderPart::OpenFilterButton) return true;
      if (part == TqlHeaderPart::FilterButton) {
        grid_.SetState(tsFilterButtonDown);
        press_.FilterButtonColumn = press_.PressedColumn = hit.Column;
        press_.FilterButtonPushed = true;
        mouseFeedback_.DropDownColumn = hit.Column;
      } else {
        grid_.SetState(tsColumnDown);
        press_.PressedColumn = hit.Column;
        press_.ColumnStillPushed = true;
        mouseFeedback_.ColumnDown = hit.Column;
      }
      invalidateHeaderCell(hit.Column);
      return true;
    }
    case haBandCorner:
      if (!grid_.IsOption(tloBandButtonClicking)) return false;
      grid_.SetState(tsBandButtonDown);
      press_.BandButtonPushed = mouseFeedback_.BandCornerPushed = true;
      grid_.InvalidateRect(grid_.LayoutFrame()->BandCornerRect);
      return true;
    case haHeaderCorner:
      if (!grid_.IsOption(tloHeaderButtonClicking)) return false;
      grid_.SetState(tsHeaderButtonDown);
      press_.HeaderButtonPushed = mouseFeedback_.HeaderCornerPushed = true;
      grid_.InvalidateRect(grid_.LayoutFrame()->HeaderCornerRect);
      return true;
    case haStatusPanel: {
      const TRect close = statusCloseButtonRect();
      if (!close.Contains(p)) return false;
      grid_.SetState(tsFilterCloseButtonDown);
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = true;
      grid_.InvalidateRect(close);
      return true;
    }
    default:
      return false;
  }
}

// A press over the rows in idle state; false when the press ends without OnMouseDown.
bool TqlTreeListInput::pressRows(TMouseButton button, TShiftState shift,
                                 const TreeListHitInfo& hit, bool doubleClick) {
  const TPoint p{hit.X, hit.Y};
  const bool rowArea = isRowArea(hit.Area);
  if (button == mbRight && !rowArea) return true;

  if (hit.Area == haNewItemRow) {
    if (!grid_.FocusedNode()) grid_.PrepareNewItemNode();
    if (!grid_.FocusedNode()) return true;
    const bool wasActive = grid_.NewItemRowActive();
    const int oldIndex = grid_.FocusIndex();
    if (hit.Column >= 0)
      grid_.SetFocusedNodeAndColumn(grid_.FocusedNode(), grid_.AbsoluteToFocusIndex(hit.Column),
                                    false);
    grid_.SetNewItemRowActive(true);
    press_.EditorOnRelease = true;
    if (button == mbLeft && !grid_.IsOption(tloRowSelect) && hit.Column >= 0 && wasActive &&
        grid_.FocusIndex() == oldIndex && !press_.GaveFocus)
      startEditorDelay();
    return true;
  }

  if (hit.Area == haExpandButton || (doubleClick && rowArea)) {
    if (qlEditorDelayTimer.owner == &grid_) StopProcessTimer(qlEditorDelayTimer);
    if (hit.Node && (hit.Area == haExpandButton || dblClkExpanding_))
      hit.Node->SetExpanded(!hit.Node->Expanded());
    if (doubleClick && grid_.DblClicksEnabled()) grid_.RaiseDblClick();
    return false;
  }

  if ((!rowArea && hit.Area != haIndicator) || !hit.Node) return true;
  if (button == mbLeft && hit.Area != haIndicator) grid_.SetState(tsNodeDown);
  grid_.SetDragNode(hit.Node);
  grid_.SetNewItemRowActive(false);
  const int oldIndex = grid_.FocusIndex();
  {
    TqlSelectionLock lock(grid_);
    grid_.SetOldFocusedNode(grid_.FocusedNode());
    const int index =
        hit.Column >= 0 ? grid_.AbsoluteToFocusIndex(hit.Column) : grid_.FocusIndex();
    grid_.SetFocusedNodeAndColumn(hit.Node, index, true);
    if (grid_.IsOption(tloMultiSelect) && grid_.FocusedNode()) {
      grid_.SetExtendingSelection(false);
      const bool ctrl = shift.contains(ssCtrl);
      if (ctrl && !shift.contains(ssShift)) {
        press_.CtrlClick = true;
        TqlTreeListNode* focused = grid_.FocusedNode();
        grid_.SetNodeSelected(focused, !grid_.IsNodeSelected(focused));
        grid_.SetSelectionAnchor(grid_.FocusedNode());
        return true;
      }
      if (shift.contains(ssShift)) {
        press_.CtrlClick = true;
        if (!grid_.SelectionAnchor()) grid_.SetSelectionAnchor(grid_.OldFocusedNode());
        TqlTreeListNode* start = nullptr;
        if (!ctrl && grid_.SelectionAnchor()) {
          grid_.ClearSelection();
          start = grid_.SelectionAnchor();
        }
        TqlTreeListNode* focused = grid_.FocusedNode();
        if (start) grid_.SelectRange(start, focused);
        else grid_.SetNodeSelected(focused, !grid_.IsNodeSelected(focused));
        return true;
      }
      if (grid_.IsNodeSelected(grid_.FocusedNode())) {
        if (button != mbRight) press_.SelectOnRelease = true;
      } else {
        grid_.ClearSelection();
        grid_.SetNodeSelected(grid_.FocusedNode(), true);
        grid_.SetSelectionAnchor(grid_.FocusedNode());
      }
    }
  }

  // A press on the focused cell: the editor follows after the double-click time, unless a
  // second press makes it a double click first.
  if (button == mbLeft && hit.Area == haCell && !grid_.IsOption(tloRowSelect)) {
    if (grid_.IsOption(tloShowButtonAlways) && hit.Column >= 0 &&
        grid_.IsEditorButtonAt(hit.Column, hit.Node, p)) {
      grid_.SetState(tsNormal);
      grid_.ShowEditorFromClick(p, shift);
    } else if (grid_.FocusedNode() == grid_.OldFocusedNode() && grid_.FocusIndex() == oldIndex &&
               !press_.GaveFocus) {
      startEditorDelay();
    }
  }
  return true;
}

void TqlTreeListInput::startEditorDelay() {
  if (grid_.State() == tsEditing || qlEditorDelayTimer.owner) return;
  StartProcessTimer(qlEditorDelayTimer, &grid_, GetDoubleClickTime());
}

// ===== move =================================================================================

void TqlTreeListInput::MouseMove(TShiftState shift, TPoint p) {
  const TreeListHitInfo hit = grid_.GetHitInfo(p);
  if (grid_.State() == tsNodeDown && !shift.contains(ssLeft)) grid_.SetState(tsNormal);
  switch (grid_.State()) {
    case tsColumnSizing: case tsBandSizing: case tsBandPanelSizing: case tsHeaderPanelSizing:
    case tsRowSizing:
      moveSizing(p);
      break;
    case tsBandDown: case tsColumnDown:
      moveHeaderPressed(p);
      break;
    case tsBandDragging: case tsColumnDragging:
      grid_.HeaderDragMove(p);
      break;
    case tsNodeDown:
      moveNodePressed(shift, p);
      break;
    default:
      break;
  }
  updatePushedElements(p);
  updateHotTrack(hit);
}

// A pressed band or column header turns into a drag once the mouse is more than 5 pixels away.
void TqlTreeListInput::moveHeaderPressed(TPoint p) {
  if (!movedBeyondThreshold(press_.Point, p)) return;
  bool allow = true;
  if (grid_.State() == tsBandDown) {
    const int band = press_.PressedBand;
    const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
    if (!grid_.IsOption(tloBandMoving) || visible < 0 ||
        visible == grid_.Model().GetLeftFixedVisibleBand() ||
        visible == grid_.Model().GetRightFixedVisibleBand() || grid_.Model().GetBandDisableDragging(band))
      return;
    if (grid_.OnCanBandDragging) grid_.OnCanBandDragging(&grid_, grid_.BandObject(band), allow);
    if (!allow || grid_.State() != tsBandDown) return;
    mouseFeedback_.BandDown = -1;
    invalidateBandCell(band);
    grid_.SetState(tsBandDragging);
    press_.DraggedBand = band;
    mouseFeedback_.Dragging = true;
    grid_.StartBandDrag(band);
  } else {
    const int column = press_.PressedColumn;
    if (!grid_.IsOption(tloColumnMoving) || grid_.Model().GetColumnDisableDragging(column)) return;
    if (grid_.OnCanHeaderDragging)
      grid_.OnCanHeaderDragging(&grid_, grid_.ColumnObject(column), allow);
    if (!allow || grid_.State() != tsColumnDown) return;
    mouseFeedback_.ColumnDown = -1;
    invalidateHeaderCell(column);
    grid_.SetState(tsColumnDragging);
    press_.DraggedColumn = column;
    mouseFeedback_.Dragging = true;
    grid_.StartColumnDrag(column);
  }
}

void TqlTreeListInput::moveNodePressed(TShiftState shift, TPoint p) {
  if (grid_.AutomaticNodeDrag() && movedBeyondThreshold(press_.Point, p)) {
    TqlTreeListNode* node = grid_.DragNode() ? grid_.DragNode() : grid_.GetNodeAt(p);
    if (!node) return;
    if (node != grid_.FocusedNode()) {
      if (!press_.CtrlClick) grid_.ClearSelection();
      grid_.SetFocusedNodeAndColumn(node, grid_.FocusIndex(), false);
    }
    grid_.SetNodeSelected(node, true);
    press_.CtrlClick = press_.SelectOnRelease = false;
    grid_.StartNodeDrag(node);
    return;
  }
  const bool mouseScroll = grid_.IsOption(tloMouseScroll) &&
                           (grid_.IsOption(tloRowSelect) || !grid_.IsOption(tloEditing));
  if (!mouseScroll || grid_.Roots().empty()) return;
  const TqlLayoutSnapshot s = grid_.BuildLayoutSnapshot();
  if (p.Y < s.RowsRect.Top || p.Y >= s.RowsRect.Bottom) {
    const bool above = p.Y < s.RowsRect.Top;
    TqlTreeListNode* target = nullptr;
    if (above) {
      target = grid_.TopNode();
    } else {
      for (const TqlRowInfo& row : s.RowInfos)
        if (row.Top + row.Height <= s.RowsRect.Bottom) target = row.Node;
    }
    if (target && target != grid_.FocusedNode())
      grid_.SetFocusedNodeAndColumn(target, grid_.FocusIndex(), true);
    rowScrollDirection_ = above ? -1 : 1;
    StartProcessTimer(qlRowScrollTimer, &grid_, kRowScrollInterval);
    return;
  }
  if (qlRowScrollTimer.owner == &grid_) StopProcessTimer(qlRowScrollTimer);
  TqlTreeListNode* node = nullptr;
  for (const TqlRowInfo& row : s.RowInfos)
    if (p.Y >= row.Top && p.Y < row.Top + row.Height) node = row.Node;
  if (!node) return;
  grid_.SetFocusedNodeAndColumn(node, grid_.FocusIndex(), true);
  if (grid_.IsOption(tloMultiSelect) && !press_.CtrlClick) {
    grid_.ClearSelection();
    grid_.SetNodeSelected(node, true);
  }
}

// A pressed row scrolls while the mouse is above or below the rows; a node drag scrolls
// while the mouse stays over the grid.
void TqlTreeListInput::rowScrollTick() {
  const bool dragOverGrid = grid_.State() == tsNodeDragging &&
                            grid_.ClientRect().Contains(grid_.ScreenToClient(GetCursorPos()));
  if (grid_.State() != tsNodeDown && !dragOverGrid) {
    StopProcessTimer(qlRowScrollTimer);
    return;
  }
  grid_.SetFocusedRowIndex(grid_.FocusedRowIndex() + rowScrollDirection_);
}

// Pushed elements follow whether the mouse is over the element that was pressed.
void TqlTreeListInput::updatePushedElements(TPoint p) {
  switch (grid_.State()) {
    case tsBandDown: {
      const bool over = overBandCell(press_.PressedBand, p);
      if (over == press_.BandStillPushed) return;
      press_.BandStillPushed = over;
      mouseFeedback_.BandDown = over ? grid_.Model().GetAbsoluteBandIndexToVisible(press_.PressedBand) : -1;
      invalidateBandCell(press_.PressedBand);
      return;
    }
    case tsColumnDown: {
      const bool over = overHeaderCell(press_.PressedColumn, p);
      if (over == press_.ColumnStillPushed) return;
      press_.ColumnStillPushed = over;
      mouseFeedback_.ColumnDown = over ? press_.PressedColumn : -1;
      invalidateHeaderCell(press_.PressedColumn);
      return;
    }
    case tsFilterButtonDown: {
      const bool over = overFilterButton(press_.FilterButtonColumn, p);
      if (over == press_.FilterButtonPushed) return;
      press_.FilterButtonPushed = over;
      mouseFeedback_.DropDownColumn = over ? press_.FilterButtonColumn : -1;
      invalidateHeaderCell(press_.FilterButtonColumn);
      return;
    }
    case tsBandButtonDown: case tsHeaderButtonDown: {
      const bool band = grid_.State() == tsBandButtonDown;
      const auto frame = grid_.LayoutFrame();
      const TRect corner = band ? frame->BandCornerRect : frame->HeaderCornerRect;
      const bool over = corner.Contains(p);
      bool& pushed = band ? press_.BandButtonPushed : press_.HeaderButtonPushed;
      if (over == pushed) return;
      pushed = over;
      (band ? mouseFeedback_.BandCornerPushed : mouseFeedback_.HeaderCornerPushed) = over;
      grid_.InvalidateRect(corner);
      return;
    }
    case tsFilterCloseButtonDown: {
      const TRect close = statusCloseButtonRect();
      const bool over = close.Contains(p);
      if (over == press_.FilterCloseButtonPushed) return;
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = over;
      grid_.InvalidateRect(close);
      return;
    }
    default:
      return;
  }
}

// ===== release ==============================================================================

void TqlTreeListInput::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
  TqlSelectionLock lock(grid_);
  const TreeListHitInfo hit = grid_.GetHitInfo(p);
  const TqlTreeListState stateAtRelease = grid_.State();
  if (isSizingState(grid_.State())) releaseSizing();
  else releasePressed(shift, p);

  if (press_.SelectOnRelease) {
    press_.SelectOnRelease = false;
    grid_.ClearSelection();
    if (grid_.FocusedNode()) grid_.SetNodeSelected(grid_.FocusedNode(), true);
    grid_.SetSelectionAnchor(grid_.FocusedNode());
  }
  releaseImmediateEditor(button, shift, hit, stateAtRelease);
  press_.EditorOnRelease = false;
  if (grid_.State() == tsNodeDown) grid_.SetState(tsNormal);
  if (qlRowScrollTimer.owner == &grid_) StopProcessTimer(qlRowScrollTimer);
  if (stateAtRelease == tsEditing || stateAtRelease == tsNodeDragging ||
      stateAtRelease == tsNodeDown)
    grid_.RaiseClick();
}

// The pressed header elements: each ends its state, then acts when released over itself.
void TqlTreeListInput::releasePressed(TShiftState shift, TPoint p) {
  switch (grid_.State()) {
    case tsBandDown: {
      const int band = press_.PressedBand;
      const bool over = overBandCell(band, p);
      grid_.EndMouseTracking();
      if (over && grid_.OnBandClick) grid_.OnBandClick(&grid_, grid_.BandObject(band));
      return;
    }
    case tsBandDragging: case tsColumnDragging:
      headerDragPoint_ = p;
      grid_.EndHeaderDrag(false);
      return;
    case tsFilterButtonDown: {
      const int column = press_.FilterButtonColumn;
      const bool over = overFilterButton(column, p);
      grid_.EndMouseTracking();
      if (over && !grid_.IsDesigning()) grid_.DropDownFilter(column);
      return;
    }
    case tsFilterCloseButtonDown: {
      const bool over = statusCloseButtonRect().Contains(p);
      grid_.EndMouseTracking();
      if (over) grid_.ClearFilter();
      return;
    }
    case tsColumnDown: {
      const int column = press_.PressedColumn;
      const bool over = overHeaderCell(column, p);
      grid_.EndMouseTracking();
      if (over) grid_.ColumnHeaderClick(column, shift);
      return;
    }
    case tsBandButtonDown: case tsHeaderButtonDown: {
      const bool band = grid_.State() == tsBandButtonDown;
      const bool pushed = band ? press_.BandButtonPushed : press_.HeaderButtonPushed;
      grid_.EndMouseTracking();
      const TNotifyEvent& event = band ? grid_.OnBandButtonClick : grid_.OnHeaderButtonClick;
      if (pushed && event) event(&grid_);
      return;
    }
    default:
      return;
  }
}

// With tloImmediateEditor a click that starts and ends on the same focused cell opens the
// editor at once.
void TqlTreeListInput::releaseImmediateEditor(TMouseButton button, TShiftState shift,
                                              const TreeListHitInfo& hit,
                                              TqlTreeListState stateAtRelease) {
  const bool fromRow = stateAtRelease == tsEditing || stateAtRelease == tsNodeDragging ||
                       stateAtRelease == tsNodeDown;
  if (!(fromRow || press_.EditorOnRelease) || !grid_.IsOption(tloImmediateEditor) ||
      grid_.IsOption(tloRowSelect) || button != mbLeft)
    return;
  const TreeListHitInfo& pressed = press_.Hit;
  if (hit.Area != pressed.Area || (hit.Area != haCell && hit.Area != haNewItemRow) ||
      hit.Column != pressed.Column)
    return;
  // The row: the pressed node (kept in the drag node, which node deletion clears) must be the
  // focused node under the release point; the new item row has no node.
  TqlTreeListNode* pressedNode = grid_.DragNode();
  if (hit.Area == haCell &&
      (!pressedNode || hit.Node != pressedNode || grid_.FocusedNode() != hit.Node))
    return;
  grid_.SetState(tsNormal);
  if (!shift.contains(ssShift) && !shift.contains(ssCtrl))
    grid_.ShowEditorFromClick({hit.X, hit.Y}, shift);
}

// ===== cancel tracking ======================================================================

void TqlTreeListInput::EndTracking() {
  switch (grid_.State()) {
    case tsColumnSizing: case tsBandSizing: case tsBandPanelSizing: case tsHeaderPanelSizing:
    case tsRowSizing:
      eraseSizingLine();
      grid_.SetState(tsNormal);
      break;
    case tsBandDown: {
      const int band = press_.PressedBand;
      grid_.SetState(tsNormal);
      press_.PressedBand = -1;
      press_.BandStillPushed = false;
      mouseFeedback_.BandDown = -1;
      invalidateBandCell(band);
      break;
    }
    case tsBandDragging: case tsColumnDragging:
      grid_.EndHeaderDrag(true);
      break;
    case tsFilterButtonDown: {
      const int column = press_.FilterButtonColumn;
      grid_.SetState(tsNormal);
      press_.FilterButtonColumn = press_.PressedColumn = -1;
      press_.FilterButtonPushed = false;
      mouseFeedback_.DropDownColumn = -1;
      invalidateHeaderCell(column);
      break;
    }
    case tsFilterCloseButtonDown:
      grid_.SetState(tsNormal);
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = false;
      grid_.InvalidateRect(statusCloseButtonRect());
      break;
    case tsColumnDown: {
      const int column = press_.PressedColumn;
      grid_.SetState(tsNormal);
      press_.PressedColumn = -1;
      press_.ColumnStillPushed = false;
      mouseFeedback_.ColumnDown = -1;
      invalidateHeaderCell(column);
      break;
    }
    case tsBandButtonDown:
      grid_.SetState(tsNormal);
      press_.BandButtonPushed = mouseFeedback_.BandCornerPushed = false;
      grid_.InvalidateRect(grid_.LayoutFrame()->BandCornerRect);
      break;
    case tsHeaderButtonDown:
      grid_.SetState(tsNormal);
      press_.HeaderButtonPushed = mouseFeedback_.HeaderCornerPushed = false;
      grid_.InvalidateRect(grid_.LayoutFrame()->HeaderCornerRect);
      break;
    default:
      break;  // editing, node pressed and node dragging go on
  }
  hideFilterCloseHint();
}

// ===== cursor, timers, enter and leave ======================================================

std::optional<TCursor> TqlTreeListInput::CursorAt(TPoint p) const {
  switch (grid_.State()) {
    case tsNormal: case tsEditing: {
      const TreeListHitInfo hit = grid_.GetHitInfo(p);
      if (hit.Area == haHeaderEdge || (hit.Area == haBandEdge && hit.Band >= 0)) return crHSplit;
      if (hit.Area == haBandPanelEdge || hit.Area == haHeaderPanelEdge || hit.Area == haRowEdge)
        return crVSplit;
      break;
    }
    case tsColumnSizing: case tsBandSizing:
      return crHSplit;
    case tsBandPanelSizing: case tsHeaderPanelSizing: case tsRowSizing:
      return crVSplit;
    case tsColumnDragging: case tsBandDragging:
      return headerDragCursor_;
    default:
      break;
  }
  return std::nullopt;
}

bool TqlTreeListInput::Timer(int id) {
  switch (id) {
    case kqlEditorDelayTimerId:
      if (qlEditorDelayTimer.owner == &grid_) StopProcessTimer(qlEditorDelayTimer);
      else grid_.KillTimer(id);
      if (grid_.State() == tsNormal) grid_.ShowEditor();
      return true;
    case kqlRowScrollTimerId:
      if (qlRowScrollTimer.owner == &grid_) rowScrollTick();
      else if (qlHeaderEdgeScrollTimer.owner == &grid_) grid_.HeaderEdgeScrollTick();
      else grid_.KillTimer(id);
      return true;
    case kqlFilterHintShowTimerId:
      showFilterCloseHint();
      return true;
    case kqlFilterHintHideTimerId:
      hideFilterCloseHint();
      return true;
    case kqlAnchorScrollTimerId:
      if (anchorMode_ && anchorMode_->Active()) anchorMode_->Tick();
      else grid_.KillTimer(id);
      return true;
    case kqlDragExpandTimerId:
      grid_.DragExpandTick();
      return true;
    default:
      return false;
  }
}

void TqlTreeListInput::StartAnchorScroll(TPoint screenPoint) {
  anchorMode_.reset();
  anchorMode_ = std::make_unique<TqlAnchorMode>(grid_, screenPoint);
}

void TqlTreeListInput::MouseEnter() {
  updateHotTrack(grid_.GetHitInfo(grid_.ScreenToClient(GetCursorPos())));
}

void TqlTreeListInput::MouseLeave() {
  TreeListHitInfo nothing;
  nothing.X = nothing.Y = -1;
  nothing.Area = haOutside;
  updateHotTrack(nothing);
  hideFilterCloseHint();
}
