#pragma once
// What Windows draws (internal): the GDI rules that turn a primitive into device pixels,
// before any colour or clipping. Everything here works in device coordinates and returns
// spans (1-pixel-high rectangles) or rectangles; raster.h paints them.
//
// Rules collected here (each quirk is commented where it is applied):
//   - rectangles are half-open; a pen outline runs along the inside edge (Left..Right-1)
//   - a null pen makes Rectangle/Ellipse one pixel smaller on the right and bottom
//   - cosmetic lines leave out their last point; Bresenham with Windows' octant bias
//   - cosmetic dash patterns (NT): dash 18/6, dot 3/3, dash-dot 9/6/3/6, dash-dot-dot 9/3/3/3/3/3
//   - ellipses: Zingl's integer rasteriser over the inclusive box (Left..Right-1, Top..Bottom-1)
//   - polygon interiors: pixel centres inside, left edges in, right edges out
//   - brush patterns: 8 x 8, cell (0, 0) on the brush origin (device coordinates)
//   - DrawEdge: Windows' colour table per inner/outer and left-top/right-bottom side
#include <cstdint>
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/graphics.h"

namespace gdi {

// R2_* code (1..16) of a pen mode.
int PenModeToRop2(TPenMode mode);

// Pixels of a cosmetic line from a to b, b excluded.
void LinePixels(TPoint a, TPoint b, std::vector<TPoint>& out);

// A pen's pixels split into the drawn ones and the style gaps (filled with the background
// colour in OPAQUE mode). closed: the polyline returns to its first point.
struct PenPixels {
  std::vector<TRect> on;   // 1-pixel-high spans
  std::vector<TRect> off;  // gaps of a styled pen
};
PenPixels PolylinePixels(const std::vector<TPoint>& points, int width, TPenStyle style, bool closed);

// Outline and interior spans of a shape under a pen (style psClear = no outline).
struct Shape {
  std::vector<TRect> outline;
  std::vector<TRect> outlineGaps;  // style gaps of a dashed outline
  std::vector<TRect> interior;
};
Shape RectangleShape(TRect rect, int penWidth, TPenStyle penStyle);
Shape EllipseShape(TRect rect, int penWidth, TPenStyle penStyle);
// Interior spans of a polygon (ALTERNATE or WINDING).
std::vector<TRect> PolygonInterior(const std::vector<TPoint>& points, int fillMode);
// Full spans (outline included) of the ellipse through the inclusive box
// (x0, y0)..(x1, y1); exposed for tests and for Windows' elliptic shapes.
std::vector<TRect> EllipseSpans(int x0, int y0, int x1, int y1);

// Rows of the 8 x 8 hatch bitmap of a hatch brush style (bit 7 = leftmost pixel; set bits
// are the hatch lines).
const uint8_t* HatchRows(TBrushStyle style);

// DrawEdge's system-colour indexes (-1 = not drawn) for one edge/flags combination.
struct EdgeColors {
  int ltOuter, ltInner, rbOuter, rbInner;
  int width;  // pixels the edge takes on each drawn side (for BF_ADJUST / BF_MIDDLE)
};
EdgeColors EdgeColorsFor(unsigned edge, unsigned flags);

// Normalises a rectangle so that Left <= Right and Top <= Bottom (as GDI's shapes do).
TRect Normalised(const TRect& r);

// Merges a row-sorted or unsorted list of single pixels into 1-pixel-high spans.
void PixelsToSpans(std::vector<TPoint>& pixels, std::vector<TRect>& spans);

}  // namespace gdi
