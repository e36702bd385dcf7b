#pragma once
// What the mouse handling of the tree-list keeps between a press and the next one, and the
// hot-track record handed to OnHotTrackNode. Plain data; TqlTreeListInput (treelist_input.h)
// owns both.
#include <cstdint>

#include "platform/core/types.h"
#include "treelist/treelist_hittest.h"
#include "treelist/treelist_types.h"

class TqlTreeListNode;

// Kept from one press until the next. Nodes are not stored here: the press's node lives in
// the core's drag node, which node deletion clears.
struct TqlPressRecord {
  TreeListHitInfo Hit;               // what lay under the press (Hit.Node may be gone later)
  TPoint Point;                      // the press point
  int PressedBand = -1;              // absolute band whose header is held, -1 = none
  bool BandStillPushed = false;      // the mouse is over the band header it pressed
  int PressedColumn = -1;            // absolute column whose header is held, -1 = none
  bool ColumnStillPushed = false;
  int FilterButtonColumn = -1;       // column whose filter drop-down button is held
  bool FilterButtonPushed = false;
  bool BandButtonPushed = false;     // the corner cell left of the band panel
  bool HeaderButtonPushed = false;   // the corner cell left of the header panel
  bool FilterCloseButtonPushed = false;
  int SizingPos = 0;                 // where the dragged edge is now (x or y)
  int SizingPosAtPress = 0;
  int DraggedBand = -1;              // absolute band whose header is dragged, -1 = none
  int DraggedColumn = -1;            // absolute column whose header is dragged, -1 = none
  TPoint DropArrowPos{-100, -100};   // screen point of the drop arrows; (-100, -100) = hidden
  bool DropArrowsShown = false;      // the arrows' overlay is on the screen
  bool CtrlClick = false;            // a Ctrl or Shift press changed the selection
  bool SelectOnRelease = false;      // reduce the selection to the focused node on release
  bool EditorOnRelease = false;      // the release may show the editor
  bool GaveFocus = false;            // the press took the input focus to the grid
  uint32_t Time = 0;                 // tick count of the last left press
};

// The hot-tracked element.
struct TqlTreeListHotTrackInfo {
  TqlTreeListNode* Node = nullptr;
  int Column = -1;    // absolute column, -1 = none
  int HotPart = -1;   // the part of a cell the column reports, -1 = none
  TqlHeaderPart HeaderPart = TqlHeaderPart::None;  // over the header of Column

  bool operator==(const TqlTreeListHotTrackInfo&) const = default;
};
