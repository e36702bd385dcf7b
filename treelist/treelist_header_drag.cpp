// TqlTreeListInput, header moving: a pressed column or band header that moved more than 5
// pixels (treelist_mouse.cpp) is dragged until the release drops it or a cancel ends it.
//
// Order of work
//   start   picture of the header under the mouse as the drag image (its centre on the mouse),
//           arrows hidden, OnStartHeaderDragging / OnStartBandDragging
//   move    stop edge scrolling; drop target (header_drop_target.h); arrows moved when the
//           target's place changed; cursor: the control's while the drop moves the header,
//           crqlTLDelete while it would hide it, OnDragOverHeader / OnDragOverBand may refuse;
//           edge scrolling when the mouse is in a 12-pixel zone of the scrollable headers
//   end     idle, overlays hidden, the header repainted; unless cancelled: OnDragEndHeader
//           (and OnColumnMoved with one visible band) or OnDragEndBand, then the move or the
//           hide as a request the control applies, OnHeaderMoved / OnHideHeader / OnHideBand,
//           and the neighbour scrolled into view
//
// The drag image and the arrows are overlays on the screen (TScreenOverlay): they move over
// the grid without repainting it, so a drag costs no paint until it ends.
#include <climits>

#include "platform/ui/form.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/services.h"
#include "treelist/drop_arrows.h"
#include "treelist/header_drop_target.h"
#include "treelist/input_timers.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_requests.h"

namespace {

// The arrows' picture is transparent where it is not an arrow; the colour must differ from
// the fill and from the black outline.
TColor arrowsBackground(TColor arrowsColor) {
  return ColorToRGB(arrowsColor) == clFuchsia ? clAqua : clFuchsia;
}

}  // namespace

// ===== start =================================================================================

void TqlTreeListInput::StartHeaderDrag() {
  const int column = press_.DraggedColumn;
  const int band = press_.DraggedBand;
  hideFilterCloseHint();
  grid_.Update();  // the header as it looks when let go, for its picture
  headerDragPoint_ = grid_.ScreenToClient(GetCursorPos());
  headerDragCursor_ = grid_.Cursor();
  press_.DropArrowPos = {-100, -100};
  const auto frame = grid_.LayoutFrame();
  TRect picture;
  if (column >= 0) {
    if (const TqlHeaderCell* cell = frame->HeaderCellOf(column)) picture = cell->VisibleRect;
  } else if (band >= 0) {
    const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
    if (const TqlBandCell* cell = frame->BandCellOf(visible)) picture = cell->VisibleRect;
  }
  showHeaderDragImage(picture);
  if (column >= 0) {
    if (grid_.OnStartHeaderDragging) grid_.OnStartHeaderDragging(&grid_, grid_.ColumnObject(column));
  } else if (band >= 0 && grid_.OnStartBandDragging) {
    grid_.OnStartBandDragging(&grid_, grid_.BandObject(band));
  }
}

// The header as it is on the window, copied from the form's picture: the drag image follows
// the mouse with its centre on it.
void TqlTreeListInput::showHeaderDragImage(const TRect& headerCell) {
  TCustomForm* form = grid_.GetParentForm();
  if (!form || headerCell.IsEmpty()) return;
  const TPoint formTopLeft = grid_.ClientToForm({headerCell.Left, headerCell.Top});
  TBitmap picture(headerCell.Width(), headerCell.Height());
  picture.Canvas().CopyRect({0, 0, headerCell.Width(), headerCell.Height()},
                            form->Image().Canvas(),
                            {formTopLeft.X, formTopLeft.Y, formTopLeft.X + headerCell.Width(),
                             formTopLeft.Y + headerCell.Height()});
  if (!headerDragImage_) headerDragImage_ = std::make_unique<TScreenOverlay>();
  headerDragImage_->SetPicture(picture);
  headerDragHotSpot_ = {headerCell.Width() / 2, headerCell.Height() / 2};
  const TPoint mouse = GetCursorPos();
  headerDragImage_->Show({mouse.X - headerDragHotSpot_.X, mouse.Y - headerDragHotSpot_.Y});
}

// ===== every move ============================================================================

void TqlTreeListInput::UpdateHeaderDrag(TPoint p) {
  const int column = press_.DraggedColumn;
  const int band = press_.DraggedBand;
  if (column < 0 && band < 0) return;
  stopHeaderEdgeScroll();
  headerDragPoint_ = p;
  if (headerDragImage_ && headerDragImage_->Visible()) {
    const TPoint screen = grid_.ClientToScreen(p);
    headerDragImage_->MoveTo({screen.X - headerDragHotSpot_.X, screen.Y - headerDragHotSpot_.Y});
  }
  const auto frame = grid_.LayoutFrame();
  bool outside;
  if (column >= 0) {
    const TqlColumnDropTarget target = ColumnDropTarget(*frame, grid_.Model(), column, p);
    outside = target.Pos.Column == kqlHeaderTargetOutside;
    if (outside) placeDropArrows(false, {}, 0);
    else if (target.ArrowsShown) placeDropArrows(true, target.Arrows, target.ArrowsHeight);
  } else {
    const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
    const TqlBandDropTarget target = BandDropTarget(*frame, visible, p);
    outside = target.Outside;
    if (outside) placeDropArrows(false, {}, 0);
    else if (target.ArrowsShown) placeDropArrows(true, target.Arrows, target.ArrowsHeight);
  }
  bool accept = !outside;
  if (column >= 0) {
    if (grid_.OnDragOverHeader) grid_.OnDragOverHeader(&grid_, grid_.ColumnObject(column), p, accept);
  } else if (grid_.OnDragOverBand) {
    grid_.OnDragOverBand(&grid_, grid_.BandObject(band), p, accept);
  }
  headerDragCursor_ = accept ? grid_.Cursor() : crqlTLDelete;
  // A handler may have ended the drag.
  if (grid_.State() != tsColumnDragging && grid_.State() != tsBandDragging) return;
  headerEdgeScrollDirection_ = HeaderEdgeScrollDirection(*frame, p.X);
  if (headerEdgeScrollDirection_ != 0)
    StartProcessTimer(qlHeaderEdgeScrollTimer, &grid_, kqlHeaderEdgeScrollInterval);
}

// Moves the arrows to a client point, or hides them; the picture is redrawn only when the
// height of the row they point into changes.
void TqlTreeListInput::placeDropArrows(bool shown, TPoint clientPos, int height) {
  if (!shown) {
    if (dropArrows_) dropArrows_->Hide();
    press_.DropArrowPos = {-100, -100};
    press_.DropArrowsShown = false;
    return;
  }
  const TPoint screen = grid_.ClientToScreen(clientPos);
  if (press_.DropArrowsShown && screen == press_.DropArrowPos && height == dropArrowsHeight_)
    return;
  if (!dropArrows_) dropArrows_ = std::make_unique<TScreenOverlay>();
  if (height != dropArrowsHeight_ || dropArrows_->Picture().Empty()) {
    TBitmap picture;
    const TColor background = arrowsBackground(grid_.ArrowsColor());
    DrawDropArrows(picture, height, grid_.ArrowsColor(), background);
    picture.SetTransparentColor(background);
    dropArrows_->SetPicture(picture);
    dropArrows_->SetShapeByTransparentColor();
    dropArrowsHeight_ = height;
  }
  // Shown again each time, so the arrows stay above the drag image.
  dropArrows_->Show(screen);
  press_.DropArrowPos = screen;
  press_.DropArrowsShown = true;
}

void TqlTreeListInput::hideHeaderDragOverlays() {
  if (headerDragImage_) headerDragImage_->Hide();
  placeDropArrows(false, {}, 0);
}

// ===== edge scrolling ========================================================================

void TqlTreeListInput::stopHeaderEdgeScroll() {
  if (qlHeaderEdgeScrollTimer.owner == &grid_) StopProcessTimer(qlHeaderEdgeScrollTimer);
}

// Also the edge scroll of a node drag over the rows (treelist_node_drag.cpp).
void TqlTreeListInput::HeaderEdgeScrollTick() {
  const bool nodeDrag = grid_.State() == tsNodeDragging;
  const bool dragging =
      nodeDrag || grid_.State() == tsColumnDragging || grid_.State() == tsBandDragging;
  const int before = grid_.LeftCoord();
  if (dragging && headerEdgeScrollDirection_ != 0)
    grid_.SetLeftCoord(HeaderEdgeScrollStep(before, headerEdgeScrollDirection_, INT_MAX));
  if (!dragging || grid_.LeftCoord() == before) {
    stopHeaderEdgeScroll();
    return;
  }
  if (nodeDrag) return;
  // The headers moved under the mouse: the target and the arrows follow.
  grid_.Update();
  UpdateHeaderDrag(headerDragPoint_);
}

// ===== the drop ==============================================================================

void TqlTreeListInput::EndHeaderDrag(bool cancelled) {
  const int column = press_.DraggedColumn;
  const int band = press_.DraggedBand;
  stopHeaderEdgeScroll();
  hideHeaderDragOverlays();
  press_.DraggedBand = press_.DraggedColumn = -1;
  press_.PressedBand = press_.PressedColumn = -1;
  press_.BandStillPushed = press_.ColumnStillPushed = false;
  mouseFeedback_.Dragging = false;
  headerEdgeScrollDirection_ = 0;
  grid_.SetState(tsNormal);
  grid_.Invalidate();
  if (cancelled) return;
  if (column >= 0) dropColumn(column, headerDragPoint_);
  else if (band >= 0) dropBand(band, headerDragPoint_);
}

void TqlTreeListInput::dropColumn(int column, TPoint p) {
  const TqlColumnDropTarget target = ColumnDropTarget(*grid_.LayoutFrame(), grid_.Model(), column, p);
  TqlTreeListColumn* object = grid_.ColumnObject(column);
  bool accept = true;
  if (grid_.OnDragEndHeader) grid_.OnDragEndHeader(&grid_, object, p, target.Pos, accept);
  // With one visible band the move is also told as a move inside it, whatever the target and
  // before the answer counts.
  if (grid_.OnColumnMoved && grid_.Model().GetVisibleBandCount() == 1)
    grid_.OnColumnMoved(&grid_, grid_.Model().GetColumnColIndex(column), target.Pos.ColIndex);
  if (!accept) return;
  const int neighbour = target.Pos.Column;
  if (neighbour >= 0 || neighbour == kqlHeaderTargetNoColumn) {
    TqlTreeListRequest move{TqlRequestKind::MoveColumn, column};
    move.Band = target.Pos.BandIndex;
    move.Row = target.Pos.RowIndex;
    move.Position = target.Pos.ColIndex;
    grid_.ApplyRequest(move);
    if (grid_.OnHeaderMoved) grid_.OnHeaderMoved(&grid_, object);
    if (neighbour >= 0) grid_.MakeAbsoluteColumnVisible(neighbour);
  } else if (neighbour == kqlHeaderTargetOutside && grid_.IsOption(tloExtCustomizing)) {
    const bool wasShown = grid_.Model().GetColumnVisible(column);
    grid_.ApplyRequest({TqlRequestKind::HideColumn, column});
    if (wasShown && !grid_.Model().GetColumnVisible(column) && grid_.OnHideHeader)
      grid_.OnHideHeader(&grid_, object);
  }
}

void TqlTreeListInput::dropBand(int band, TPoint p) {
  const int visible = grid_.Model().GetAbsoluteBandIndexToVisible(band);
  const TqlBandDropTarget target = BandDropTarget(*grid_.LayoutFrame(), visible, p);
  const int newIndex = target.Outside ? -1 : target.NoMove ? visible : target.NewIndex;
  TqlTreeListBand* object = grid_.BandObject(band);
  bool accept = true;
  if (grid_.OnDragEndBand) grid_.OnDragEndBand(&grid_, object, p, band, visible, newIndex, accept);
  if (!accept) return;
  if (!target.Outside && newIndex != visible) {
    TqlTreeListRequest move{TqlRequestKind::MoveBand, band};
    move.Position = newIndex;
    grid_.ApplyRequest(move);
    makeBandVisible(grid_.Model().GetAbsoluteBandIndexToVisible(band));
  } else if (target.Outside && grid_.IsOption(tloExtCustomizing)) {
    grid_.ApplyRequest({TqlRequestKind::HideBand, band});
    if (grid_.Model().GetAbsoluteBandIndexToVisible(band) < 0 && grid_.OnHideBand)
      grid_.OnHideBand(&grid_, object);
  }
}

// A scrollable band's header moves into the view, its left edge first when it is wider.
void TqlTreeListInput::makeBandVisible(int visibleBand) {
  const auto frame = grid_.LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visibleBand);
  if (!cell || visibleBand == frame->LeftFixedBand || visibleBand == frame->RightFixedBand) return;
  int left = grid_.LeftCoord();
  const int areaLeft = frame->ScrollAreaLeft, areaRight = frame->ScrollAreaRight;
  if (cell->Rect.Right > areaRight) left += cell->Rect.Right - areaRight;
  if (cell->Rect.Left - (left - grid_.LeftCoord()) < areaLeft)
    left = grid_.LeftCoord() + cell->Rect.Left - areaLeft;
  if (left != grid_.LeftCoord()) grid_.SetLeftCoord(left);
}
