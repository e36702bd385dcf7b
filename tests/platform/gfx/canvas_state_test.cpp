// Clipping, viewport origin and the SaveDC / RestoreDC stack.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"

namespace {

TEST(CanvasStateTest, ClipIntersectExcludeAndRestore) {
  TBitmap b = MakeBitmap(10, 10, clWhite);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clRed);
  const int saved = c.SaveDC();
  EXPECT_EQ(c.IntersectClipRect(2, 2, 6, 6), SIMPLEREGION);
  EXPECT_EQ(c.ExcludeClipRect(3, 3, 4, 4), COMPLEXREGION);
  EXPECT_EQ(c.ClipRect(), (TRect{2, 2, 6, 6}));
  c.FillRect(TRect{0, 0, 10, 10});
  ExpectPixels(b, {{1, 1, clWhite, "outside the intersected rectangle"},
                   {2, 2, clRed, "clip rectangle's top-left"},
                   {5, 5, clRed, "clip rectangle's last pixel"},
                   {6, 6, clWhite, "clip Right/Bottom exclusive"},
                   {3, 3, clWhite, "excluded rectangle"},
                   {4, 3, clRed, "excluded Right exclusive"}});
  EXPECT_EQ(c.Pixels(1, 1), CLR_INVALID) << "GetPixel outside the clip region";
  c.RestoreDC(saved);
  EXPECT_FALSE(c.HasClipRgn());
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 10}));
  c.Brush.SetColor(clBlue);
  c.FillRect(TRect{0, 0, 10, 10});
  EXPECT_EQ(b.GetPixel(1, 1), ColorToRGB(clBlue)) << "restored: no clip";
  // Excluding everything leaves nothing to draw.
  EXPECT_EQ(c.ExcludeClipRect(0, 0, 10, 10), NULLREGION);
  c.FillRect(TRect{0, 0, 10, 10});
  EXPECT_EQ(b.GetPixel(5, 5), ColorToRGB(clBlue));
  c.SelectClipRgn(nullptr);
  TRegion r(TRect{7, 7, 9, 9});
  c.SelectClipRgn(&r);
  TRegion back;
  EXPECT_TRUE(c.GetClipRgn(back));
  EXPECT_EQ(back, r);
}

TEST(CanvasStateTest, ViewportOriginMovesDrawingAndClipRectangles) {
  TBitmap b = MakeBitmap(12, 12, clWhite);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clRed);
  c.SetViewportOrg(3, 4);
  c.FillRect(TRect{0, 0, 2, 2});
  ExpectPixels(b, {{3, 4, clRed, "logical (0,0) is device (3,4)"},
                   {4, 5, clRed, "logical (1,1)"},
                   {5, 6, clWhite, "logical Right/Bottom exclusive"},
                   {0, 0, clWhite, "device origin untouched"}});
  // A clip rectangle is converted when it is set: it stays put in device space.
  c.IntersectClipRect(0, 0, 4, 4);  // device (3,4)-(7,8)
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 4, 4}));
  c.SetViewportOrg(0, 0);
  EXPECT_EQ(c.ClipRect(), (TRect{3, 4, 7, 8}));
  c.Brush.SetColor(clBlue);
  c.FillRect(TRect{0, 0, 12, 12});
  ExpectPixels(b, {{3, 4, clBlue, "inside the device clip"},
                   {7, 4, clWhite, "right of the device clip"},
                   {2, 4, clWhite, "left of the device clip"}});
  EXPECT_EQ(c.OffsetViewportOrg(2, 2), (TPoint{0, 0}));
  EXPECT_EQ(c.GetViewportOrg(), (TPoint{2, 2}));
  EXPECT_EQ(c.Pixels(1, 2), ColorToRGB(clBlue)) << "Pixels reads through the viewport";
}

TEST(CanvasStateTest, SaveDCRestoresToolsAndNestedLevels) {
  TBitmap b(4, 4);
  TCanvas& c = b.Canvas();
  c.Pen.SetColor(clRed);
  c.Font.SetName("Tahoma");
  const int outer = c.SaveDC();
  c.Pen.SetColor(clBlue);
  c.Brush.SetStyle(bsClear);
  c.SetBrushOrg(3, 3);
  c.SaveDC();
  c.Font.SetName("宋体");
  c.SetViewportOrg(5, 5);
  EXPECT_TRUE(c.RestoreDC(-1));
  EXPECT_EQ(c.Font.Name(), "Tahoma");
  EXPECT_EQ(c.GetViewportOrg(), (TPoint{0, 0}));
  EXPECT_EQ(c.Pen.Color(), clBlue) << "the outer level's changes stay";
  EXPECT_TRUE(c.RestoreDC(outer));
  EXPECT_EQ(c.Pen.Color(), clRed);
  EXPECT_EQ(c.Brush.Style(), bsSolid);
  EXPECT_EQ(c.GetBrushOrg(), (TPoint{0, 0}));
  EXPECT_FALSE(c.RestoreDC(1)) << "nothing left to restore";
}

// Every setting that SaveDC keeps comes back with RestoreDC, the tools and the raw state alike.
TEST(CanvasStateTest, RestoreDCBringsBackEverySavedSetting) {
  struct Case {
    const char* name;
    std::function<void(TCanvas&)> change;
    std::function<long long(TCanvas&)> read;
  } cases[] = {
      {"pen", [](TCanvas& c) { c.Pen.SetWidth(3); }, [](TCanvas& c) { return c.Pen.Width(); }},
      {"brush", [](TCanvas& c) { c.Brush.SetColor(clRed); }, [](TCanvas& c) { return c.Brush.Color(); }},
      {"font", [](TCanvas& c) { c.Font.SetHeight(-20); }, [](TCanvas& c) { return c.Font.Height(); }},
      {"copy mode", [](TCanvas& c) { c.CopyMode = SRCAND; }, [](TCanvas& c) { return c.CopyMode; }},
      {"pen position", [](TCanvas& c) { c.MoveTo(3, 4); }, [](TCanvas& c) { return c.PenPos().X; }},
      {"clip", [](TCanvas& c) { c.IntersectClipRect(0, 0, 2, 2); },
       [](TCanvas& c) { return c.ClipRect().Right; }},
      {"viewport origin", [](TCanvas& c) { c.SetViewportOrg(2, 0); },
       [](TCanvas& c) { return c.GetViewportOrg().X; }},
      {"brush origin", [](TCanvas& c) { c.SetBrushOrg(2, 0); }, [](TCanvas& c) { return c.GetBrushOrg().X; }},
      {"text colour", [](TCanvas& c) { c.SetTextColor(clRed); }, [](TCanvas& c) { return c.GetTextColor(); }},
      {"background colour", [](TCanvas& c) { c.SetBkColor(clRed); }, [](TCanvas& c) { return c.GetBkColor(); }},
      {"background mode", [](TCanvas& c) { c.SetBkMode(TRANSPARENT); }, [](TCanvas& c) { return c.GetBkMode(); }},
      {"text alignment", [](TCanvas& c) { c.SetTextAlign(TA_RIGHT); }, [](TCanvas& c) { return c.GetTextAlign(); }},
      {"polygon fill mode", [](TCanvas& c) { c.SetPolyFillMode(WINDING); },
       [](TCanvas& c) { return c.GetPolyFillMode(); }},
      // The raw blue set before the save outlives text output only while the font realised
      // then counts as realised: that record is restored too.
      {"what text output realised",
       [](TCanvas& c) {
         c.Font.SetColor(clRed);
         c.TextOut(0, 0, "x");
       },
       [](TCanvas& c) {
         c.TextOut(0, 0, "x");
         return c.GetTextColor();
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TBitmap b(8, 8);
    TCanvas& c = b.Canvas();
    c.Font.SetColor(clBlack);
    c.SetTextColor(clBlue);
    const long long before = k.read(c);
    const int level = c.SaveDC();
    k.change(c);
    ASSERT_NE(k.read(c), before) << "the change shows";
    EXPECT_TRUE(c.RestoreDC(level));
    EXPECT_EQ(k.read(c), before);
  }
}

TEST(CanvasStateTest, GuardReleasesStateWhenAnExceptionLeaves) {
  TBitmap b = MakeBitmap(8, 8, clWhite);
  TCanvas& c = b.Canvas();
  try {
    TCanvasStateGuard guard(c);
    c.IntersectClipRect(0, 0, 1, 1);
    c.SetViewportOrg(4, 4);
    c.Brush.SetColor(clRed);
    throw Exception("handler failed");
  } catch (const Exception&) {
  }
  EXPECT_FALSE(c.HasClipRgn());
  EXPECT_EQ(c.GetViewportOrg(), (TPoint{0, 0}));
  c.FillRect(TRect{0, 0, 8, 8});
  ExpectPixels(b, {{7, 7, clWhite, "brush restored to white, no clip, no offset"}});
  c.Brush.SetColor(clGreen);
  c.FillRect(TRect{0, 0, 8, 8});
  ExpectPixels(b, {{7, 7, clGreen, "whole surface drawable again"}});
}

}  // namespace
