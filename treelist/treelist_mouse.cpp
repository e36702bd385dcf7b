// The mouse side of the tree-list core: what a press, a move and a release do over each area,
// cancelling a tracking operation, the cursor over the grid, and the timers behind them.
//
// A press records what lay under it (the press record) and, by area, starts a sizing
// operation (treelist_sizing.cpp), pushes a header element, or focuses and selects a row. A
// move drives the running operation; a release ends it. Painting only reads the mouse
// feedback, which is kept equal to the press record's pushed flags here.
//
// Timers: the editor delay, the row scroll and the header edge scroll are shared by every grid
// of the process (one pending of each kind; a start on another grid takes it over). The
// filter-close hint timers and the drag-expand timer belong to each grid.
#include <algorithm>
#include <cstdlib>

#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

namespace {

constexpr int kRowScrollTimerId = 1;    // shares its number with the header edge scroll
constexpr int kEditorDelayTimerId = 2;
constexpr int kDragExpandTimerId = 101;
constexpr int kFilterHintShowTimerId = 110;
constexpr int kFilterHintHideTimerId = 111;
constexpr int kRowScrollInterval = 60;
constexpr int kDragThreshold = 5;       // pixels a pressed header moves before it is dragged

// One process-wide timer: the grid it runs on, or none.
struct ProcessTimer {
  TCustomqlTreeList* owner = nullptr;
  int id = 0;
};
ProcessTimer editorDelayTimer{nullptr, kEditorDelayTimerId};
ProcessTimer rowScrollTimer{nullptr, kRowScrollTimerId};

void startProcessTimer(ProcessTimer& timer, TCustomqlTreeList* grid, int interval) {
  if (timer.owner && timer.owner != grid) timer.owner->KillTimer(timer.id);
  timer.owner = grid;
  grid->SetTimer(timer.id, interval);
}

void stopProcessTimer(ProcessTimer& timer) {
  if (timer.owner) timer.owner->KillTimer(timer.id);
  timer.owner = nullptr;
}

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

TCustomqlTreeList::ProcessTimerRelease::~ProcessTimerRelease() {
  for (ProcessTimer* timer : {&editorDelayTimer, &rowScrollTimer})
    if (timer->owner == grid) timer->owner = nullptr;
}

// ===== small questions ======================================================================

bool TCustomqlTreeList::inputFocusInside() const {
  const TCustomForm* form = GetParentForm();
  const TWinControl* active = form ? form->ActiveControl() : nullptr;
  return active && (active == this || ContainsControl(active));
}

bool TCustomqlTreeList::overHeaderCell(int column, TPoint p) const {
  if (column < 0) return false;
  const auto frame = LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  return cell && cell->Rect.Contains(p) && cell->VisibleRect.Contains(p);
}

bool TCustomqlTreeList::overBandCell(int band, TPoint p) const {
  const int visible = GetAbsoluteBandIndexToVisible(band);
  if (visible < 0) return false;
  const auto frame = LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visible);
  return cell && cell->Rect.Contains(p) && cell->VisibleRect.Contains(p);
}

bool TCustomqlTreeList::overFilterButton(int column, TPoint p) const {
  return overHeaderCell(column, p) && IsFilterButton(headerPartAt(column, p));
}

void TCustomqlTreeList::invalidateHeaderCell(int column) {
  const auto frame = LayoutFrame();
  if (const TqlHeaderCell* cell = frame->HeaderCellOf(column)) InvalidateRect(cell->Rect);
}

void TCustomqlTreeList::invalidateBandCell(int band) {
  const int visible = GetAbsoluteBandIndexToVisible(band);
  const auto frame = LayoutFrame();
  if (const TqlBandCell* cell = frame->BandCellOf(visible)) InvalidateRect(cell->Rect);
}

TRect TCustomqlTreeList::StatusCloseButtonRect() const {
  if (!StatusCloseButtonShown()) return {};
  const TRect status = LayoutFrame()->StatusRect;
  if (status.IsEmpty()) return {};
  const int top = status.Top + (status.Height() - 11) / 2;
  return {status.Left + 3, top, status.Left + 3 + 12, top + 11};
}

// ===== press ================================================================================

void TCustomqlTreeList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint p{X, Y};
  const bool doubleClick = Shift.contains(ssDouble);
  if (Button == mbLeft) {
    if (editorDelayTimer.owner == this) stopProcessTimer(editorDelayTimer);
    press_.Time = GetTickCount();
  }
  // 1.-3. End editing, forget the last press's flags, take the input focus.
  if (EditorExists()) HideEditorWithFocus();
  press_.CtrlClick = press_.SelectOnRelease = press_.EditorOnRelease = false;
  press_.GaveFocus = false;
  if (!IsDesigning() && GetParentForm() && CanFocus()) {
    const bool hadFocus = inputFocusInside();
    SetFocus();
    if (!inputFocusInside()) {  // a handler moved the focus elsewhere
      SetCaptureOnPress(false);
      return;
    }
    press_.GaveFocus = !hadFocus;
  }

  // 4., 5. What lies under the press; a right press cancels a running operation.
  const TreeListHitInfo hit = GetHitInfo(p);
  press_.Hit = hit;
  press_.Point = p;
  if (state_ != tsNormal && Button == mbRight) EndMouseTracking();

  // 6. Edges, headers and corner buttons.
  if (Button == mbLeft && state_ == tsNormal) pressHeaderArea(hit, doubleClick);

  // 7. Rows.
  if (state_ == tsEditing) {
    HideEditorWithFocus();
  } else if (state_ == tsNormal && Button != mbMiddle) {
    if (!pressRows(Button, Shift, hit, doubleClick)) return;  // the press ends there
  }

  // 8. A double click anywhere else over the rows.
  if (doubleClick && Button == mbLeft && DblClicksEnabled() &&
      (hit.Area == haInside || (hit.Area >= haExpandButton && hit.Area <= haOutside)))
    TControl::DblClick();
  // 9. Anchor scrolling.
  if (Button == mbMiddle && state_ == tsNormal) AnchorScroll(p);
  TControl::MouseDown(Button, Shift, X, Y);
}

// The left button in idle state over the header parts; returns whether an action was taken.
bool TCustomqlTreeList::pressHeaderArea(const TreeListHitInfo& hit, bool doubleClick) {
  const TPoint p{hit.X, hit.Y};
  switch (hit.Area) {
    case haBandEdge:
      if (hit.Band < 0) return false;
      if (doubleClick) {
        ApplyBandBestWidths(hit.Band);
        if (OnChangedColumnsWidth) OnChangedColumnsWidth(this);
      } else {
        startSizing(tsBandSizing, hit.X);
      }
      return true;
    case haHeaderEdge:
      if (hit.Column < 0) return false;
      if (doubleClick) {
        {
          TqlTreeListUpdateLock lock(*this);
          ApplyBestWidth(hit.Column);
        }
        if (OnChangedColumnsWidth) OnChangedColumnsWidth(this);
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
      dragNode_ = hit.Node;  // cleared when the node goes
      startSizing(tsRowSizing, hit.Y);
      return true;
    case haBand: {
      if (hit.Band < 0) return false;
      SetState(tsBandDown);
      press_.PressedBand = GetVisibleBandIndexToAbsolute(hit.Band);
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
        SetState(tsFilterButtonDown);
        press_.FilterButtonColumn = press_.PressedColumn = hit.Column;
        press_.FilterButtonPushed = true;
        mouseFeedback_.DropDownColumn = hit.Column;
      } else {
        SetState(tsColumnDown);
        press_.PressedColumn = hit.Column;
        press_.ColumnStillPushed = true;
        mouseFeedback_.ColumnDown = hit.Column;
      }
      invalidateHeaderCell(hit.Column);
      return true;
    }
    case haBandCorner:
      if (!IsOption(tloBandButtonClicking)) return false;
      SetState(tsBandButtonDown);
      press_.BandButtonPushed = mouseFeedback_.BandCornerPushed = true;
      InvalidateRect(LayoutFrame()->BandCornerRect);
      return true;
    case haHeaderCorner:
      if (!IsOption(tloHeaderButtonClicking)) return false;
      SetState(tsHeaderButtonDown);
      press_.HeaderButtonPushed = mouseFeedback_.HeaderCornerPushed = true;
      InvalidateRect(LayoutFrame()->HeaderCornerRect);
      return true;
    case haStatusPanel: {
      const TRect close = StatusCloseButtonRect();
      if (!close.Contains(p)) return false;
      SetState(tsFilterCloseButtonDown);
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = true;
      InvalidateRect(close);
      return true;
    }
    default:
      return false;
  }
}

// A press over the rows in idle state; false when the press ends without OnMouseDown.
bool TCustomqlTreeList::pressRows(TMouseButton button, TShiftState shift,
                                  const TreeListHitInfo& hit, bool doubleClick) {
  const TPoint p{hit.X, hit.Y};
  const bool rowArea = isRowArea(hit.Area);
  if (button == mbRight && !rowArea) return true;

  if (hit.Area == haNewItemRow) {
    if (!focusedNode_) PrepareNewItemNode();
    if (!focusedNode_) return true;
    const bool wasActive = newItemRowActive_;
    const int oldIndex = focusIndex_;
    if (hit.Column >= 0)
      SetFocusedNodeAndColumn(focusedNode_, AbsoluteToFocusIndex(hit.Column), false);
    SetNewItemRowActive(true);
    press_.EditorOnRelease = true;
    if (button == mbLeft && !IsOption(tloRowSelect) && hit.Column >= 0 && wasActive &&
        focusIndex_ == oldIndex && !press_.GaveFocus)
      startEditorDelay();
    return true;
  }

  if (hit.Area == haExpandButton || (doubleClick && rowArea)) {
    if (editorDelayTimer.owner == this) stopProcessTimer(editorDelayTimer);
    if (hit.Node && (hit.Area == haExpandButton || dblClkExpanding_))
      hit.Node->SetExpanded(!hit.Node->Expanded());
    if (doubleClick && DblClicksEnabled()) TControl::DblClick();
    return false;
  }

  if ((!rowArea && hit.Area != haIndicator) || !hit.Node) return true;
  if (button == mbLeft && hit.Area != haIndicator) SetState(tsNodeDown);
  dragNode_ = hit.Node;
  SetNewItemRowActive(false);
  const int oldIndex = focusIndex_;
  {
    TqlSelectionLock lock(*this);
    oldFocusedNode_ = focusedNode_;
    const int index = hit.Column >= 0 ? AbsoluteToFocusIndex(hit.Column) : focusIndex_;
    SetFocusedNodeAndColumn(hit.Node, index, true);
    if (IsOption(tloMultiSelect) && focusedNode_) {
      extendingSelection_ = false;
      const bool ctrl = shift.contains(ssCtrl);
      if (ctrl && !shift.contains(ssShift)) {
        press_.CtrlClick = true;
        SetNodeSelected(focusedNode_, !IsNodeSelected(focusedNode_));
        selectionAnchor_ = focusedNode_;
        return true;
      }
      if (shift.contains(ssShift)) {
        press_.CtrlClick = true;
        if (!selectionAnchor_) selectionAnchor_ = oldFocusedNode_;
        TqlTreeListNode* start = nullptr;
        if (!ctrl && selectionAnchor_) {
          ClearSelection();
          start = selectionAnchor_;
        }
        if (start) SelectRange(start, focusedNode_);
        else SetNodeSelected(focusedNode_, !IsNodeSelected(focusedNode_));
        return true;
      }
      if (IsNodeSelected(focusedNode_)) {
        if (button != mbRight) press_.SelectOnRelease = true;
      } else {
        ClearSelection();
        SetNodeSelected(focusedNode_, true);
        selectionAnchor_ = focusedNode_;
      }
    }
  }

  // A press on the focused cell: the editor follows after the double-click time, unless a
  // second press makes it a double click first.
  if (button == mbLeft && hit.Area == haCell && !IsOption(tloRowSelect)) {
    if (IsOption(tloShowButtonAlways) && hit.Column >= 0 &&
        IsEditorButtonAt(hit.Column, hit.Node, p)) {
      SetState(tsNormal);
      ShowEditorFromClick(p, shift);
    } else if (focusedNode_ == oldFocusedNode_ && focusIndex_ == oldIndex && !press_.GaveFocus) {
      startEditorDelay();
    }
  }
  return true;
}

void TCustomqlTreeList::startEditorDelay() {
  if (state_ == tsEditing || editorDelayTimer.owner) return;
  startProcessTimer(editorDelayTimer, this, GetDoubleClickTime());
}

// ===== move =================================================================================

void TCustomqlTreeList::MouseMove(TShiftState Shift, int X, int Y) {
  const TPoint p{X, Y};
  const TreeListHitInfo hit = GetHitInfo(p);
  if (state_ == tsNodeDown && !Shift.contains(ssLeft)) SetState(tsNormal);
  switch (state_) {
    case tsColumnSizing: case tsBandSizing: case tsBandPanelSizing: case tsHeaderPanelSizing:
    case tsRowSizing:
      moveSizing(p);
      break;
    case tsBandDown: case tsColumnDown:
      moveHeaderPressed(p);
      break;
    case tsBandDragging: case tsColumnDragging:
      HeaderDragMove(p);
      break;
    case tsNodeDown:
      moveNodePressed(Shift, p);
      break;
    default:
      break;
  }
  updatePushedElements(p);
  updateHotTrack(hit);
  TControl::MouseMove(Shift, X, Y);
}

// A pressed band or column header turns into a drag once the mouse is more than 5 pixels away.
void TCustomqlTreeList::moveHeaderPressed(TPoint p) {
  if (!movedBeyondThreshold(press_.Point, p)) return;
  bool allow = true;
  if (state_ == tsBandDown) {
    const int band = press_.PressedBand;
    const int visible = GetAbsoluteBandIndexToVisible(band);
    if (!IsOption(tloBandMoving) || visible < 0 || visible == GetLeftFixedVisibleBand() ||
        visible == GetRightFixedVisibleBand() || GetBandDisableDragging(band))
      return;
    if (OnCanBandDragging) OnCanBandDragging(this, BandObject(band), allow);
    if (!allow || state_ != tsBandDown) return;
    mouseFeedback_.BandDown = -1;
    invalidateBandCell(band);
    SetState(tsBandDragging);
    press_.DraggedBand = band;
    mouseFeedback_.Dragging = true;
    StartBandDrag(band);
  } else {
    const int column = press_.PressedColumn;
    if (!IsOption(tloColumnMoving) || GetColumnDisableDragging(column)) return;
    if (OnCanHeaderDragging) OnCanHeaderDragging(this, ColumnObject(column), allow);
    if (!allow || state_ != tsColumnDown) return;
    mouseFeedback_.ColumnDown = -1;
    invalidateHeaderCell(column);
    SetState(tsColumnDragging);
    press_.DraggedColumn = column;
    mouseFeedback_.Dragging = true;
    StartColumnDrag(column);
  }
}

void TCustomqlTreeList::StartColumnDrag(int) { EndHeaderDrag(true); }
void TCustomqlTreeList::StartBandDrag(int) { EndHeaderDrag(true); }

void TCustomqlTreeList::EndHeaderDrag(bool) {
  press_.DraggedBand = press_.DraggedColumn = -1;
  press_.PressedBand = press_.PressedColumn = -1;
  press_.BandStillPushed = press_.ColumnStillPushed = false;
  mouseFeedback_.Dragging = false;
  SetState(tsNormal);
  Invalidate();
}

void TCustomqlTreeList::moveNodePressed(TShiftState shift, TPoint p) {
  if (AutomaticNodeDrag() && movedBeyondThreshold(press_.Point, p)) {
    TqlTreeListNode* node = dragNode_ ? dragNode_ : GetNodeAt(p);
    if (!node) return;
    if (node != focusedNode_) {
      if (!press_.CtrlClick) ClearSelection();
      SetFocusedNodeAndColumn(node, focusIndex_, false);
    }
    SetNodeSelected(node, true);
    press_.CtrlClick = press_.SelectOnRelease = false;
    StartNodeDrag(node);
    return;
  }
  const bool mouseScroll =
      IsOption(tloMouseScroll) && (IsOption(tloRowSelect) || !IsOption(tloEditing));
  if (!mouseScroll || Roots().empty()) return;
  const TqlLayoutSnapshot s = BuildLayoutSnapshot();
  if (p.Y < s.RowsRect.Top || p.Y >= s.RowsRect.Bottom) {
    const bool above = p.Y < s.RowsRect.Top;
    TqlTreeListNode* target = nullptr;
    if (above) {
      target = topNode_;
    } else {
      for (const TqlRowInfo& row : s.RowInfos)
        if (row.Top + row.Height <= s.RowsRect.Bottom) target = row.Node;
    }
    if (target && target != focusedNode_) SetFocusedNodeAndColumn(target, focusIndex_, true);
    rowScrollDirection_ = above ? -1 : 1;
    startProcessTimer(rowScrollTimer, this, kRowScrollInterval);
    return;
  }
  if (rowScrollTimer.owner == this) stopProcessTimer(rowScrollTimer);
  TqlTreeListNode* node = nullptr;
  for (const TqlRowInfo& row : s.RowInfos)
    if (p.Y >= row.Top && p.Y < row.Top + row.Height) node = row.Node;
  if (!node) return;
  SetFocusedNodeAndColumn(node, focusIndex_, true);
  if (IsOption(tloMultiSelect) && !press_.CtrlClick) {
    ClearSelection();
    SetNodeSelected(node, true);
  }
}

void TCustomqlTreeList::rowScrollTick() {
  if (state_ != tsNodeDown) {
    stopProcessTimer(rowScrollTimer);
    return;
  }
  SetFocusedRowIndex(FocusedRowIndex() + rowScrollDirection_);
}

// Pushed elements follow whether the mouse is over the element that was pressed.
void TCustomqlTreeList::updatePushedElements(TPoint p) {
  switch (state_) {
    case tsBandDown: {
      const bool over = overBandCell(press_.PressedBand, p);
      if (over == press_.BandStillPushed) return;
      press_.BandStillPushed = over;
      mouseFeedback_.BandDown = over ? GetAbsoluteBandIndexToVisible(press_.PressedBand) : -1;
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
      const bool band = state_ == tsBandButtonDown;
      const auto frame = LayoutFrame();
      const TRect corner = band ? frame->BandCornerRect : frame->HeaderCornerRect;
      const bool over = corner.Contains(p);
      bool& pushed = band ? press_.BandButtonPushed : press_.HeaderButtonPushed;
      if (over == pushed) return;
      pushed = over;
      (band ? mouseFeedback_.BandCornerPushed : mouseFeedback_.HeaderCornerPushed) = over;
      InvalidateRect(corner);
      return;
    }
    case tsFilterCloseButtonDown: {
      const TRect close = StatusCloseButtonRect();
      const bool over = close.Contains(p);
      if (over == press_.FilterCloseButtonPushed) return;
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = over;
      InvalidateRect(close);
      return;
    }
    default:
      return;
  }
}

// ===== release ==============================================================================

void TCustomqlTreeList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint p{X, Y};
  {
    TqlSelectionLock lock(*this);
    const TreeListHitInfo hit = GetHitInfo(p);
    const TqlTreeListState stateAtRelease = state_;
    if (isSizingState(state_)) releaseSizing();
    else releasePressed(Shift, p);

    if (press_.SelectOnRelease) {
      press_.SelectOnRelease = false;
      ClearSelection();
      if (focusedNode_) SetNodeSelected(focusedNode_, true);
      selectionAnchor_ = focusedNode_;
    }
    releaseImmediateEditor(Button, Shift, hit, stateAtRelease);
    press_.EditorOnRelease = false;
    if (state_ == tsNodeDown) SetState(tsNormal);
    if (rowScrollTimer.owner == this) stopProcessTimer(rowScrollTimer);
    if (stateAtRelease == tsEditing || stateAtRelease == tsNodeDragging ||
        stateAtRelease == tsNodeDown)
      TControl::Click();
  }
  TControl::MouseUp(Button, Shift, X, Y);
}

// The pressed header elements: each ends its state, then acts when released over itself.
void TCustomqlTreeList::releasePressed(TShiftState shift, TPoint p) {
  switch (state_) {
    case tsBandDown: {
      const int band = press_.PressedBand;
      const bool over = overBandCell(band, p);
      EndMouseTracking();
      if (over && OnBandClick) OnBandClick(this, BandObject(band));
      return;
    }
    case tsBandDragging: case tsColumnDragging:
      EndHeaderDrag(false);
      return;
    case tsFilterButtonDown: {
      const int column = press_.FilterButtonColumn;
      const bool over = overFilterButton(column, p);
      EndMouseTracking();
      if (over && !IsDesigning()) DropDownFilter(column);
      return;
    }
    case tsFilterCloseButtonDown: {
      const bool over = StatusCloseButtonRect().Contains(p);
      EndMouseTracking();
      if (over) ClearFilter();
      return;
    }
    case tsColumnDown: {
      const int column = press_.PressedColumn;
      const bool over = overHeaderCell(column, p);
      EndMouseTracking();
      if (over) ColumnHeaderClick(column, shift);
      return;
    }
    case tsBandButtonDown: case tsHeaderButtonDown: {
      const bool band = state_ == tsBandButtonDown;
      const bool pushed = band ? press_.BandButtonPushed : press_.HeaderButtonPushed;
      EndMouseTracking();
      const TNotifyEvent& event = band ? OnBandButtonClick : OnHeaderButtonClick;
      if (pushed && event) event(this);
      return;
    }
    default:
      return;
  }
}

// With tloImmediateEditor a click that starts and ends on the same focused cell opens the
// editor at once.
void TCustomqlTreeList::releaseImmediateEditor(TMouseButton button, TShiftState shift,
                                               const TreeListHitInfo& hit,
                                               TqlTreeListState stateAtRelease) {
  const bool fromRow = stateAtRelease == tsEditing || stateAtRelease == tsNodeDragging ||
                       stateAtRelease == tsNodeDown;
  if (!(fromRow || press_.EditorOnRelease) || !IsOption(tloImmediateEditor) ||
      IsOption(tloRowSelect) || button != mbLeft)
    return;
  const TreeListHitInfo& pressed = press_.Hit;
  if (hit.Area != pressed.Area || (hit.Area != haCell && hit.Area != haNewItemRow) ||
      hit.Column != pressed.Column)
    return;
  // The row: the pressed node (kept in the drag node, which node deletion clears) must be the
  // focused node under the release point; the new item row has no node.
  if (hit.Area == haCell && (!dragNode_ || hit.Node != dragNode_ || focusedNode_ != hit.Node))
    return;
  SetState(tsNormal);
  if (!shift.contains(ssShift) && !shift.contains(ssCtrl))
    ShowEditorFromClick({hit.X, hit.Y}, shift);
}

// ===== cancel tracking ======================================================================

void TCustomqlTreeList::EndMouseTracking() {
  switch (state_) {
    case tsColumnSizing: case tsBandSizing: case tsBandPanelSizing: case tsHeaderPanelSizing:
    case tsRowSizing:
      eraseSizingLine();
      SetState(tsNormal);
      break;
    case tsBandDown: {
      const int band = press_.PressedBand;
      SetState(tsNormal);
      press_.PressedBand = -1;
      press_.BandStillPushed = false;
      mouseFeedback_.BandDown = -1;
      invalidateBandCell(band);
      break;
    }
    case tsBandDragging: case tsColumnDragging:
      EndHeaderDrag(true);
      break;
    case tsFilterButtonDown: {
      const int column = press_.FilterButtonColumn;
      SetState(tsNormal);
      press_.FilterButtonColumn = press_.PressedColumn = -1;
      press_.FilterButtonPushed = false;
      mouseFeedback_.DropDownColumn = -1;
      invalidateHeaderCell(column);
      break;
    }
    case tsFilterCloseButtonDown:
      SetState(tsNormal);
      press_.FilterCloseButtonPushed = mouseFeedback_.StatusClosePressed = false;
      InvalidateRect(StatusCloseButtonRect());
      break;
    case tsColumnDown: {
      const int column = press_.PressedColumn;
      SetState(tsNormal);
      press_.PressedColumn = -1;
      press_.ColumnStillPushed = false;
      mouseFeedback_.ColumnDown = -1;
      invalidateHeaderCell(column);
      break;
    }
    case tsBandButtonDown:
      SetState(tsNormal);
      press_.BandButtonPushed = mouseFeedback_.BandCornerPushed = false;
      InvalidateRect(LayoutFrame()->BandCornerRect);
      break;
    case tsHeaderButtonDown:
      SetState(tsNormal);
      press_.HeaderButtonPushed = mouseFeedback_.HeaderCornerPushed = false;
      InvalidateRect(LayoutFrame()->HeaderCornerRect);
      break;
    default:
      break;  // editing, node pressed and node dragging go on
  }
  hideFilterCloseHint();
}

void TCustomqlTreeList::WMCancelMode() {
  TCustomqlContainer::WMCancelMode();
  EndMouseTracking();
}

// ===== cursor, timers, enter and leave ======================================================

TCursor TCustomqlTreeList::CursorAt(TPoint clientPos) {
  switch (state_) {
    case tsNormal: case tsEditing: {
      const TreeListHitInfo hit = GetHitInfo(clientPos);
      if (hit.Area == haHeaderEdge || (hit.Area == haBandEdge && hit.Band >= 0)) return crHSplit;
      if (hit.Area == haBandPanelEdge || hit.Area == haHeaderPanelEdge || hit.Area == haRowEdge)
        return crVSplit;
      break;
    }
    case tsColumnSizing: case tsBandSizing:
      return crHSplit;
    case tsBandPanelSizing: case tsHeaderPanelSizing: case tsRowSizing:
      return crVSplit;
    default:
      break;
  }
  return TCustomqlContainer::CursorAt(clientPos);
}

void TCustomqlTreeList::WMTimer(int id) {
  switch (id) {
    case kEditorDelayTimerId:
      if (editorDelayTimer.owner == this) stopProcessTimer(editorDelayTimer);
      else KillTimer(id);
      if (state_ == tsNormal) ShowEditor();
      return;
    case kRowScrollTimerId:
      if (rowScrollTimer.owner == this) rowScrollTick();
      else HeaderEdgeScrollTick();
      return;
    case kFilterHintShowTimerId:
      showFilterCloseHint();
      return;
    case kFilterHintHideTimerId:
      hideFilterCloseHint();
      return;
    case kDragExpandTimerId:
      DragExpandTick();
      return;
    default:
      TCustomqlContainer::WMTimer(id);
  }
}

void TCustomqlTreeList::CMMouseEnter() {
  TCustomqlContainer::CMMouseEnter();
  updateHotTrack(GetHitInfo(ScreenToClient(GetCursorPos())));
}

void TCustomqlTreeList::CMMouseLeave() {
  TCustomqlContainer::CMMouseLeave();
  TreeListHitInfo nothing;
  nothing.X = nothing.Y = -1;
  nothing.Area = haOutside;
  updateHotTrack(nothing);
  hideFilterCloseHint();
}
