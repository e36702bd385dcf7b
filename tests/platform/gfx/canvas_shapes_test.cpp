// Shapes, lines, brushes and 3-D edges: which pixels the GDI rules light.
#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_consts.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor kBack = clWhite;

TEST(CanvasShapesTest, RectanglesAreHalfOpen) {
  TBitmap b = MakeBitmap(30, 20, kBack);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clBlack);
  c.Brush.SetColor(clRed);
  c.Rectangle(2, 2, 8, 6);
  c.Brush.SetColor(clBlue);
  c.FillRect(TRect{10, 2, 14, 4});
  c.Brush.SetColor(clLime);
  c.FrameRect(TRect{16, 2, 22, 7});
  c.Pen.SetStyle(psClear);
  c.Brush.SetColor(clNavy);
  c.Rectangle(2, 10, 8, 14);
  ExpectPixels(b, {
      {2, 2, clBlack, "Rectangle: pen outline starts at Left/Top"},
      {7, 2, clBlack, "Rectangle: outline's right column is Right - 1"},
      {8, 2, kBack, "Rectangle: Right is exclusive"},
      {2, 5, clBlack, "Rectangle: outline's bottom row is Bottom - 1"},
      {2, 6, kBack, "Rectangle: Bottom is exclusive"},
      {3, 3, clRed, "Rectangle: interior filled with the brush"},
      {6, 4, clRed, "Rectangle: interior reaches Right - 2 / Bottom - 2"},
      {10, 2, clBlue, "FillRect: Left/Top included"},
      {13, 3, clBlue, "FillRect: Right - 1 / Bottom - 1 included"},
      {14, 2, kBack, "FillRect: Right is exclusive"},
      {10, 4, kBack, "FillRect: Bottom is exclusive"},
      {16, 2, clLime, "FrameRect: top-left corner"},
      {21, 6, clLime, "FrameRect: bottom-right corner at Right - 1 / Bottom - 1"},
      {17, 3, kBack, "FrameRect: one pixel wide, inside untouched"},
      {22, 2, kBack, "FrameRect: Right is exclusive"},
      {2, 10, clNavy, "null pen: the brush starts at Left/Top"},
      {6, 12, clNavy, "null pen: the brush reaches Right - 2 / Bottom - 2"},
      {7, 10, kBack, "null pen: Windows fills one pixel less on the right"},
      {2, 13, kBack, "null pen: and one pixel less at the bottom"},
  });
  // A brush with style bsClear fills nothing.
  c.Brush.SetStyle(bsClear);
  c.FillRect(TRect{0, 16, 30, 20});
  EXPECT_EQ(InkCount(b, kBack, TRect{0, 16, 30, 20}), 0);
}

TEST(CanvasShapesTest, LinesLeaveOutTheirLastPoint) {
  TBitmap b = MakeBitmap(20, 20, kBack);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clBlack);
  c.Polyline({{1, 1}, {5, 1}, {5, 4}});
  c.MoveTo(0, 8);
  c.LineTo(6, 8);
  c.MoveTo(10, 10);
  c.LineTo(14, 14);
  c.MoveTo(18, 10);
  c.LineTo(18, 10);
  ExpectPixels(b, {
      {1, 1, clBlack, "polyline: first point drawn"},
      {4, 1, clBlack, "polyline: first segment"},
      {5, 1, clBlack, "polyline: a corner is the next segment's start"},
      {5, 3, clBlack, "polyline: second segment"},
      {5, 4, kBack, "polyline: last point not drawn"},
      {5, 8, clBlack, "LineTo: pixel before the end"},
      {6, 8, kBack, "LineTo: end point not drawn"},
      {13, 13, clBlack, "diagonal: pixel before the end"},
      {14, 14, kBack, "diagonal: end point not drawn"},
      {18, 10, kBack, "zero-length line draws nothing"},
  });
  EXPECT_EQ(c.PenPos(), (TPoint{18, 10}));
  // A line is lit the same in both directions (Windows' reversible Bresenham).
  TBitmap f = MakeBitmap(20, 20, kBack), r = MakeBitmap(20, 20, kBack);
  f.Canvas().MoveTo(1, 2);
  f.Canvas().LineTo(17, 9);
  f.Canvas().SetPixels(17, 9, clBlack);
  r.Canvas().MoveTo(17, 9);
  r.Canvas().LineTo(1, 2);
  r.Canvas().SetPixels(1, 2, clBlack);
  EXPECT_EQ(Picture(f, kBack), Picture(r, kBack));
}

TEST(CanvasShapesTest, PolyPolylineDrawsEachPolylineWithoutItsLastPoint) {
  TBitmap b = MakeBitmap(12, 12, kBack);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clBlack);
  c.MoveTo(7, 7);
  // Three polylines; the single point in the middle draws nothing but is consumed.
  c.PolyPolyline({{1, 1}, {5, 1}, {9, 9}, {1, 3}, {4, 3}, {4, 6}}, {2, 1, 3});
  ExpectPixels(b, {
      {1, 1, clBlack, "first polyline: start"},
      {4, 1, clBlack, "first polyline: before its end"},
      {5, 1, kBack, "first polyline: last point not drawn"},
      {9, 9, kBack, "a one-point polyline draws nothing"},
      {1, 3, clBlack, "second polyline starts after the counted points"},
      {4, 3, clBlack, "second polyline: a corner is drawn"},
      {4, 5, clBlack, "second polyline: last segment"},
      {4, 6, kBack, "second polyline: last point not drawn"},
  });
  EXPECT_EQ(c.PenPos(), (TPoint{7, 7})) << "the pen position stays";
}

TEST(CanvasShapesTest, XorPenIsItsOwnInverse) {
  TBitmap b = MakeBitmap(12, 12, clTeal);
  TCanvas& c = b.Canvas();
  c.Pen.SetMode(pmXor);
  c.Pen.SetColor(clWhite);
  for (int pass = 0; pass < 2; ++pass) {
    c.Polyline({{1, 1}, {10, 1}, {10, 10}, {1, 10}, {1, 1}});
    if (pass == 0) {
      EXPECT_EQ(b.GetPixel(1, 1), ColorToRGB(clTeal) ^ 0xFFFFFF) << "drawn once: inverted";
      EXPECT_EQ(b.GetPixel(10, 1), ColorToRGB(clTeal) ^ 0xFFFFFF) << "corner drawn once";
    }
  }
  EXPECT_EQ(InkCount(b, clTeal, TRect{0, 0, 12, 12}), 0) << Picture(b, clTeal);
}

TEST(CanvasShapesTest, PenStylesDashAsWindowsCosmeticPens) {
  TBitmap b = MakeBitmap(40, 4, kBack);
  TCanvas& c = b.Canvas();
  c.Brush.SetStyle(bsClear);  // transparent background: gaps untouched
  c.Pen.SetStyle(psDot);
  c.MoveTo(0, 0);
  c.LineTo(40, 0);
  c.Pen.SetStyle(psDash);
  c.MoveTo(0, 2);
  c.LineTo(40, 2);
  ExpectPixels(b, {
      {0, 0, clBlack, "dot: 3 on"},      {2, 0, clBlack, "dot: 3 on"},
      {3, 0, kBack, "dot: 3 off"},       {5, 0, kBack, "dot: 3 off"},
      {6, 0, clBlack, "dot: next dot"},  {17, 2, clBlack, "dash: 18 on"},
      {18, 2, kBack, "dash: 6 off"},     {23, 2, kBack, "dash: 6 off"},
      {24, 2, clBlack, "dash: next dash"},
  });
  // A solid brush realises an opaque background: gaps take the brush colour.
  c.Brush.SetColor(clYellow);
  c.Pen.SetStyle(psDot);
  c.MoveTo(0, 3);
  c.LineTo(12, 3);
  ExpectPixels(b, {{3, 3, clYellow, "opaque gap in the background colour"},
                   {0, 3, clBlack, "dot"}});
}

TEST(CanvasShapesTest, SmallEllipsesMatchWindowsShapes) {
  // Ellipse(0, 0, 10, 10) with a 1-pixel pen; '#' pen, 'o' brush, '.' untouched.
  const char* expected10 =
      "...####...."
      "..#oooo#..."
      ".#oooooo#.."
      "#oooooooo#."
      "#oooooooo#."
      "#oooooooo#."
      "#oooooooo#."
      ".#oooooo#.."
      "..#oooo#..."
      "...####...."
      "...........";
  TBitmap b = MakeBitmap(11, 11, kBack);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clBlack);
  c.Brush.SetColor(clRed);
  c.Ellipse(0, 0, 10, 10);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x) {
      char want = expected10[y * 11 + x];
      TColor color = want == '#' ? clBlack : want == 'o' ? clRed : kBack;
      EXPECT_EQ(b.GetPixel(x, y), ColorToRGB(color)) << "10x10 at " << x << "," << y << "\n"
                                                     << Picture(b, kBack);
    }
  // The radio button's dot: Ellipse(3, 3, 7, 7) with pen and brush alike is a 4 x 4 disc
  // without its corners.
  TBitmap d = MakeBitmap(10, 10, kBack);
  d.Canvas().Pen.SetColor(clBlack);
  d.Canvas().Brush.SetColor(clBlack);
  d.Canvas().Ellipse(3, 3, 7, 7);
  EXPECT_EQ(Picture(d, kBack),
            ".........."
            "\n..........\n..........\n"
            "....##....\n"
            "...####...\n"
            "...####...\n"
            "....##....\n"
            "..........\n..........\n..........\n");
}

TEST(CanvasShapesTest, PolygonFillsInsideAndOutlinesEveryVertex) {
  TBitmap b = MakeBitmap(12, 12, kBack);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clBlack);
  c.Brush.SetColor(clRed);
  c.Polygon({{1, 1}, {9, 1}, {9, 9}, {1, 9}});
  ExpectPixels(b, {{1, 1, clBlack, "vertex drawn"},
                   {9, 9, clBlack, "closing polygon: every vertex drawn"},
                   {9, 5, clBlack, "right edge by the pen"},
                   {5, 5, clRed, "interior by the brush"},
                   {10, 5, kBack, "nothing right of the outline"}});
}

TEST(CanvasShapesTest, PatternBrushIsAlignedToTheDeviceOrigin) {
  // An 8 x 8 pattern with one black pixel at its top-left.
  TBitmap pattern = MakeBitmap(8, 8, clWhite);
  pattern.SetPixel(0, 0, clBlack);
  struct Case {
    TPoint brushOrg, viewportOrg;
    std::vector<PixelCase> pixels;
  } cases[] = {
      {{0, 0}, {0, 0},
       {{0, 0, clBlack, "cell (0,0) on device (0,0)"}, {8, 8, clBlack, "repeats every 8 pixels"},
        {1, 0, clWhite, "other cells white"}}},
      {{2, 3}, {0, 0},
       {{2, 3, clBlack, "brush origin (2,3) moves cell (0,0) there"}, {10, 11, clBlack, "and repeats"},
        {0, 0, clWhite, "device origin no longer black"}}},
      {{0, 0}, {5, 5},
       {{8, 8, clBlack, "viewport origin does not move the pattern (device aligned)"},
        {5, 5, clWhite, "logical (0,0) is not the pattern origin"}}},
  };
  for (const Case& k : cases) {
    TBitmap b = MakeBitmap(24, 24, clGray);
    TCanvas& c = b.Canvas();
    c.Brush.SetBitmap(&pattern);
    c.SetBrushOrg(k.brushOrg.X, k.brushOrg.Y);
    c.SetViewportOrg(k.viewportOrg.X, k.viewportOrg.Y);
    c.FillRect(TRect{-8, -8, 24, 24});
    ExpectPixels(b, k.pixels);
  }
  // Hatch brushes paint their lines only (they realise a transparent background).
  TBitmap h = MakeBitmap(16, 16, clGray);
  h.Canvas().Brush.SetColor(clBlue);
  h.Canvas().Brush.SetStyle(bsHorizontal);
  h.Canvas().FillRect(TRect{0, 0, 16, 16});
  ExpectPixels(h, {{3, 7, clBlue, "horizontal hatch: row 7 of each 8"},
                   {3, 15, clBlue, "repeats"},
                   {3, 6, clGray, "between the lines untouched"}});
}

TEST(CanvasShapesTest, DrawEdgeUsesWindowsColoursPerSide) {
  const TColor hl = clBtnHighlight, lt = cl3DLight, sh = clBtnShadow, dk = cl3DDkShadow,
               none = clFuchsia;
  struct Case {
    const char* name;
    unsigned edge;
    TColor ltOuter, ltInner, rbOuter, rbInner;
  } cases[] = {
      {"EDGE_RAISED", EDGE_RAISED, lt, hl, dk, sh},
      {"EDGE_SUNKEN", EDGE_SUNKEN, sh, dk, hl, lt},
      {"EDGE_ETCHED", EDGE_ETCHED, sh, hl, hl, sh},
      {"EDGE_BUMP", EDGE_BUMP, lt, dk, dk, lt},
      {"BDR_RAISEDOUTER", BDR_RAISEDOUTER, lt, none, dk, none},
      {"BDR_SUNKENOUTER", BDR_SUNKENOUTER, sh, none, hl, none},
      // A lone inner border is drawn in the outer ring.
      {"BDR_RAISEDINNER", BDR_RAISEDINNER, hl, none, sh, none},
      {"BDR_SUNKENINNER", BDR_SUNKENINNER, dk, none, lt, none},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TBitmap b = MakeBitmap(10, 10, none);
    TRect r{0, 0, 10, 10};
    b.Canvas().DrawEdge(r, k.edge, BF_RECT);
    ExpectPixels(b, {
        {4, 0, k.ltOuter, "top, outer ring: left-top colour"},
        {0, 4, k.ltOuter, "left, outer ring"},
        {4, 9, k.rbOuter, "bottom, outer ring: right-bottom colour"},
        {9, 4, k.rbOuter, "right, outer ring"},
        {9, 0, k.rbOuter, "top-right corner belongs to the right side"},
        {0, 9, k.rbOuter, "bottom-left corner belongs to the bottom side"},
        {0, 0, k.ltOuter, "top-left corner"},
        {4, 1, k.ltInner, "top, inner ring"},
        {1, 4, k.ltInner, "left, inner ring"},
        {4, 8, k.rbInner, "bottom, inner ring"},
        {8, 4, k.rbInner, "right, inner ring"},
        {4, 4, none, "middle untouched without BF_MIDDLE"},
    });
  }
  // One side only; BF_ADJUST and BF_MIDDLE; BF_FLAT and BF_MONO.
  TBitmap b = MakeBitmap(10, 10, none);
  TRect r{0, 0, 10, 10};
  b.Canvas().DrawEdge(r, EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_ADJUST | BF_MIDDLE);
  EXPECT_EQ(r, (TRect{2, 2, 10, 10})) << "BF_ADJUST shrinks the drawn sides by the edge width";
  ExpectPixels(b, {{5, 0, sh, "top drawn"},
                   {9, 5, clBtnFace, "right not drawn: the middle reaches it"},
                   {1, 1, dk, "inner ring's corner where both sides meet"},
                   {5, 5, clBtnFace, "BF_MIDDLE fills with the face colour"}});
  TBitmap f = MakeBitmap(10, 10, none);
  f.Canvas().DrawEdge(TRect{0, 0, 10, 10}, EDGE_SUNKEN, BF_RECT | BF_FLAT);
  ExpectPixels(f, {{4, 0, sh, "flat: outer ring shadow on every side"},
                   {4, 9, sh, "flat: bottom too"},
                   {4, 1, clBtnFace, "flat: inner ring in the face colour"}});
  TBitmap m = MakeBitmap(10, 10, none);
  m.Canvas().DrawEdge(TRect{0, 0, 10, 10}, EDGE_RAISED, BF_RECT | BF_MONO | BF_MIDDLE);
  ExpectPixels(m, {{4, 0, clWindowFrame, "mono: outer ring in the frame colour"},
                   {4, 1, clWindow, "mono: inner ring in the window colour"},
                   {4, 4, clWindow, "mono middle: window colour"}});
}

TEST(CanvasShapesTest, FocusRectangleIsADottedXor) {
  TBitmap b = MakeBitmap(10, 8, clWhite);
  TCanvas& c = b.Canvas();
  c.DrawFocusRect(TRect{1, 1, 9, 7});
  ExpectPixels(b, {{2, 1, clBlack, "odd x + y: XOR with the background colour white"},
                   {1, 1, clWhite, "even x + y: XOR with the text colour black"},
                   {8, 2, clWhite, "right side, even"},
                   {8, 3, clBlack, "right side, odd"},
                   {3, 3, clWhite, "inside untouched"}});
  c.DrawFocusRect(TRect{1, 1, 9, 7});
  EXPECT_EQ(InkCount(b, clWhite, TRect{0, 0, 10, 8}), 0) << "a second call removes it";
}

}  // namespace
