// The platform's own cursor pictures (cursor_shapes.h). Every shape is a polygon or rectangle
// outlined by the black pen and filled with the white brush, so each stays readable on dark
// and light backgrounds; what is drawn later lies on top.
#include "platform/ui/cursor_shapes.h"

#include <vector>

#include "platform/gfx/canvas.h"

namespace {

constexpr TColor kSeeThrough = clFuchsia;  // never drawn by a shape

// The pointer: tip at the top-left corner, 17 rows tall, with a tail to the lower right.
// Returns its hot spot, the tip.
TPoint arrow(TCanvas& canvas) {
  canvas.Polygon({{0, 0}, {0, 16}, {4, 12}, {7, 18}, {9, 17}, {6, 11}, {11, 11}});
  return {0, 0};
}

// A page below the pointer's tail; `behind` puts a second one up and to the right of it.
void pages(TCanvas& canvas, bool behind) {
  if (behind) canvas.Rectangle(12, 15, 23, 26);
  canvas.Rectangle(8, 19, 19, 30);
}

// Copying: a square in the lower-right corner with a black plus.
void plusBadge(TCanvas& canvas) {
  canvas.Rectangle(20, 20, 31, 31);
  canvas.Brush.SetColor(clBlack);
  canvas.FillRect({22, 24, 29, 27});
  canvas.FillRect({24, 22, 27, 29});
  canvas.Brush.SetColor(clWhite);
}

// Hiding: a white cross over the lower right of the pointer.
void crossBadge(TCanvas& canvas) {
  const int cx = 22, cy = 22;
  canvas.Polygon({{cx - 5, cy - 3}, {cx - 3, cy - 5}, {cx, cy - 2}, {cx + 3, cy - 5},
                  {cx + 5, cy - 3}, {cx + 2, cy}, {cx + 5, cy + 3}, {cx + 3, cy + 5},
                  {cx, cy + 2}, {cx - 3, cy + 5}, {cx - 5, cy + 3}, {cx - 2, cy}});
}

// The anchor-scroll marks: a dot in the middle and a triangle per direction whose tip is 12
// pixels from the dot's centre. Returns the hot spot, the dot's centre.
enum TDirection { dUp = 1, dRight = 2, dDown = 4, dLeft = 8 };

TPoint scrollMarks(TCanvas& canvas, int directions) {
  const int c = 15;
  canvas.Ellipse(c - 3, c - 3, c + 4, c + 4);
  if (directions & dUp) canvas.Polygon({{c, c - 12}, {c + 5, c - 7}, {c - 5, c - 7}});
  if (directions & dDown) canvas.Polygon({{c, c + 12}, {c + 5, c + 7}, {c - 5, c + 7}});
  if (directions & dLeft) canvas.Polygon({{c - 12, c}, {c - 7, c - 5}, {c - 7, c + 5}});
  if (directions & dRight) canvas.Polygon({{c + 12, c}, {c + 7, c - 5}, {c + 7, c + 5}});
  return {c, c};
}

}  // namespace

std::optional<TDrawnCursor> DrawnCursor(TCursor cursor) {
  TDrawnCursor drawn{TBitmap(kDrawnCursorSize, kDrawnCursorSize), {}};
  TCanvas& canvas = drawn.Picture.Canvas();
  canvas.Brush.SetColor(kSeeThrough);
  canvas.FillRect({0, 0, kDrawnCursorSize, kDrawnCursorSize});
  drawn.Picture.SetTransparentColor(kSeeThrough);
  canvas.Pen.SetColor(clBlack);
  canvas.Brush.SetColor(clWhite);
  switch (cursor) {
    case crMultiDrag: pages(canvas, true); drawn.HotSpot = arrow(canvas); break;
    case crqlTLDragCopy: pages(canvas, false); drawn.HotSpot = arrow(canvas); plusBadge(canvas); break;
    case crqlTLMultiDragCopy: pages(canvas, true); drawn.HotSpot = arrow(canvas); plusBadge(canvas); break;
    case crqlTLDelete: drawn.HotSpot = arrow(canvas); crossBadge(canvas); break;
    case crqlTLFullScroll: drawn.HotSpot = scrollMarks(canvas, dUp | dRight | dDown | dLeft); break;
    case crqlTLHorScroll: drawn.HotSpot = scrollMarks(canvas, dLeft | dRight); break;
    case crqlTLVerScroll: drawn.HotSpot = scrollMarks(canvas, dUp | dDown); break;
    case crqlTLUpScroll: drawn.HotSpot = scrollMarks(canvas, dUp); break;
    case crqlTLRightScroll: drawn.HotSpot = scrollMarks(canvas, dRight); break;
    case crqlTLDownScroll: drawn.HotSpot = scrollMarks(canvas, dDown); break;
    case crqlTLLeftScroll: drawn.HotSpot = scrollMarks(canvas, dLeft); break;
    default: return std::nullopt;
  }
  return drawn;
}
