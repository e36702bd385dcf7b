#pragma once
// What the keyboard and mouse handling leave for painting to read: pushed header parts, the
// hot-tracked cell, a running drag, the incremental search and the new item row's focus; and
// the control's interaction state. Painting only reads these; the input handling owns and
// changes them.
#include <string>

class TqlTreeListNode;

struct TqlMouseFeedback {
  int BandDown = -1;              // visible band whose panel cell is held down, -1 = none
  int ColumnDown = -1;            // absolute column whose header is held down, -1 = none
  bool BandCornerPushed = false;  // the corner button left of the band panel
  bool HeaderCornerPushed = false;
  TqlTreeListNode* HotNode = nullptr;  // hot-tracked cell: node and absolute column
  int HotColumn = -1;
  int HotFilterButtonColumn = -1;  // column whose header filter button the mouse is over
  int DropDownColumn = -1;         // column whose header filter button is held down
  bool StatusCloseHot = false;     // the mouse is over the status panel's close button
  bool StatusClosePressed = false;
  bool Dragging = false;           // a node or header drag is running
};

struct TqlIncrementalSearchState {
  bool Active = false;
  int Column = -1;   // absolute column searched
  std::string Text;  // UTF-8; what has been typed so far
  int Positioning = 0;  // >= 0; above 0 while the search itself moves the focus
};

// What the control is doing with the mouse or the editor; exactly one at a time. The order is
// the stored one. The sizing and dragging states are the tracking states (IsTrackingState):
// while one runs the keyboard only cancels it with Escape.
enum TqlTreeListState {
  tsNormal,                 // idle: every tracking operation ends here
  tsColumnSizing,           // a column header's right edge is held
  tsEditing,                // the in-place editor is shown
  tsColumnDragging,         // a pressed column header moved more than 5 pixels
  tsColumnDown,             // a column header is held
  tsNodeDragging,           // a drag-and-drop started on a node
  tsNodeDown,               // the left button is held on a row
  tsHeaderButtonDown,       // the corner cell left of the header panel is held
  tsBandSizing,             // a band header's right edge is held
  tsBandDragging,           // a pressed band header moved more than 5 pixels
  tsBandDown,               // a band header is held
  tsBandButtonDown,         // the corner cell left of the band panel is held
  tsBandPanelSizing,        // the bottom edge of the band panel is held
  tsHeaderPanelSizing,      // the bottom edge of the header panel is held
  tsRowSizing,              // a row boundary inside the indicator column is held
  tsFilterButtonDown,       // a column header's filter drop-down button is held
  tsFilterCloseButtonDown,  // the close button of the filter status panel is held
};

inline bool IsTrackingState(TqlTreeListState state) {
  switch (state) {
    case tsColumnSizing: case tsColumnDragging: case tsBandSizing: case tsBandDragging:
    case tsBandPanelSizing: case tsHeaderPanelSizing: case tsRowSizing:
      return true;
    default:
      return false;
  }
}
