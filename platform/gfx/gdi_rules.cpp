#include "platform/gfx/gdi_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gfx/gdi_consts.h"

namespace gdi {

int PenModeToRop2(TPenMode mode) {
  // Pen mode -> R2_* code.
  static const int table[] = {
      1,   // pmBlack        R2_BLACK
      16,  // pmWhite        R2_WHITE
      11,  // pmNop          R2_NOP
      6,   // pmNot          R2_NOT
      13,  // pmCopy         R2_COPYPEN
      4,   // pmNotCopy      R2_NOTCOPYPEN
      14,  // pmMergePenNot  R2_MERGEPENNOT
      5,   // pmMaskPenNot   R2_MASKPENNOT
      12,  // pmMergeNotPen  R2_MERGENOTPEN
      3,   // pmMaskNotPen   R2_MASKNOTPEN
      15,  // pmMerge        R2_MERGEPEN
      2,   // pmNotMerge     R2_NOTMERGEPEN
      9,   // pmMask         R2_MASKPEN
      8,   // pmNotMask      R2_NOTMASKPEN
      7,   // pmXor          R2_XORPEN
      10,  // pmNotXor       R2_NOTXORPEN
  };
  return table[int(mode)];
}

TRect Normalised(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
          std::max(r.Top, r.Bottom)};
}

void LinePixels(TPoint a, TPoint b, std::vector<TPoint>& out) {
  const int ddx = b.X - a.X, ddy = b.Y - a.Y;
  const int dx = std::abs(ddx), dy = std::abs(ddy);
  if (dx == 0 && dy == 0) return;
  // Windows numbers the octants so that lines are reversible: where the ideal line passes
  // exactly between two pixels, octants 3, 5, 6 and 8 step the minor axis and the others do
  // not, so A->B and B->A light the same pixels.
  static const int octants[] = {5, 6, 8, 7, 4, 3, 1, 2};
  const int octant = octants[((ddx < 0) << 2) + ((ddy < 0) << 1) + (dy > dx)];
  const int bias = ((1 << (octant - 1)) & 0xB4) ? 1 : 0;
  const int xInc = ddx < 0 ? -1 : 1, yInc = ddy < 0 ? -1 : 1;
  TPoint p = a;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    for (int i = 0; i < dx; ++i) {
      out.push_back(p);
      if (err + bias > 0) { p.Y += yInc; err += 2 * dy - 2 * dx; } else err += 2 * dy;
      p.X += xInc;
    }
  } else {
    int err = 2 * dx - dy;
    for (int i = 0; i < dy; ++i) {
      out.push_back(p);
      if (err + bias > 0) { p.X += xInc; err += 2 * dx - 2 * dy; } else err += 2 * dx;
      p.Y += yInc;
    }
  }
}

void PixelsToSpans(std::vector<TPoint>& pixels, std::vector<TRect>& spans) {
  std::sort(pixels.begin(), pixels.end(),
            [](TPoint l, TPoint r) { return l.Y != r.Y ? l.Y < r.Y : l.X < r.X; });
  pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
  for (size_t i = 0; i < pixels.size();) {
    size_t j = i + 1;
    while (j < pixels.size() && pixels[j].Y == pixels[i].Y && pixels[j].X == pixels[j - 1].X + 1) ++j;
    spans.push_back({pixels[i].X, pixels[i].Y, pixels[j - 1].X + 1, pixels[i].Y + 1});
    i = j;
  }
}

namespace {

// Cosmetic pen dash patterns as Windows NT draws them (on, off, on, off... in pixels).
struct Dashes {
  int count;
  int len[6];
};
const Dashes& dashesFor(TPenStyle style) {
  static const Dashes solid{0, {}}, dash{2, {18, 6}}, dot{2, {3, 3}}, dashDot{4, {9, 6, 3, 6}},
      dashDotDot{6, {9, 3, 3, 3, 3, 3}};
  switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
  }
}

// Stamps a w x w square around each pixel: the wide pen's footprint (Windows draws round
// caps and joins for geometric pens; the square is close enough for the widths we use).
void stampWide(const std::vector<TPoint>& pixels, int width, std::vector<TPoint>& out) {
  const int lo = -(width / 2), hi = lo + width;
  for (TPoint p : pixels)
    for (int y = lo; y < hi; ++y)
      for (int x = lo; x < hi; ++x) out.push_back({p.X + x, p.Y + y});
}

void frameSpans(const TRect& outer, int thickness, std::vector<TRect>& out) {
  if (outer.IsEmpty()) return;
  if (outer.Width() <= 2 * thickness || outer.Height() <= 2 * thickness) {
    out.push_back(outer);
    return;
  }
  out.push_back({outer.Left, outer.Top, outer.Right, outer.Top + thickness});
  out.push_back({outer.Left, outer.Top + thickness, outer.Left + thickness, outer.Bottom - thickness});
  out.push_back({outer.Right - thickness, outer.Top + thickness, outer.Right, outer.Bottom - thickness});
  out.push_back({outer.Left, outer.Bottom - thickness, outer.Right, outer.Bottom});
}

// Alois Zingl, "A Rasterizing Algorithm for Drawing Curves" (plotEllipseRect): the outline
// pixels of the ellipse touching x0..x1 and y0..y1 (inclusive), one quadrant stepped and
// mirrored. A pixel may be plotted more than once.
template <typename Plot>
void zinglEllipse(int x0, int y0, int x1, int y1, Plot&& plot) {
  if (x1 < x0 || y1 < y0) return;
  long long a = x1 - x0, b = y1 - y0, b1 = b & 1;
  long long dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
  long long err = dx + dy + b1 * a * a, e2;
  int X0 = x0, X1 = x1;
  int Y0 = y0 + int((b + 1) / 2), Y1 = Y0 - int(b1);
  a *= 8 * a;
  b1 = 8 * b * b;
  do {
    plot(X1, Y0);
    plot(X0, Y0);
    plot(X0, Y1);
    plot(X1, Y1);
    e2 = 2 * err;
    if (e2 <= dy) { Y0++; Y1--; err += dy += a; }
    if (e2 >= dx || 2 * err > dy) { X0++; X1--; err += dx += b1; }
  } while (X0 <= X1);
  while (Y0 - Y1 < int(b)) {  // flat ellipses (width 1 or 2): finish the tips
    plot(X0 - 1, Y0);
    plot(X1 + 1, Y0++);
    plot(X0 - 1, Y1);
    plot(X1 + 1, Y1--);
  }
}

// Per row of the box: the leftmost and rightmost outline pixel (full extent of the row).
void ellipseRows(int x0, int y0, int x1, int y1, std::vector<int>& lefts, std::vector<int>& rights) {
  const int h = y1 - y0 + 1;
  lefts.assign(size_t(std::max(h, 0)), INT32_MAX);
  rights.assign(size_t(std::max(h, 0)), INT32_MIN);
  zinglEllipse(x0, y0, x1, y1, [&](int x, int y) {
    if (y < y0 || y > y1) return;
    size_t i = size_t(y - y0);
    lefts[i] = std::min(lefts[i], x);
    rights[i] = std::max(rights[i], x);
  });
}

// Per row of the box: the pixels strictly inside the outline ([l, r], l > r when none):
// those right of the last left-half outline pixel and left of the first right-half one.
void ellipseInterior(int x0, int y0, int x1, int y1, std::vector<int>& lefts, std::vector<int>& rights) {
  const int h = y1 - y0 + 1;
  std::vector<int> leftEdge(size_t(std::max(h, 0)), INT32_MIN), rightEdge(size_t(std::max(h, 0)), INT32_MAX);
  const int cx2 = x0 + x1;  // twice the centre's x
  zinglEllipse(x0, y0, x1, y1, [&](int x, int y) {
    if (y < y0 || y > y1) return;
    size_t i = size_t(y - y0);
    if (2 * x <= cx2) leftEdge[i] = std::max(leftEdge[i], x);
    if (2 * x >= cx2) rightEdge[i] = std::min(rightEdge[i], x);
  });
  lefts.assign(leftEdge.size(), 0);
  rights.assign(leftEdge.size(), -1);
  for (size_t i = 0; i < leftEdge.size(); ++i)
    if (leftEdge[i] != INT32_MIN && rightEdge[i] != INT32_MAX && rightEdge[i] - leftEdge[i] > 1) {
      lefts[i] = leftEdge[i] + 1;
      rights[i] = rightEdge[i] - 1;
    }
}

}  // namespace

PenPixels PolylinePixels(const std::vector<TPoint>& points, int width, TPenStyle style, bool closed) {
  PenPixels result;
  if (points.empty() || style == psClear) return result;
  const size_t n = points.size();
  const size_t segments = closed ? n : n - 1;
  const Dashes& dashes = width > 1 ? dashesFor(psSolid) : dashesFor(style);  // Windows: styles are cosmetic only
  int dashIndex = 0, dashLeft = dashes.count ? dashes.len[0] : 0;
  std::vector<TPoint> seg, on, off;
  for (size_t i = 0; i < segments; ++i) {
    seg.clear();
    LinePixels(points[i], points[(i + 1) % n], seg);
    if (width > 1) {
      // Geometric pens draw the end point as well (the cap covers it).
      seg.push_back(points[(i + 1) % n]);
      std::vector<TPoint> wide;
      stampWide(seg, width, wide);
      PixelsToSpans(wide, result.on);
      continue;
    }
    on.clear();
    off.clear();
    for (TPoint p : seg) {
      if (dashes.count == 0) { on.push_back(p); continue; }
      ((dashIndex % 2) == 0 ? on : off).push_back(p);
      if (--dashLeft == 0) {
        dashIndex = (dashIndex + 1) % dashes.count;
        dashLeft = dashes.len[dashIndex];
      }
    }
    // One segment at a time, so an XOR pen touching a pixel twice (a crossing) cancels
    // there, as on Windows.
    PixelsToSpans(on, result.on);
    PixelsToSpans(off, result.off);
  }
  return result;
}

Shape RectangleShape(TRect rect, int penWidth, TPenStyle penStyle) {
  Shape s;
  TRect r = Normalised(rect);
  if (penStyle == psClear) {
    // Windows: without a pen the filled rectangle is one pixel smaller on the right and
    // bottom (the pen's share of the edge is not given to the brush).
    TRect inner{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    if (!inner.IsEmpty()) s.interior.push_back(inner);
    return s;
  }
  if (penWidth <= 1) {
    if (r.IsEmpty()) return s;
    if (penStyle == psSolid || penStyle == psInsideFrame || r.Width() <= 2 || r.Height() <= 2) {
      frameSpans(r, 1, s.outline);
    } else {
      // A styled outline runs clockwise from the top-left corner, as Windows strokes it.
      PenPixels pp = PolylinePixels({{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1},
                                     {r.Left, r.Bottom - 1}}, 1, penStyle, true);
      s.outline = std::move(pp.on);
      s.outlineGaps = std::move(pp.off);
    }
    TRect inner{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    if (!inner.IsEmpty()) s.interior.push_back(inner);
    return s;
  }
  // Wide pens: centred on the inclusive outline (Left..Right-1), or inside the rectangle
  // for psInsideFrame.
  TRect outer = r;
  if (penStyle != psInsideFrame) {
    const int before = penWidth / 2, after = (penWidth - 1) / 2;
    outer = {r.Left - before, r.Top - before, r.Right + after, r.Bottom + after};
  }
  frameSpans(outer, penWidth, s.outline);
  TRect inner = outer.Inflate(-penWidth, -penWidth);
  if (!inner.IsEmpty()) s.interior.push_back(inner);
  return s;
}

std::vector<TRect> EllipseSpans(int x0, int y0, int x1, int y1) {
  std::vector<int> lefts, rights;
  ellipseRows(x0, y0, x1, y1, lefts, rights);
  std::vector<TRect> out;
  for (size_t i = 0; i < lefts.size(); ++i)
    if (lefts[i] <= rights[i]) out.push_back({lefts[i], y0 + int(i), rights[i] + 1, y0 + int(i) + 1});
  return out;
}

Shape EllipseShape(TRect rect, int penWidth, TPenStyle penStyle) {
  Shape s;
  TRect r = Normalised(rect);
  if (penStyle == psClear) {
    // As Rectangle: without a pen the ellipse is filled one pixel smaller right and bottom.
    s.interior = EllipseSpans(r.Left, r.Top, r.Right - 2, r.Bottom - 2);
    return s;
  }
  TRect outer = r;
  if (penWidth > 1 && penStyle != psInsideFrame) {
    const int before = penWidth / 2, after = (penWidth - 1) / 2;
    outer = {r.Left - before, r.Top - before, r.Right + after, r.Bottom + after};
  }
  if (outer.IsEmpty()) return s;
  // The outline is the ellipse through the inclusive box; the interior is what lies
  // strictly between its left and right outline pixels on each row. A wide pen takes every
  // pixel of the outer ellipse outside the interior of the ellipse inset by (width - 1).
  const int inset = std::max(penWidth, 1) - 1;
  std::vector<int> ol, orr, il, ir;
  ellipseRows(outer.Left, outer.Top, outer.Right - 1, outer.Bottom - 1, ol, orr);
  const int iy0 = outer.Top + inset;
  ellipseInterior(outer.Left + inset, iy0, outer.Right - 1 - inset, outer.Bottom - 1 - inset, il, ir);
  for (size_t i = 0; i < ol.size(); ++i) {
    if (ol[i] > orr[i]) continue;
    const int y = outer.Top + int(i);
    const int k = y - iy0;
    const bool hasInside = k >= 0 && k < int(il.size()) && il[size_t(k)] <= ir[size_t(k)];
    if (!hasInside) {
      s.outline.push_back({ol[i], y, orr[i] + 1, y + 1});
      continue;
    }
    const int inL = il[size_t(k)], inR = ir[size_t(k)];
    if (inL > ol[i]) s.outline.push_back({ol[i], y, inL, y + 1});
    s.interior.push_back({inL, y, inR + 1, y + 1});
    if (orr[i] > inR) s.outline.push_back({inR + 1, y, orr[i] + 1, y + 1});
  }
  return s;
}

std::vector<TRect> PolygonInterior(const std::vector<TPoint>& pts, int fillMode) {
  std::vector<TRect> out;
  const size_t n = pts.size();
  if (n < 3) return out;
  int yMin = pts[0].Y, yMax = pts[0].Y;
  for (TPoint p : pts) { yMin = std::min(yMin, p.Y); yMax = std::max(yMax, p.Y); }
  struct Cross { double x; int dir; };
  std::vector<Cross> xs;
  for (int y = yMin; y < yMax; ++y) {
    xs.clear();
    for (size_t i = 0; i < n; ++i) {
      TPoint a = pts[i], b = pts[(i + 1) % n];
      if (a.Y == b.Y) continue;
      int dir = b.Y > a.Y ? 1 : -1;
      if (a.Y > b.Y) std::swap(a, b);
      // An edge owns the rows from its top up to, not including, its bottom.
      if (y < a.Y || y >= b.Y) continue;
      xs.push_back({a.X + double(y - a.Y) * (b.X - a.X) / double(b.Y - a.Y), dir});
    }
    std::sort(xs.begin(), xs.end(), [](const Cross& l, const Cross& r) { return l.x < r.x; });
    // Pixel x is inside when xl <= x < xr: left edges in, right edges out.
    auto emit = [&](double xl, double xr) {
      int l = int(std::ceil(xl)), r = int(std::ceil(xr));
      if (l < r) out.push_back({l, y, r, y + 1});
    };
    if (fillMode == WINDING) {
      int wind = 0;
      for (size_t i = 0; i + 1 < xs.size(); ++i) {
        wind += xs[i].dir;
        if (wind != 0) emit(xs[i].x, xs[i + 1].x);
      }
    } else {
      for (size_t i = 0; i + 1 < xs.size(); i += 2) emit(xs[i].x, xs[i + 1].x);
    }
  }
  // Merge touching spans of a row (winding can split them).
  std::vector<TRect> merged;
  for (const TRect& r : out) {
    if (!merged.empty() && merged.back().Top == r.Top && merged.back().Right >= r.Left)
      merged.back().Right = std::max(merged.back().Right, r.Right);
    else
      merged.push_back(r);
  }
  return merged;
}

const uint8_t* HatchRows(TBrushStyle style) {
  static const uint8_t rows[6][8] = {
      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // bsHorizontal
      {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // bsVertical
      {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // bsFDiagonal
      {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // bsBDiagonal
      {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF},  // bsCross
      {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // bsDiagCross
  };
  int i = int(style) - int(bsHorizontal);
  return rows[std::clamp(i, 0, 5)];
}

EdgeColors EdgeColorsFor(unsigned edge, unsigned flags) {
  // Windows' tables, indexed by (inner << 2 | outer): outer bits BDR_RAISEDOUTER (1) and
  // BDR_SUNKENOUTER (2), inner bits BDR_RAISEDINNER (4) and BDR_SUNKENINNER (8). A lone inner
  // border is drawn in the outer ring with the inner ring's colours.
  constexpr int __ = -1, HL = COLOR_BTNHIGHLIGHT, LT = COLOR_3DLIGHT, SH = COLOR_BTNSHADOW,
                DK = COLOR_3DDKSHADOW, FC = COLOR_BTNFACE, WN = COLOR_WINDOW,
                FR = COLOR_WINDOWFRAME;
  static const int ltInnerNormal[16] = {__, __, __, __, __, HL, HL, __, __, DK, DK, __, __, __, __, __};
  static const int ltOuterNormal[16] = {__, LT, SH, __, HL, LT, SH, __, DK, LT, SH, __, __, LT, SH, __};
  static const int rbInnerNormal[16] = {__, __, __, __, __, SH, SH, __, __, LT, LT, __, __, __, __, __};
  static const int rbOuterNormal[16] = {__, DK, HL, __, SH, DK, HL, __, LT, DK, HL, __, __, DK, HL, __};
  // BF_SOFT swaps the outer and inner light/dark shades on the left-top side.
  static const int ltInnerSoft[16] = {__, __, __, __, __, LT, LT, __, __, SH, SH, __, __, __, __, __};
  static const int ltOuterSoft[16] = {__, HL, DK, __, LT, HL, DK, __, SH, HL, DK, __, __, HL, DK, __};
  // BF_MONO and BF_FLAT draw both sides alike.
  static const int outerMono[16] = {__, FR, FR, FR, WN, FR, FR, FR, WN, FR, FR, FR, WN, FR, FR, FR};
  static const int innerMono[16] = {__, __, __, __, __, WN, WN, WN, __, WN, WN, WN, __, WN, WN, WN};
  static const int outerFlat[16] = {__, SH, SH, SH, FC, SH, SH, SH, FC, SH, SH, SH, FC, SH, SH, SH};
  static const int innerFlat[16] = {__, __, __, __, __, FC, FC, FC, __, FC, FC, FC, __, FC, FC, FC};
  const unsigned i = edge & 0x0F;
  EdgeColors c{};
  if (flags & BF_MONO) {
    c = {outerMono[i], innerMono[i], outerMono[i], innerMono[i], 0};
  } else if (flags & BF_FLAT) {
    c = {outerFlat[i], innerFlat[i], outerFlat[i], innerFlat[i], 0};
  } else if (flags & BF_SOFT) {
    c = {ltOuterSoft[i], ltInnerSoft[i], rbOuterNormal[i], rbInnerNormal[i], 0};
  } else {
    c = {ltOuterNormal[i], ltInnerNormal[i], rbOuterNormal[i], rbInnerNormal[i], 0};
  }
  // The width counts rings as the mono table does: whatever the style, a set outer and a
  // set inner border each take one pixel.
  c.width = (innerMono[i] != __ ? 1 : 0) + (outerMono[i] != __ ? 1 : 0);
  return c;
}

}  // namespace gdi
