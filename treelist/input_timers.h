#pragma once
// The timers of the tree-list's input side. The editor delay, the row scroll and the header
// edge scroll are shared by every grid of the process: one pending of each kind, and a start
// on another grid takes it over. The row scroll and the header edge scroll share a number
// (they never run at once: one needs a pressed row, the other a dragged header). The
// drag-expand, filter-close hint and anchor-scroll timers belong to each grid.
class TCustomqlTreeList;

inline constexpr int kqlRowScrollTimerId = 1;
inline constexpr int kqlHeaderEdgeScrollTimerId = 1;
inline constexpr int kqlEditorDelayTimerId = 2;
inline constexpr int kqlDragExpandTimerId = 101;
inline constexpr int kqlFilterHintShowTimerId = 110;
inline constexpr int kqlFilterHintHideTimerId = 111;
inline constexpr int kqlAnchorScrollTimerId = 120;  // one grid at a time: the mode holds the mouse

// One process-wide timer: the grid it runs on, or none.
struct TqlProcessTimer {
  TCustomqlTreeList* owner = nullptr;
  int id = 0;
};
extern TqlProcessTimer qlEditorDelayTimer;
extern TqlProcessTimer qlRowScrollTimer;
extern TqlProcessTimer qlHeaderEdgeScrollTimer;

void StartProcessTimer(TqlProcessTimer& timer, TCustomqlTreeList* grid, int interval);
void StopProcessTimer(TqlProcessTimer& timer);
