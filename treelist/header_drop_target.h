#pragma once
// Where a dragged column or band header would land if it were dropped at a point, and where
// the drop arrows go: the input side asks on every move of a header drag and once more at the
// drop. Pure questions over the layout frame and the model; nothing here moves anything.
//
// Arrow positions are client points: the arrows' left edge (an arrow is 11 pixels wide, so
// the edge it points at is 5 pixels right of it) and 9 pixels above the header cell, band or
// row they point into. Outside the headers there are no arrows.
#include "platform/core/types.h"

struct TqlLayoutSnapshot;
class TqlTreeListModel;

// Targets that are not a column.
inline constexpr int kqlHeaderTargetOutside = -1;  // outside the headers: the drop hides it
inline constexpr int kqlHeaderTargetNoMove = -2;   // the drop changes nothing
inline constexpr int kqlHeaderTargetNoColumn = -3;  // an empty band or a new header row

// Where a dropped column goes. ColIndex is the position it has after the move, counted as if
// it had already left its old place when that lies in the same row.
struct TqlHeaderPosInfo {
  int BandIndex = -1;  // visible band
  int RowIndex = 0;    // header row
  int ColIndex = 0;
  int Column = kqlHeaderTargetOutside;  // the neighbour it lands next to, or a target above

  bool operator==(const TqlHeaderPosInfo&) const = default;
};

// No move and outside carry no arrows: after no move the arrows stay where they were, outside
// the headers they are taken away.
struct TqlColumnDropTarget {
  TqlHeaderPosInfo Pos;
  bool ArrowsShown = false;
  TPoint Arrows;      // client point, when shown
  int ArrowsHeight = 0;  // the height of the header row the arrows point into
};

// The drop target of column draggedColumn (absolute) at point p (client coordinates).
TqlColumnDropTarget ColumnDropTarget(const TqlLayoutSnapshot& frame,
                                     const TqlTreeListModel& model, int draggedColumn,
                                     TPoint p);

struct TqlBandDropTarget {
  bool Outside = true;  // outside the band panel: the drop hides it
  bool NoMove = false;
  int NewIndex = -1;    // visible index after the move, counted without the dragged band
  bool ArrowsShown = false;
  TPoint Arrows;
  int ArrowsHeight = 0;
};

// The drop target of visible band draggedBand at point p.
TqlBandDropTarget BandDropTarget(const TqlLayoutSnapshot& frame, int draggedBand, TPoint p);

// Edge scrolling while a header is dragged: within 12 pixels inside the left edge (strictly
// between it and 12 pixels in) or the right edge (more than 12 pixels in no longer counts,
// the edge itself does) of the span the scrollable bands are shown in, the grid scrolls that
// way by 32 pixels every 100 ms.
inline constexpr int kqlHeaderEdgeScrollZone = 12;
inline constexpr int kqlHeaderEdgeScrollStep = 32;
inline constexpr int kqlHeaderEdgeScrollInterval = 100;  // milliseconds
// -1 toward the left edge, +1 toward the right edge, 0 elsewhere (x in client coordinates).
int HeaderEdgeScrollDirection(const TqlLayoutSnapshot& frame, int x);
// The left coordinate after one tick toward direction, kept within 0..maxLeftCoord.
int HeaderEdgeScrollStep(int leftCoord, int direction, int maxLeftCoord);
