#include "flat/flat_utils.h"

#include <gtest/gtest.h>

#include "platform/ui/toolkit.h"
#include "platform/ui/win_control.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor Top = clRed, Bottom = clBlue, Paper = clWhite;

TEST(PaintBevelFrame, OneRing) {
  TBitmap b = MakeBitmap(10, 8, Paper);
  PaintBevelFrame(b.Canvas(), {1, 1, 9, 7}, Top, Bottom, 1);
  ExpectPixels(b,
               {{1, 1, Top, "top-left corner: both top-side polylines start there"},
                {4, 1, Top, "top row"},
                {7, 1, Top, "top row up to the pixel before the corner"},
                {8, 1, Bottom, "top-right corner: the top polyline leaves out its last point"},
                {1, 4, Top, "left column"},
                {1, 6, Bottom, "bottom-left corner: the bottom polyline ends at left - 1"},
                {8, 4, Bottom, "right column"},
                {4, 6, Bottom, "bottom row"},
                {8, 6, Bottom, "bottom-right corner"},
                {2, 2, Paper, "inside is not filled"},
                {0, 0, Paper, "outside the rectangle"},
                {9, 7, Paper, "right and bottom edges are exclusive"}},
               "width 1");
}

TEST(PaintBevelFrame, TwoRingsAndNone) {
  TBitmap b = MakeBitmap(10, 8, Paper);
  const TRect rect{1, 1, 9, 7};
  PaintBevelFrame(b.Canvas(), rect, Top, Bottom, 2);
  ExpectPixels(b,
               {{1, 1, Top, "outer ring top-left"},
                {8, 1, Bottom, "outer ring top-right"},
                {2, 2, Top, "inner ring top-left"},
                {7, 2, Bottom, "inner ring top-right"},
                {2, 5, Bottom, "inner ring bottom-left"},
                {7, 5, Bottom, "inner ring bottom-right"},
                {4, 2, Top, "inner ring top row"},
                {3, 3, Paper, "inside the second ring"}},
               "width 2");

  TBitmap none = MakeBitmap(10, 8, Paper);
  PaintBevelFrame(none.Canvas(), rect, Top, Bottom, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(none.GetPixel(x, y), Paper) << "width 0 draws nothing";
}

// A parent that paints its left half red and leaves the rest to its erase step (Color).
class HalfPainter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas().Brush.SetColor(clRed);
    Canvas().FillRect({0, 0, ClientWidth() / 2, ClientHeight()});
  }
};

TEST(PaintParentBackground, ShowsTheParentsEraseAndPaint) {
  EnsureTestApplication();
  HalfPainter parent(nullptr);
  parent.SetBounds(0, 0, 100, 50);
  parent.SetColor(clLime);
  TCustomControl child(nullptr);
  child.SetParent(&parent);
  child.SetBounds(40, 30, 30, 30);  // straddles the half and runs past the parent's bottom

  TBitmap b = MakeBitmap(30, 30, Paper);
  PaintParentBackground(child, b.Canvas());
  ExpectPixels(b,
               {{0, 0, clRed, "parent (40, 30): its paint step"},
                {9, 19, clRed, "parent (49, 49)"},
                {10, 0, clLime, "parent (50, 30): its erase step, Color"},
                {29, 19, clLime, "parent (69, 49)"},
                {5, 20, Paper, "parent row 50 lies outside its client area: clipped"}},
               "child at (40, 30)");
  EXPECT_EQ(b.Canvas().GetViewportOrg(), (TPoint{0, 0})) << "the canvas state is restored";
  EXPECT_FALSE(b.Canvas().HasClipRgn()) << "the canvas state is restored";
  child.SetParent(nullptr);
}

TEST(PaintParentBackground, WithoutParentDrawsNothing) {
  EnsureTestApplication();
  TCustomControl orphan(nullptr);
  orphan.SetBounds(0, 0, 10, 10);
  TBitmap b = MakeBitmap(10, 10, Paper);
  PaintParentBackground(orphan, b.Canvas());
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(b.GetPixel(x, y), Paper);
}

TEST(MakeEmbossedGlyph, BlackPixelsBecomeShadowOverHighlight) {
  // 6 x 6 white with a black 2 x 2 square at (1, 1).
  TBitmap source = MakeBitmap(6, 6, clWhite);
  source.Canvas().Brush.SetColor(clBlack);
  source.Canvas().FillRect({1, 1, 3, 3});
  const TColor face = 0x00404040, shadow = clNavy, highlight = clYellow;

  auto embossed = MakeEmbossedGlyph(source, clBlack, face, true, shadow, highlight);
  ASSERT_EQ(embossed->Width(), 6);
  ASSERT_EQ(embossed->Height(), 6);
  ExpectPixels(*embossed,
               {{1, 1, shadow, "a key pixel: shadow at offset (0, 0)"},
                {2, 2, shadow, "shadow is painted over the highlight copy"},
                {3, 3, highlight, "the highlight copy one pixel down and right"},
                {3, 1, face, "right of the square, above the highlight copy"},
                {3, 2, highlight, "highlight copy of (2, 1)"},
                {0, 0, face, "every non-key pixel becomes face colour"},
                {5, 5, face, "far corner"}},
               "with highlight");

  auto flat = MakeEmbossedGlyph(source, clBlack, face, false, shadow, highlight);
  ExpectPixels(*flat, {{3, 3, face, "no highlight copy"}, {1, 1, shadow, "shadow stays"}},
               "without highlight");
}

TEST(MakeEmbossedGlyph, KeyColourOtherThanBlack) {
  TBitmap source = MakeBitmap(4, 4, clBlack);
  source.SetPixel(0, 0, clRed);
  auto embossed = MakeEmbossedGlyph(source, clRed, clWhite, false, clGreen, clYellow);
  EXPECT_EQ(embossed->GetPixel(0, 0), clGreen) << "the key pixel takes the shadow";
  EXPECT_EQ(embossed->GetPixel(1, 1), clWhite) << "black is just another non-key colour here";
}

// --- LayoutGlyphAndCaption ----------------------------------------------------------------

TEST(LayoutGlyphAndCaption, GlyphOnlyLayouts) {
  EnsureTestApplication();
  TBitmap glyph16(16, 16), strip(32, 16), wide(32, 16), empty;
  TCanvas canvas;
  struct Case {
    TButtonLayout layout;
    int spacing, margin;
    const TBitmap* glyph;
    int numGlyphs;
    TRect client;
    TPoint offset;
    TPoint glyphPos;
    TRect textBounds;
    const char* reason;
  };
  const TRect c{0, 0, 100, 60};
  const Case cases[] = {
      {blGlyphLeft, 4, 4, &glyph16, 1, c, {0, 0}, {4, 22}, {20, 30, 20, 30},
       "left: x = margin; y = (60 - 16 + 1) div 2; no text forces spacing 0"},
      {blGlyphRight, 4, 4, &glyph16, 1, c, {0, 0}, {80, 22}, {80, 30, 80, 30},
       "right: x = 100 - 4 - 16"},
      {blGlyphTop, 4, -1, &glyph16, 1, c, {0, 0}, {42, 22}, {50, 38, 50, 38},
       "top, automatic margin: (60 - 16 + 1) div 2; x = (100 - 16 + 1) div 2"},
      {blGlyphBottom, 4, 2, &glyph16, 1, c, {0, 0}, {42, 42}, {50, 42, 50, 42},
       "bottom: y = 60 - 2 - 16"},
      {blGlyphLeft, 4, 4, &strip, 2, c, {0, 0}, {4, 22}, {20, 30, 20, 30},
       "two images: the glyph is 32 / 2 wide"},
      {blGlyphLeft, 4, 4, &glyph16, 1, {10, 20, 110, 80}, {1, 1}, {15, 43}, {31, 51, 31, 51},
       "client origin and press offset are added"},
      {blGlyphLeft, 4, -1, &wide, 1, {0, 0, 20, 20}, {0, 0}, {-5, 2}, {27, 10, 27, 10},
       "automatic margin (20 - 32 + 1) div 2 truncates toward zero: -5, not -6"},
      {blGlyphTop, 4, -1, nullptr, 1, c, {0, 0}, {50, 30}, {50, 30, 50, 30},
       "no glyph object and no text: everything in the middle"},
      {blGlyphTop, 4, -1, &empty, 1, c, {0, 0}, {50, 30}, {50, 30, 50, 30},
       "an empty glyph has size 0"},
  };
  for (const Case& k : cases) {
    TGlyphCaptionLayout out = LayoutGlyphAndCaption(canvas, k.client, k.offset, k.layout,
                                                    k.spacing, k.margin, k.glyph, k.numGlyphs, "");
    EXPECT_EQ(out.GlyphPos, k.glyphPos) << k.reason;
    EXPECT_EQ(out.TextBounds, k.textBounds) << k.reason;
  }
}

TEST(LayoutGlyphAndCaption, WithCaption) {
  EnsureTestApplication();
  TCanvas canvas;
  canvas.Font.SetName("Tahoma");
  canvas.Font.SetHeight(-11);
  const std::string caption = "Search";
  TRect measured{0, 0, 100, 0};
  canvas.DrawText(caption, measured, DT_CALCRECT | DT_SINGLELINE);
  const int tw = measured.Width(), th = measured.Height();
  ASSERT_GT(tw, 0);
  ASSERT_GT(th, 0);
  TBitmap glyph(16, 16);
  const TRect client{0, 0, 100, 60};

  struct Case {
    TButtonLayout layout;
    int spacing, margin;
    const TBitmap* glyph;
    TPoint glyphPos;
    TPoint textPos;
    const char* reason;
  };
  const int thirds = (100 - 16 - tw) / 3;
  const Case cases[] = {
      {blGlyphLeft, -1, -1, &glyph, {thirds, 22}, {thirds + 16 + thirds, (60 - th + 1) / 2},
       "margin and spacing automatic: the free width in thirds, the rest on the far side"},
      {blGlyphLeft, 4, -1, &glyph, {(100 - 16 - 4 - tw + 1) / 2, 22},
       {(100 - 16 - 4 - tw + 1) / 2 + 20, (60 - th + 1) / 2}, "automatic margin centres the group"},
      {blGlyphLeft, -1, 5, &glyph, {5, 22}, {5 + 16 + (100 - 5 - 16 - tw) / 2, (60 - th + 1) / 2},
       "fixed margin, automatic spacing: half of what is left"},
      {blGlyphRight, 4, 3, &glyph, {100 - 3 - 16, 22}, {100 - 3 - 16 - 4 - tw, (60 - th + 1) / 2},
       "glyph right, text left of it"},
      {blGlyphTop, -1, -1, &glyph, {42, (60 - 16 - th) / 3},
       {(100 - tw + 1) / 2, (60 - 16 - th) / 3 * 2 + 16}, "vertical thirds"},
      {blGlyphBottom, 2, 0, &glyph, {42, 60 - 16}, {(100 - tw + 1) / 2, 60 - 16 - 2 - th},
       "text above a bottom glyph"},
      {blGlyphTop, 4, -1, nullptr, {50, (60 - th + 1) / 2}, {(100 - tw + 1) / 2, (60 - th + 1) / 2},
       "no glyph: spacing 0 and the caption centred"},
      {blGlyphLeft, 4, -1, nullptr, {(100 - tw + 1) / 2, 30}, {(100 - tw + 1) / 2, (60 - th + 1) / 2},
       "no glyph, horizontal: the caption centred too"},
  };
  for (const Case& k : cases) {
    TGlyphCaptionLayout out = LayoutGlyphAndCaption(canvas, client, {0, 0}, k.layout, k.spacing,
                                                    k.margin, k.glyph, 1, caption);
    EXPECT_EQ(out.GlyphPos, k.glyphPos) << k.reason;
    EXPECT_EQ(out.TextBounds, Bounds(k.textPos.X, k.textPos.Y, tw, th)) << k.reason;
  }
}

TEST(IsAccel, CaptionHotKeys) {
  struct Case {
    const char* caption;
    char32_t ch;
    bool expected;
  };
  const Case cases[] = {
      {"&Open", U'o', true},   {"&Open", U'O', true},     {"Op&en", U'e', true},
      {"Op&en", U'o', false},  {"&&Open", U'o', false},   {"&&&Open", U'o', true},
      {"进入(&E)", U'e', true}, {"", U'a', false},         {"Open&", U'n', false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsAccel(c.ch, c.caption), c.expected) << c.caption << " " << char(c.ch);
}

}  // namespace
