#pragma once
// TqlTreeListInput: the tree-list's mouse side. The grid (the host) hands it every mouse event,
// the timers, the cursor question and the sizing feedback around a paint pass; it keeps what
// lives from one press to the next and reaches the grid only through the grid's public members.
//
//   treelist_mouse.cpp      pressing and releasing, header and corner buttons, row scrolling
//                           while pressed, cancelling a tracking operation, the timers
//   treelist_sizing.cpp     the inverted sizing line and the width and height requests
//   treelist_hot_track.cpp  hot tracking and the filter status panel's close hint
//   treelist_best_width.cpp best widths of columns (a request per column)
//   treelist_anchor_mode.*  anchor scrolling with the middle button
//   treelist_node_drag.cpp  node drag-and-drop: the drag image, expanding and scrolling while
//                           a drag is over the grid
//   treelist_header_drag.cpp moving and hiding column and band headers by dragging them: the
//                           drag image, the drop arrows, the cursor, edge scrolling, the drop
//
// What it owns (state split by lifetime):
//   per press      the press record (what lay under the press, pushed elements, sizing
//                  position), the row scroll direction, the sizing line as drawn
//   per drag       the drag image and drop arrows (overlays shown on the screen, so the grid
//                  is not repainted while a header moves), the drag cursor, the edge-scroll
//                  direction
//   per hover      the hot-track record and the cursor it replaced, the close hint window
//   for painting   the mouse feedback, kept equal to the press record's pushed flags
//   setting        DblClkExpanding (the grid's property, stored here)
// Band and column changes leave as requests (treelist_requests.h) through the grid's
// ApplyRequest; nothing here sees a band or column object.
//
// Nodes are never kept here across events: the pressed node, the hot-tracked node and the
// node focused before a press live in the grid, which clears them when a node
// goes (DragNode, HotTrackNode, OldFocusedNode).
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/types.h"
#include "platform/ui/control.h"
#include "platform/ui/messages.h"
#include "treelist/interaction_state.h"
#include "treelist/press_record.h"

class TCustomqlTreeList;
class TqlContainerHintWindow;
class TScreenOverlay;
class TqlAnchorMode;
class TqlNodeDragObject;
class TqlTreeListNode;
class TDragObject;
class TBitmap;

class TqlTreeListInput {
 public:
  explicit TqlTreeListInput(TCustomqlTreeList& grid);
  // Process-wide timers that point at the grid are taken back.
  ~TqlTreeListInput();
  TqlTreeListInput(const TqlTreeListInput&) = delete;
  TqlTreeListInput& operator=(const TqlTreeListInput&) = delete;

  // ----- events the grid's overrides hand over (treelist_mouse.cpp) -------------------------
  // False when the press ends without OnMouseDown (a handler took the focus away, or the
  // press expanded, collapsed or double-clicked a row).
  bool MouseDown(TMouseButton button, TShiftState shift, TPoint p);
  void MouseMove(TShiftState shift, TPoint p);
  // Runs under the selection lock; raises OnClick after a press on a row.
  void MouseUp(TMouseButton button, TShiftState shift, TPoint p);
  void MouseEnter();
  void MouseLeave();
  // False for a timer that is not the mouse side's.
  bool Timer(int id);
  // The split cursor over an edge or while sizing; nothing where the control's cursor holds.
  std::optional<TCursor> CursorAt(TPoint p) const;
  // Cancels a tracking operation: erases a sizing line, releases a pushed element, hides the
  // close hint (the grid's EndMouseTracking).
  void EndTracking();

  // ----- header drags (treelist_header_drag.cpp) ---------------------------------------------
  // The grid's default StartColumnDrag and StartBandDrag: the header in the press record's
  // DraggedColumn or DraggedBand starts moving (state column or band dragging is set).
  void StartHeaderDrag();
  // Every mouse move of the drag (the grid's default HeaderDragMove).
  void UpdateHeaderDrag(TPoint p);
  // The grid's default EndHeaderDrag: idle again, the overlays gone, the header repainted;
  // unless cancelled, the drop at the last drag point is offered to the events and applied.
  void EndHeaderDrag(bool cancelled);
  // One edge-scroll tick (the grid's default HeaderEdgeScrollTick).
  void HeaderEdgeScrollTick();
  // The cursor a header drag shows: the control's cursor while the drop would move the
  // header, the delete cursor while it would hide it.
  TCursor HeaderDragCursor() const { return headerDragCursor_; }
  // ----- anchor scrolling (treelist_anchor_mode.h) -------------------------------------------
  // The grid's default AnchorScroll: the mode starts at a screen point.
  void StartAnchorScroll(TPoint screenPoint);
  // The running or last anchor mode, null before the first.
  const TqlAnchorMode* AnchorMode() const { return anchorMode_.get(); }

  // ----- node drag-and-drop (treelist_node_drag.cpp) ------------------------------------------
  // The drag manager starts a drag from the grid: dragObject becomes the input side's own.
  void StartNodeDrag(TDragObject*& dragObject);
  // A drag (from this grid or another control) over the grid at a client point.
  void NodeDragOver(TPoint p, TDragState state);
  // Timer 101 (the grid's default DragExpandTick).
  void DragExpandTick();
  // The grid's drag ended, dropped or cancelled.
  void EndNodeDrag();

  // The drag image and the drop arrows on the screen (null before the first drag).
  const TScreenOverlay* HeaderDragImage() const { return headerDragImage_.get(); }
  const TScreenOverlay* DropArrows() const { return dropArrows_.get(); }

  // ----- the sizing line (treelist_sizing.cpp) -----------------------------------------------
  // Taken off before a paint pass and put back on the finished picture.
  void HideSizingLine();
  void ShowSizingLine();
  bool SizingLineShown() const { return !sizingLine_.empty() && !sizingLineHidden_; }

  // ----- best widths (treelist_best_width.cpp) -----------------------------------------------
  int ColumnBestWidth(int column) const;  // the grid's default ColumnBestWidth
  void ApplyBestWidth(int column);
  void ApplyBandBestWidths(int visibleBand);
  void ApplyAllBestWidths();

  // ----- what it keeps ------------------------------------------------------------------------
  const TqlPressRecord& Press() const { return press_; }
  const TqlTreeListHotTrackInfo& HotTrack() const { return hotTrack_; }
  TqlMouseFeedback& MouseFeedback() { return mouseFeedback_; }
  const TqlMouseFeedback& MouseFeedback() const { return mouseFeedback_; }
  bool DblClkExpanding() const { return dblClkExpanding_; }
  void SetDblClkExpanding(bool value) { dblClkExpanding_ = value; }

 private:
  // presses and releases (treelist_mouse.cpp)
  bool pressHeaderArea(const TreeListHitInfo& hit, bool doubleClick);
  bool pressRows(TMouseButton button, TShiftState shift, const TreeListHitInfo& hit,
                 bool doubleClick);
  void moveHeaderPressed(TPoint p);
  void moveNodePressed(TShiftState shift, TPoint p);
  void updatePushedElements(TPoint p);
  void releasePressed(TShiftState shift, TPoint p);
  void releaseImmediateEditor(TMouseButton button, TShiftState shift,
                              const TreeListHitInfo& hit, TqlTreeListState stateAtRelease);
  bool overHeaderCell(int column, TPoint p) const;
  bool overBandCell(int band, TPoint p) const;
  bool overFilterButton(int column, TPoint p) const;
  void invalidateHeaderCell(int column);
  void invalidateBandCell(int band);
  TRect statusCloseButtonRect() const;  // empty when the status panel shows none
  void startEditorDelay();
  void rowScrollTick();
  bool inputFocusInside() const;
  // sizing (treelist_sizing.cpp)
  void startSizing(TqlTreeListState state, int pos);
  int clampSizingPos(int pos) const;
  void moveSizing(TPoint p);
  void releaseSizing();
  std::vector<TRect> sizingLineRects() const;
  void invertSizingLine();
  void eraseSizingLine();
  void applyBandWidth(int visibleBand, int pos);
  void applyColumnWidth(int column, int pos);
  void applyRowHeight(int pos);
  // hot tracking (treelist_hot_track.cpp)
  TqlHeaderPart headerPartAt(int column, TPoint p) const;
  void updateHotTrack(const TreeListHitInfo& hit);
  void showFilterCloseHint();
  void hideFilterCloseHint();
  // header drags (treelist_header_drag.cpp)
  void showHeaderDragImage(const TRect& headerCell);
  void placeDropArrows(bool shown, TPoint clientPos, int height);
  void hideHeaderDragOverlays();
  void dropColumn(int column, TPoint p);
  void dropBand(int band, TPoint p);
  void makeBandVisible(int visibleBand);
  void stopHeaderEdgeScroll();
  // node drags (treelist_node_drag.cpp)
  TBitmap nodeDragImage(TqlTreeListNode* node) const;

  TCustomqlTreeList& grid_;
  TqlPressRecord press_;
  TqlMouseFeedback mouseFeedback_;          // what painting reads; follows press_ and hotTrack_
  TqlTreeListHotTrackInfo hotTrack_;
  TCursor hotTrackBaseCursor_ = crDefault;  // the control's cursor before hot tracking set one
  bool dblClkExpanding_ = true;
  int rowScrollDirection_ = 0;              // -1 above the rows, +1 below
  std::vector<TRect> sizingLine_;           // the inverted rectangles, empty when no line
  bool sizingLineHidden_ = false;           // taken off for a paint pass
  TqlContainerHintWindow* filterCloseHint_ = nullptr;  // owned as a component of the grid
  TPoint headerDragPoint_;                   // the last mouse point of a header drag (client)
  TCursor headerDragCursor_ = crDefault;
  int headerEdgeScrollDirection_ = 0;        // -1 left, +1 right, 0 not scrolling
  TPoint headerDragHotSpot_;                 // the drag image's centre
  std::unique_ptr<TScreenOverlay> headerDragImage_;  // created by the first header drag
  std::unique_ptr<TScreenOverlay> dropArrows_;
  int dropArrowsHeight_ = -1;                // the row height the arrows' picture was drawn for
  std::unique_ptr<TqlNodeDragObject> nodeDragObject_;  // the last node drag's, replaced by the next
  std::unique_ptr<TqlAnchorMode> anchorMode_;  // kept after it ends until the next one starts
};
