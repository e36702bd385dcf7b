// The core's side of the mouse: each framework override hands its event to the mouse side
// (TqlTreeListInput, treelist_input.h) and raises the framework's own event after it; the
// defaults of the mouse hooks the later layers override; and the seams the mouse side reads
// through. Nothing here decides what a press or a move does.
#include "platform/ui/drag_manager.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"

// ===== events handed to the mouse side ======================================================

void TCustomqlTreeList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (input_.MouseDown(Button, Shift, {X, Y})) TControl::MouseDown(Button, Shift, X, Y);
}

void TCustomqlTreeList::MouseMove(TShiftState Shift, int X, int Y) {
  input_.MouseMove(Shift, {X, Y});
  TControl::MouseMove(Shift, X, Y);
}

void TCustomqlTreeList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  input_.MouseUp(Button, Shift, {X, Y});
  TControl::MouseUp(Button, Shift, X, Y);
}

void TCustomqlTreeList::CMMouseEnter() {
  TCustomqlContainer::CMMouseEnter();
  input_.MouseEnter();
}

void TCustomqlTreeList::CMMouseLeave() {
  TCustomqlContainer::CMMouseLeave();
  input_.MouseLeave();
}

void TCustomqlTreeList::WMCancelMode() {
  TCustomqlContainer::WMCancelMode();
  EndMouseTracking();
}

void TCustomqlTreeList::WMTimer(int id) {
  if (!input_.Timer(id)) TCustomqlContainer::WMTimer(id);
}

TCursor TCustomqlTreeList::CursorAt(TPoint clientPos) {
  if (const std::optional<TCursor> cursor = input_.CursorAt(clientPos)) return *cursor;
  return TCustomqlContainer::CursorAt(clientPos);
}

void TCustomqlTreeList::EndMouseTracking() { input_.EndTracking(); }

// ===== node drag-and-drop ===================================================================

void TCustomqlTreeList::StartNodeDrag(TqlTreeListNode* node) {
  SetDragNode(node);
  BeginDrag(true);
}

void TCustomqlTreeList::DoStartDrag(TDragObject*& DragObject) {
  input_.StartNodeDrag(DragObject);
  TCustomqlContainer::DoStartDrag(DragObject);
}

void TCustomqlTreeList::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  TCustomqlContainer::DragOver(Source, X, Y, State, Accept);
  if (CurrentDragObject()) input_.NodeDragOver({X, Y}, State);
}

void TCustomqlTreeList::DoEndDrag(TObject* Target, int X, int Y) {
  input_.EndNodeDrag();
  TCustomqlContainer::DoEndDrag(Target, X, Y);
}

void TCustomqlTreeList::DragExpandTick() { input_.DragExpandTick(); }

void TCustomqlTreeList::HideSizingFeedback() { input_.HideSizingLine(); }
void TCustomqlTreeList::ShowSizingFeedback() { input_.ShowSizingLine(); }

int TCustomqlTreeList::ColumnBestWidth(int column) const { return input_.ColumnBestWidth(column); }
void TCustomqlTreeList::ApplyBestWidth(int column) { input_.ApplyBestWidth(column); }
void TCustomqlTreeList::ApplyBandBestWidths(int visibleBand) {
  input_.ApplyBandBestWidths(visibleBand);
}
void TCustomqlTreeList::ApplyAllBestWidths() { input_.ApplyAllBestWidths(); }

// ===== the core's answers to the mouse hooks ================================================

void TCustomqlTreeList::StartColumnDrag(int) { input_.StartHeaderDrag(); }
void TCustomqlTreeList::StartBandDrag(int) { input_.StartHeaderDrag(); }
void TCustomqlTreeList::HeaderDragMove(TPoint clientPoint) { input_.UpdateHeaderDrag(clientPoint); }
void TCustomqlTreeList::EndHeaderDrag(bool cancelled) { input_.EndHeaderDrag(cancelled); }
void TCustomqlTreeList::HeaderEdgeScrollTick() { input_.HeaderEdgeScrollTick(); }
void TCustomqlTreeList::AnchorScroll(TPoint clientPoint) {
  input_.StartAnchorScroll(ClientToScreen(clientPoint));
}

int TCustomqlTreeList::CellHotPart(int column, TqlTreeListNode* node, TPoint) const {
  return IsOption(tloHotTrack) && column >= 0 && node ? 0 : -1;
}

// ===== seams ================================================================================

TqlRowHeightInfo TCustomqlTreeList::RowHeightWithUnit(TqlTreeListNode* node,
                                                      int unitRowHeight) const {
  return ComputeRowHeight(node, unitRowHeight);
}
