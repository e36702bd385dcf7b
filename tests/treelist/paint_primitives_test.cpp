// The grid's drawing primitives: frames per look, header cell parts, text output, focus
// frames, expand buttons, tree lines and the indicator glyphs, checked pixel by pixel.
#include "treelist/paint_primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_consts.h"
#include "platform/gfx/image_list.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor Paper = 0x00C08040;           // outside what is drawn: never touched
constexpr TColor HeaderColor = 0x00E0E9EF;     // RGB(239, 233, 224)
constexpr TColor Ink = clRed;                  // text colour, unlike every frame colour
const TColor Shadow = ColorToRGB(clBtnShadow);
const TColor Light = ColorToRGB(clBtnHighlight);
const TColor DkShadow = ColorToRGB(cl3DDkShadow);
const TColor Face = ColorToRGB(clBtnFace);

TBrush SolidBrush(TColor color) {
  TBrush b;
  b.SetColor(color);
  return b;
}

// Only the pixels of one colour, as a source for InkBox / Picture.
PixelSource OnlyColor(const TBitmap& b, TColor color) {
  return PixelSource([&b, color](int x, int y) { return b.GetPixel(x, y) == color ? color : clWhite; },
                     TRect{0, 0, b.Width(), b.Height()});
}

// --- cell frames -----------------------------------------------------------------------------

TEST(PaintPrimitivesTest, CellFramePerLookAndKind) {
  struct Case {
    const char* name;
    TqlLookAndFeel look;
    TqlCellFrameKind kind;
    bool pressed;
    TRect content;
    std::vector<PixelCase> pixels;
  };
  const TColor B = HeaderColor;
  using F = TqlCellFrameKind;
  const std::vector<Case> cases = {
      {"standard", lfStandard, F::Between, false, {1, 1, 18, 8},
       {{19, 5, DkShadow, "raised-outer right"}, {5, 9, DkShadow, "raised-outer bottom"},
        {18, 5, Shadow, "raised-inner right inside it"}, {5, 8, Shadow, "raised-inner bottom"},
        {0, 5, Light, "raised-inner left"}, {5, 0, Light, "raised-inner top"},
        {5, 5, B, "brush fill"}}},
      {"standard pressed", lfStandard, F::Alone, true, {1, 1, 19, 9},
       {{0, 5, Shadow, "sunken-outer left"}, {5, 0, Shadow, "sunken-outer top"},
        {19, 5, DkShadow, "raised-outer right stays"}, {18, 5, B, "no inner right edge"}}},
      {"ultra-flat alone", lfUltraFlat, F::Alone, false, {2, 1, 18, 9},
       {{0, 0, Shadow, "frame corner"}, {19, 9, Shadow, "frame far corner"},
        {1, 5, B, "fill from the frame on"}}},
      {"flat alone", lfFlat, F::Alone, false, {2, 1, 18, 9},
       {{0, 5, Light, "raised-inner left"}, {19, 5, Shadow, "raised-inner right"},
        {5, 9, Shadow, "raised-inner bottom"}, {1, 5, B, "fill"}}},
      {"ultra-flat last", lfUltraFlat, F::Last, false, {2, 1, 18, 9},
       {{5, 0, Shadow, "flat top"}, {5, 9, Shadow, "flat bottom"}, {0, 5, B, "no left line"},
        {19, 1, Shadow, "kind 1: right line from the top"}, {19, 8, Shadow, "to bottom - 1"}}},
      {"ultra-flat first", lfUltraFlat, F::First, false, {2, 1, 18, 9},
       {{19, 1, B, "kind 2: right line starts at top + 2"}, {19, 2, Shadow, "right line"},
        {19, 7, Shadow, "right line ends at bottom - 3"}, {19, 8, B, "bottom - 2 excluded"}}},
      {"flat between", lfFlat, F::Between, false, {2, 1, 18, 9},
       {{5, 0, Light, "raised-inner top"}, {5, 9, Shadow, "raised-inner bottom"},
        {0, 1, B, "kind 3: left line starts at top + 2"}, {0, 2, Light, "left highlight"},
        {0, 7, Light, "left highlight to bottom - 3"}, {0, 8, B, "bottom - 2 excluded"},
        {19, 2, Shadow, "right shadow"}}},
      {"flat first", lfFlat, F::First, false, {2, 1, 18, 9},
       {{0, 1, Light, "kind 2: left line from top + 1"}, {0, 8, Light, "to bottom - 2"}}},
  };
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(24, 12, Paper);
    TRect r{0, 0, 20, 10};
    DrawCellFrame(b.Canvas(), r, SolidBrush(HeaderColor), c.look, c.kind, c.pressed);
    EXPECT_EQ(r, c.content) << c.name;
    ExpectPixels(b, c.pixels, c.name);
    EXPECT_EQ(b.GetPixel(20, 5), Paper) << c.name << ": nothing outside";
  }
}

TEST(PaintPrimitivesTest, FooterCellFrame) {
  TBitmap b = MakeBitmap(12, 8, Paper);
  DrawFooterCellFrame(b.Canvas(), {0, 0, 10, 8}, lfUltraFlat);
  DrawFooterCellFrame(b.Canvas(), {0, 0, 10, 8}, lfUltraFlat);  // twice: plain drawing
  TBitmap s = MakeBitmap(12, 8, Paper);
  DrawFooterCellFrame(s.Canvas(), {0, 0, 10, 8}, lfFlat);
  ExpectPixels(b, {{0, 0, Shadow, "frame"}, {9, 7, Shadow, "frame"}, {1, 1, Paper, "inside untouched"}},
               "ultra-flat");
  ExpectPixels(s, {{0, 3, Shadow, "sunken left"}, {9, 3, Light, "sunken right"}}, "flat");
}

// --- header cells ----------------------------------------------------------------------------

TqlHeaderContent Header(const TBrush& brush, TqlLookAndFeel look = lfUltraFlat) {
  TqlHeaderContent h;
  h.Brush = &brush;
  h.Look = look;
  return h;
}

TEST(PaintPrimitivesTest, FilterButtonAndSortMarkNeedTheirWidth) {
  // An ultra-flat lone cell loses 3 pixels on each side to frame and inset: content = w - 6.
  struct Case {
    int content;
    bool filter;
    bool button, mark;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {15, true, true, false, "15 pixels: the button takes them all, no room for the mark"},
      {14, true, false, false, "14 pixels: too narrow for the button, and the mark needs 16"},
      {31, true, true, true, "31 pixels: button and mark"},
      {15, false, false, false, "sorted with content below 16: no mark"},
      {16, false, false, true, "16 pixels: the mark"},
  };
  const TBrush brush = SolidBrush(HeaderColor);
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(c.content + 6, 20, Paper);
    TqlHeaderContent h = Header(brush);
    h.FilterButtonState = c.filter ? fbsShown : 0;
    h.Sorted = csUp;
    DrawHeaderCellContent(b.Canvas(), {0, 0, b.Width(), 20}, h);
    const bool button = HasColor(b, Face, {0, 0, b.Width(), 20});
    const bool mark = HasColor(b, Light, {0, 0, b.Width(), 20});
    EXPECT_EQ(button, c.button) << c.reason;
    EXPECT_EQ(mark, c.mark) << c.reason;
  }
}

TEST(PaintPrimitivesTest, SortMarksAreEngravedArrows) {
  // A 22 x 18 ultra-flat cell: mark area (3, 2)-(19, 15), centre (11, 8): L 7, T 5, B 12.
  const TBrush brush = SolidBrush(HeaderColor);
  struct Case {
    TqlTreeListColumnSort sorted;
    std::vector<PixelCase> pixels;
  };
  const std::vector<Case> cases = {
      {csUp,
       {{10, 5, Shadow, "up: shadow from (L+3, T)"}, {7, 12, HeaderColor, "up: its end not drawn"},
        {8, 11, Light, "up: highlight base from (L+1, B-1)"}, {14, 11, Light, "up: base corner"},
        {11, 4, HeaderColor, "up: highlight end (L+4, T-1) not drawn"},
        {11, 6, Light, "up: second highlight from (L+4, T+1)"}}},
      {csDown,
       {{14, 5, Shadow, "down: shadow top from (L+7, T)"}, {7, 5, Shadow, "down: top left corner"},
        {10, 12, HeaderColor, "down: apex end not drawn"}, {14, 6, Light, "down: highlight from (L+7, T+1)"},
        {13, 6, Light, "down: second highlight from (L+6, T+1)"},
        {8, 6, Shadow, "down: second shadow from (L+1, T+1)"}}},
  };
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(22, 18, Paper);
    TqlHeaderContent h = Header(brush);
    h.Sorted = c.sorted;
    DrawHeaderCellContent(b.Canvas(), {0, 0, 22, 18}, h);
    ExpectPixels(b, c.pixels, c.sorted == csUp ? "csUp" : "csDown");
  }
}

TEST(PaintPrimitivesTest, FilterButtonColoursFollowItsState) {
  // 21 x 20 ultra-flat cell: button (3, 2)-(18, 18), inner (4, 3)-(17, 17), triangle
  // (7, 8) (13, 8) (10, 11).
  struct Case {
    int state;
    TColor face, triangle;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {fbsShown, Face, ColorToRGB(clBtnText), "plain"},
      {fbsShown | fbsFiltered, Face, clBlue, "filtered: blue triangle"},
      {fbsShown | fbsHot | fbsFiltered, Shadow, ColorToRGB(clWindow), "hot: window on shadow"},
      {fbsShown | fbsHot | fbsPressed | fbsFiltered, ColorToRGB(clBtnText), ColorToRGB(clWindow),
       "pressed: window on button text"},
  };
  const TBrush brush = SolidBrush(HeaderColor);
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(21, 20, Paper);
    TqlHeaderContent h = Header(brush);
    h.FilterButtonState = c.state;
    DrawHeaderCellContent(b.Canvas(), {0, 0, 21, 20}, h);
    ExpectPixels(b, {{3, 2, Shadow, "button frame"}, {5, 4, c.face, "button face"},
                     {7, 8, c.triangle, "triangle corner"}, {13, 8, c.triangle, "triangle corner"},
                     {10, 11, c.triangle, "triangle apex"}, {10, 9, c.triangle, "triangle inside"},
                     {6, 8, c.face, "left of the triangle"}, {10, 12, c.face, "below the apex"}},
                 c.reason);
  }
}

TEST(PaintPrimitivesTest, PressedHeaders) {
  const TBrush brush = SolidBrush(HeaderColor);
  auto draw = [&](TqlLookAndFeel look, bool pressed) {
    TBitmap b = MakeBitmap(40, 20, Paper);
    TBitmap scratch;
    TqlHeaderContent h = Header(brush, look);
    h.Text = "Ab";
    h.Pressed = pressed;
    b.Canvas().Font.SetColor(Ink);
    DrawHeaderCellOffscreen(b.Canvas(), {0, 0, 40, 20}, {0, 0, 40, 20}, h, scratch);
    return b;
  };
  // Flat looks: the normal picture, colour-inverted.
  for (TqlLookAndFeel look : {lfUltraFlat, lfFlat}) {
    TBitmap up = draw(look, false), down = draw(look, true);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(down.GetPixel(x, y), up.GetPixel(x, y) ^ 0xFFFFFF) << "look " << look << " at " << x << "," << y;
  }
  // Standard: sunken frame and the caption 2 pixels right and down.
  TBitmap up = draw(lfStandard, false), down = draw(lfStandard, true);
  const TRect a = InkBox(OnlyColor(up, Ink), clWhite), p = InkBox(OnlyColor(down, Ink), clWhite);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_EQ(p, a.Offset(2, 2));
  EXPECT_EQ(down.GetPixel(0, 5), Shadow) << "sunken-outer left edge";
}

TEST(PaintPrimitivesTest, HeaderGlyphShowsTheBrushForItsTransparentColour) {
  // 40 x 16 ultra-flat cell: content (3, 2)-(37, 13); glyph rectangle (2, 1)-(7, 15) moved
  // one left in the flat looks: the 4 x 3 glyph lands at (1, 1) and the text starts at 6.
  TBitmap glyph = MakeBitmap(4, 3, clRed);
  glyph.SetPixel(0, 2, clWhite);  // bottom-left: the transparent colour
  glyph.SetPixel(2, 1, clWhite);
  const TBrush brush = SolidBrush(HeaderColor);
  TqlHeaderContent h = Header(brush);
  h.Text = "Ab";
  TBitmap plain = MakeBitmap(40, 16, Paper), with = MakeBitmap(40, 16, Paper);
  plain.Canvas().Font.SetColor(clBlue);
  with.Canvas().Font.SetColor(clBlue);
  DrawHeaderCellContent(plain.Canvas(), {0, 0, 40, 16}, h);
  h.Glyph = &glyph;
  DrawHeaderCellContent(with.Canvas(), {0, 0, 40, 16}, h);
  ExpectPixels(with, {{1, 1, clRed, "glyph's top-left corner"}, {4, 3, clRed, "its last pixel"},
                      {3, 2, HeaderColor, "transparent pixel shows the brush"},
                      {1, 3, HeaderColor, "bottom-left is transparent"},
                      {5, 1, HeaderColor, "rest of the glyph rectangle"}});
  const TRect a = InkBox(OnlyColor(plain, clBlue), clWhite);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_EQ(InkBox(OnlyColor(with, clBlue), clWhite), a.Offset(3, 0)) << "text after the glyph";
}

TEST(PaintPrimitivesTest, CornerButtonPushedInFlatLooksIsInverted) {
  const TBrush brush = SolidBrush(HeaderColor);
  for (TqlLookAndFeel look : {lfUltraFlat, lfFlat, lfStandard}) {
    TBitmap up = MakeBitmap(14, 10, Paper), down = MakeBitmap(14, 10, Paper);
    DrawCornerButton(up.Canvas(), {0, 0, 12, 10}, brush, look, false);
    DrawCornerButton(down.Canvas(), {0, 0, 12, 10}, brush, look, true);
    EXPECT_EQ(down.GetPixel(5, 5), look == lfStandard ? HeaderColor : HeaderColor ^ 0xFFFFFF) << look;
    EXPECT_EQ(down.GetPixel(12, 5), Paper) << look;
    if (look == lfUltraFlat) {
      ExpectPixels(up, {{0, 0, Shadow, "flat top"}, {11, 5, Shadow, "flat right"},
                        {0, 5, HeaderColor, "no left edge"}}, "ultra-flat corner");
    }
  }
}

TEST(PaintPrimitivesTest, OffscreenHeaderKeepsItsFullLayout) {
  const TBrush brush = SolidBrush(HeaderColor);
  TqlHeaderContent h = Header(brush);
  h.Text = "Caption";
  h.Sorted = csDown;
  TBitmap scratch(4, 4);
  TBitmap whole = MakeBitmap(60, 20, Paper), part = MakeBitmap(60, 20, Paper);
  TBitmap direct = MakeBitmap(60, 20, Paper);
  for (TBitmap* b : {&whole, &part, &direct}) {
    b->Canvas().Font.SetColor(Ink);
    b->Canvas().Font.SetHeight(-13);
    b->Canvas().Font.SetStyle(TFontStyles{fsBold});
  }
  DrawHeaderCellContent(direct.Canvas(), {5, 0, 55, 18}, h);
  DrawHeaderCellOffscreen(whole.Canvas(), {5, 0, 55, 18}, {5, 0, 55, 18}, h, scratch);
  EXPECT_TRUE(std::equal(whole.Bits(), whole.Bits() + 60 * 20, direct.Bits()))
      << "same as drawn in place, in the same font\n"
      << Picture(OnlyColor(whole, Ink), clWhite) << Picture(OnlyColor(direct, Ink), clWhite);
  DrawHeaderCellOffscreen(part.Canvas(), {5, 0, 55, 18}, {20, 0, 40, 18}, h, scratch);
  EXPECT_GE(scratch.Width(), 50);
  EXPECT_GE(scratch.Height(), 18);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool visible = x >= 20 && x < 40 && y < 18;
      ASSERT_EQ(part.GetPixel(x, y), visible ? whole.GetPixel(x, y) : Paper) << x << "," << y;
    }
}

// --- indicator -------------------------------------------------------------------------------

TEST(PaintPrimitivesTest, IndicatorCellCentresItsGlyph) {
  // 12 x 18 ultra-flat cell: inner (1, 0)-(10, 17), the 5 x 9 arrow at (3, 4).
  TBitmap b = MakeBitmap(14, 20, Paper);
  TBitmap scratch;
  DrawIndicatorCell(b.Canvas(), {0, 0, 12, 18}, {0, 0, 12, 16}, lfUltraFlat,
                    TqlIndicatorKind::Arrow, SolidBrush(HeaderColor), scratch);
  ExpectPixels(b, {{3, 4, clBlack, "arrow row 1"}, {4, 4, HeaderColor, "white is transparent"},
                   {7, 8, clBlack, "arrow tip row 5"}, {8, 8, HeaderColor, "right of the tip"},
                   {3, 12, clBlack, "arrow row 9"}, {11, 5, Shadow, "flat right edge"},
                   {5, 16, Paper, "cut off below the visible part"}});
  const TImageList& images = IndicatorImages();
  ASSERT_EQ(images.Count(), 5);
  EXPECT_EQ(images.Width(), 5);
  EXPECT_EQ(images.Height(), 9);
}

// --- focus frames ----------------------------------------------------------------------------

TEST(PaintPrimitivesTest, FocusFramesUndoThemselves) {
  struct Case {
    const char* name;
    std::function<void(TCanvas&, const TRect&)> draw;
    bool everyPixel;  // inverts every edge pixel, else every other one
  };
  const std::vector<Case> cases = {{"dotted", DrawDottedFocusFrame, false},
                                   {"inverted", DrawInvertedFrame, true}};
  for (const Case& c : cases)
    for (TRect r : {TRect{2, 2, 12, 9}, TRect{2, 4, 12, 5}, TRect{6, 1, 7, 9}}) {
      TBitmap b = MakeBitmap(14, 11, Paper);
      c.draw(b.Canvas(), r);
      int changed = 0, edge = 0;
      for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 14; ++x) {
          const bool onEdge = r.Contains({x, y}) && (x == r.Left || x == r.Right - 1 ||
                                                     y == r.Top || y == r.Bottom - 1);
          const TColor p = b.GetPixel(x, y);
          if (!onEdge) {
            ASSERT_EQ(p, Paper) << c.name << " off the edge at " << x << "," << y;
          }
          edge += onEdge;
          if (p != Paper) {
            ASSERT_EQ(p, Paper ^ 0xFFFFFF) << c.name;
            ++changed;
          }
        }
      if (c.everyPixel) EXPECT_EQ(changed, edge) << c.name << ": each pixel once";
      else EXPECT_NEAR(changed, edge / 2, 1) << c.name << ": every other pixel";
      c.draw(b.Canvas(), r);
      EXPECT_EQ(InkCount(b, Paper, {0, 0, 14, 11}), 0) << c.name << ": second call restores";
    }
}

// --- cell text -------------------------------------------------------------------------------

struct TextCell {
  static constexpr TColor Back = 0x00E0FFFF;  // the DC background colour
  static constexpr TColor BrushColor = 0x0000C000;
  TBitmap bitmap = MakeBitmap(80, 20, Paper);
  TBrush brush = SolidBrush(BrushColor);
  TqlTextOutput out;
  TRect cell{10, 2, 70, 18};

  TextCell() {
    out.Brush = &brush;
    out.BackColor = Back;
    bitmap.Canvas().Font.SetColor(Ink);
  }
  void Draw(TBitmap* scratch = nullptr) {
    bitmap.Canvas().SetBkColor(Back);
    DrawCellText(bitmap.Canvas(), cell, out, scratch);
  }
  // The same text written directly at (x, y), clipped to box, for comparison.
  std::string Reference(std::string_view text, int x, int y, const TRect& box) {
    TBitmap r = MakeBitmap(80, 20, Paper);
    r.Canvas().Font.SetColor(Ink);
    r.Canvas().ExtTextOut(x, y, ETO_CLIPPED, &box, text);
    return Picture(OnlyColor(r, Ink), clWhite);
  }
  std::string Shown() { return Picture(OnlyColor(bitmap, Ink), clWhite); }
  int Width(std::string_view text) { return bitmap.Canvas().TextWidth(text); }
};

TEST(PaintPrimitivesTest, QuickTextPositions) {
  const std::string text = "Quill";
  struct Case {
    TAlignment alignment;
    int topInset;
    const char* reason;
  };
  for (const Case& c : std::vector<Case>{{taLeftJustify, 1, "left: at left + 2, top + 1"},
                                         {taRightJustify, 2, "right: flush with right - 2"},
                                         {taCenter, 1, "centre of the inner width"}}) {
    TextCell t;
    t.out.Text = text;
    t.out.Alignment = c.alignment;
    t.out.TopInset = c.topInset;
    t.Draw();
    const int w = t.Width(text);
    const TRect inner{12, 2, 68, 18};
    const int x = c.alignment == taLeftJustify ? 12 : c.alignment == taRightJustify ? 68 - w
                                                                                    : 12 + 28 - w / 2;
    EXPECT_EQ(t.Shown(), t.Reference(text, x, 2 + c.topInset, inner)) << c.reason;
    ExpectPixels(t.bitmap,
                 {{69, 10, TextCell::BrushColor, "right margin: brush"},
                  {67, 17, TextCell::Back, "text rectangle: background colour"},
                  {10, 10, c.alignment == taLeftJustify ? TextCell::Back : TextCell::BrushColor,
                   "left margin only for right and centre"},
                  {70, 10, Paper, "nothing right of the cell"}},
                 c.reason);
  }
}

TEST(PaintPrimitivesTest, QuickTextClipsBeforeTheRightMargin) {
  TextCell t;
  t.out.Text = "WWWWWWWWWWWWWWWWWWWW";
  t.Draw();
  EXPECT_TRUE(HasColor(t.bitmap, Ink, {60, 2, 68, 18})) << "text reaches the margin";
  EXPECT_FALSE(HasColor(t.bitmap, Ink, {68, 0, 80, 20})) << "last two columns stay brush";
  EXPECT_EQ(t.bitmap.GetPixel(69, 3), TextCell::BrushColor);
}

TEST(PaintPrimitivesTest, LengthCountsCharacters) {
  struct Case {
    std::string text, prefix;
  };
  for (const Case& c : std::vector<Case>{{"abc", "ab"}, {"\xC3\xA9\xC3\xA8x", "\xC3\xA9\xC3\xA8"}}) {
    TextCell whole, part;
    whole.out.Text = c.prefix;
    part.out.Text = c.text;
    part.out.Length = 2;
    whole.Draw();
    part.Draw();
    EXPECT_EQ(part.Shown(), whole.Shown()) << c.text;
  }
}

TEST(PaintPrimitivesTest, NoBackgroundPaintsOnlyCharacterCells) {
  TextCell t;
  t.out.Text = "ab";
  t.out.NoBackground = true;
  t.brush.SetColor(clLime);
  t.bitmap.Canvas().SetBkColor(clYellow);
  DrawCellText(t.bitmap.Canvas(), t.cell, t.out, nullptr);
  const int w = t.Width("ab");
  ExpectPixels(t.bitmap, {{12, 3, clYellow, "character cell in the current background"},
                          {12 + w - 1, 3, clYellow, "to the end of the text"},
                          {12 + w + 1, 3, Paper, "right of the text untouched"},
                          {11, 3, Paper, "left margin untouched"},
                          {12, 2, Paper, "above the top inset untouched"}});
}

TEST(PaintPrimitivesTest, WordBreakPathFillsWithTheBrushAndEllipsises) {
  const std::string text = "a long caption that does not fit";
  TextCell dotted, longer, through;
  dotted.out.Text = through.out.Text = text;
  const std::string longerText = text + " at all, however wide";
  longer.out.Text = longerText;
  dotted.out.EndEllipsis = longer.out.EndEllipsis = through.out.EndEllipsis = true;
  through.out.ThroughBitmap = true;
  TBitmap scratch;
  dotted.Draw();
  longer.Draw();
  through.Draw(&scratch);
  EXPECT_EQ(longer.Shown(), dotted.Shown()) << "both cut at the same place before the ellipsis";
  EXPECT_EQ(through.Shown(), dotted.Shown()) << "through the scratch bitmap: same picture";
  EXPECT_FALSE(HasColor(dotted.bitmap, Ink, {68, 0, 80, 20})) << "inside the 2-pixel inset";
  ExpectPixels(dotted.bitmap, {{10, 2, TextCell::BrushColor, "whole rectangle: brush"},
                               {69, 17, TextCell::BrushColor, "to the last pixel"},
                               {70, 17, Paper, "not beyond"}});
  EXPECT_FALSE(HasColor(dotted.bitmap, TextCell::Back, {0, 0, 80, 20})) << "transparent text";
}

// --- status panel ----------------------------------------------------------------------------

TEST(PaintPrimitivesTest, StatusCloseButtonColours) {
  struct Case {
    bool hot, pressed;
    TColor back, cross;
  };
  for (const Case& c : std::vector<Case>{{false, false, Face, ColorToRGB(clBtnText)},
                                         {true, false, ColorToRGB(clWindow), ColorToRGB(clWindowFrame)},
                                         {true, true, ColorToRGB(clWindowFrame), ColorToRGB(clWindow)}}) {
    TBitmap b = MakeBitmap(16, 14, Paper);
    DrawStatusCloseButton(b.Canvas(), {1, 1}, c.hot, c.pressed);
    // Inset by 2: L 3, T 3, R 11, B 10.
    ExpectPixels(b, {{1, 1, c.back, "background corner"}, {12, 11, c.back, "12 x 11"},
                     {13, 5, Paper, "not wider"}, {3, 3, c.cross, "cross starts at (L, T)"},
                     {4, 3, c.cross, "doubled stroke (L + 1, T)"}, {10, 3, c.cross, "(R - 1, T)"},
                     {11, 3, c.back, "(R, T) is the last point"}, {3, 9, c.cross, "(L, B - 1)"},
                     {6, 4, c.back, "between the strokes"}});
  }
}

// --- tree area -------------------------------------------------------------------------------

TEST(PaintPrimitivesTest, ExpandButtons) {
  struct Case {
    const char* name;
    std::function<void(TCanvas&, bool)> draw;
    std::vector<PixelCase> common, plusOnly;  // plusOnly: background colour in the minus
    TColor background;
  };
  const TColor Text = ColorToRGB(clWindowText), Frame = ColorToRGB(clWindowFrame);
  const std::vector<Case> cases = {
      // cell 0..20, cy 8: box (5, 4)-(14, 13)
      {"tree", [](TCanvas& c, bool e) { DrawTreeExpandButton(c, {0, 0, 20, 18}, 8, e); },
       {{5, 4, ColorToRGB(clGrayText), "frame"}, {13, 12, ColorToRGB(clGrayText), "9 x 9"},
        {7, 8, Text, "minus from x 2"}, {11, 8, Text, "to x 6"}, {12, 8, Paper, "not x 7"}},
       {{9, 6, Text, "plus from y 2"}, {9, 10, Text, "to y 6"}},
       Paper},
      // cell 20 x 18: box (4, 3)-(15, 14)
      {"ultra-flat", [](TCanvas& c, bool e) { DrawGridExpandButton(c, {0, 0, 20, 18}, e, lfUltraFlat); },
       {{4, 3, Frame, "frame"}, {14, 13, Frame, "11 x 11"}, {15, 4, Shadow, "shadow right"},
        {5, 14, Shadow, "shadow below"}, {4, 14, Paper, "shadow starts 1 right"},
        {7, 8, Frame, "minus x 3"}, {11, 8, Frame, "minus x 7"}},
       {{9, 6, Frame, "plus y 3"}, {9, 10, Frame, "plus y 7"}},
       Paper},
      // cell 20 x 18: bitmap at ((0 + 20 - 11) / 2, (18 - 11) / 2) = (4, 3)
      {"bitmap", [](TCanvas& c, bool e) { DrawGridExpandButton(c, {0, 0, 20, 18}, e, lfFlat); },
       {{4, 3, Light, "raised-inner top-left"}, {15, 14, DkShadow, "raised-outer bottom-right"},
        {14, 13, Shadow, "inner shadow"}, {5, 4, Face, "face"},
        {7, 8, ColorToRGB(clBtnText), "minus x 3"}, {11, 8, ColorToRGB(clBtnText), "minus x 7"}},
       {{9, 6, ColorToRGB(clBtnText), "plus y 3"}, {9, 10, ColorToRGB(clBtnText), "plus y 7"}},
       Face},
  };
  for (const Case& c : cases)
    for (bool expanded : {false, true}) {
      TBitmap b = MakeBitmap(22, 20, Paper);
      c.draw(b.Canvas(), expanded);
      const std::string context = std::string(c.name) + (expanded ? " minus" : " plus");
      ExpectPixels(b, c.common, context);
      for (PixelCase p : c.plusOnly) {
        if (expanded) p.color = c.background;
        ExpectPixels(b, {p}, context);
      }
    }
}

TEST(PaintPrimitivesTest, TreeLinesDotByParity) {
  struct Case {
    TPoint viewport, phase;
    TRect line;
  };
  const std::vector<Case> cases = {{{0, 0}, {0, 0}, {3, 0, 4, 12}},
                                   {{0, 0}, {1, 0}, {3, 0, 4, 12}},
                                   {{3, 0}, {5, 2}, {0, 5, 10, 6}},
                                   {{-2, 1}, {1, 1}, {3, 1, 9, 2}}};
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(16, 16, Paper);
    TCanvas& canvas = b.Canvas();
    canvas.SetViewportOrg(c.viewport.X, c.viewport.Y);
    FillTreeLine(canvas, c.line, clGrayText, clWhite, c.phase, true);
    for (int y = c.line.Top; y < c.line.Bottom; ++y)
      for (int x = c.line.Left; x < c.line.Right; ++x) {
        const bool odd = ((x + y + c.phase.X + c.phase.Y) & 1) != 0;
        ASSERT_EQ(canvas.Pixels(x, y), odd ? Shadow : clWhite)
            << "x " << x << " y " << y << " viewport " << c.viewport.X << " phase " << c.phase.X;
      }
    EXPECT_EQ(canvas.GetViewportOrg(), c.viewport);
  }
  TBitmap solid = MakeBitmap(6, 6, Paper);
  FillTreeLine(solid.Canvas(), {2, 0, 3, 6}, clGrayText, clWhite, {}, false);
  EXPECT_EQ(InkCount(solid, Paper, {2, 0, 3, 6}), 6);
  EXPECT_EQ(solid.GetPixel(2, 1), Shadow);
  const TBitmap& pattern = DottedLineBitmap();
  EXPECT_TRUE(pattern.Monochrome());
  EXPECT_EQ(pattern.GetPixel(3, 5), clWhite) << "same parity: set";
  EXPECT_EQ(pattern.GetPixel(3, 4), clBlack);
}

TEST(PaintPrimitivesTest, PrimitivesLeaveTheCanvasToolsAlone) {
  TBitmap b = MakeBitmap(40, 20, Paper);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clFuchsia);
  c.Pen.SetColor(clAqua);
  c.Font.SetColor(clNavy);
  const TBrush brush = SolidBrush(HeaderColor);
  TqlHeaderContent h = Header(brush);
  h.Text = "x";
  h.Sorted = csUp;
  h.FilterButtonState = fbsShown;
  DrawHeaderCellContent(c, {0, 0, 40, 20}, h);
  FillTreeLine(c, {0, 0, 1, 5}, clGrayText, clWhite, {}, true);
  DrawStatusCloseButton(c, {0, 0}, true, false);
  EXPECT_EQ(c.Brush.Color(), clFuchsia);
  EXPECT_EQ(c.Brush.Bitmap(), nullptr);
  EXPECT_EQ(c.Pen.Color(), clAqua);
  EXPECT_EQ(c.Font.Color(), clNavy);
}

}  // namespace
