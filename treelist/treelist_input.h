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
//
// What it owns (state split by lifetime):
//   per press      the press record (what lay under the press, pushed elements, sizing
//                  position), the row scroll direction, the sizing line as drawn
//   per hover      the hot-track record and the cursor it replaced, the close hint window
//   for painting   the mouse feedback, kept equal to the press record's pushed flags
//   setting        DblClkExpanding (the grid's property, stored here)
// Band and column changes leave as requests (treelist_requests.h) through the grid's
// ApplyRequest; nothing here sees a band or column object.
//
// Nodes are never kept here across events: the pressed node, the hot-tracked node and the
// node focused before a press live in the grid, which clears them when a node
// goes (DragNode, HotTrackNode, OldFocusedNode).
#include <optional>
#include <vector>

#include "platform/core/types.h"
#include "platform/ui/control.h"
#include "platform/ui/messages.h"
#include "treelist/interaction_state.h"
#include "treelist/press_record.h"

class TCustomqlTreeList;
class TqlContainerHintWindow;

class TqlTreeListInput {
 public:
  explicit TqlTreeListInput(TCustomqlTreeList& grid) : grid_(grid) {}
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
  // Forgets a header drag and goes idle (the grid's default EndHeaderDrag).
  void EndHeaderDrag();

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
};
