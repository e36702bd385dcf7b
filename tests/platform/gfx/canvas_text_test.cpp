// Text geometry: where ink lands for each DrawText / ExtTextOut rule. Glyph shapes are the
// fonts' business and are not asserted.
#include <gtest/gtest.h>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor kBack = clWhite;

TBitmap TextBitmap(int w, int h) {
  TBitmap b = MakeBitmap(w, h, kBack);
  b.Canvas().Font.SetName("Tahoma");
  b.Canvas().Font.SetHeight(-11);
  b.Canvas().Font.SetColor(clBlack);
  b.Canvas().Brush.SetStyle(bsClear);
  return b;
}

TEST(CanvasTextTest, MetricsAreConsistent) {
  TBitmap b = TextBitmap(10, 10);
  TTextMetric tm = b.Canvas().TextMetrics();
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 11) << "negative height is the em size";
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(b.Canvas().TextHeight("Ag"), tm.tmHeight);
  EXPECT_GT(b.Canvas().TextWidth("WWW"), b.Canvas().TextWidth("iii"));
  // A positive height is the cell height, for the Latin and the Chinese faces alike.
  for (const char* face : {"Tahoma", "MS Sans Serif", "宋体"})
    for (int cell : {11, 12, 13, 16, 18}) {
      b.Canvas().Font.SetName(face);
      b.Canvas().Font.SetHeight(cell);
      EXPECT_EQ(b.Canvas().TextMetrics().tmHeight, cell) << face << " " << cell;
    }
  b.Canvas().Font.SetName("Tahoma");
  // The Chinese faces have no internal leading: 宋体 at -21 is 21 pixels high.
  b.Canvas().Font.SetName("宋体");
  b.Canvas().Font.SetHeight(-21);
  EXPECT_EQ(b.Canvas().TextMetrics().tmHeight, 21);
  EXPECT_EQ(b.Canvas().TextMetrics().tmAscent, 18);
  b.Canvas().Font.SetName("Tahoma");
  // Size in points at 96 dpi.
  b.Canvas().Font.SetSize(9);
  EXPECT_EQ(b.Canvas().Font.Height(), -12);
}

TEST(CanvasTextTest, SingleLineAlignmentPlacesInkInTheCell) {
  struct Case {
    const char* name;
    unsigned flags;
  } cases[] = {
      {"top-left", DT_SINGLELINE},
      {"vertical centre", DT_SINGLELINE | DT_VCENTER},
      {"bottom", DT_SINGLELINE | DT_BOTTOM},
      {"centre", DT_SINGLELINE | DT_CENTER | DT_VCENTER},
      {"right", DT_SINGLELINE | DT_RIGHT},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TBitmap b = TextBitmap(120, 40);
    TCanvas& c = b.Canvas();
    const TTextMetric tm = c.TextMetrics();
    const int w = c.TextWidth("Hxg");
    TRect r{10, 0, 110, 40};
    const int h = c.DrawText("Hxg", r, k.flags);
    int top = 0, left = 10;
    if (k.flags & DT_VCENTER) top = (40 - tm.tmHeight) / 2;
    if (k.flags & DT_BOTTOM) top = 40 - tm.tmHeight;
    if (k.flags & DT_CENTER) left = (10 + 110 - w) / 2;
    if (k.flags & DT_RIGHT) left = 110 - w;
    EXPECT_EQ(h, top + tm.tmHeight) << "returns the offset of the text's bottom from the top";
    const TRect cell{left, top, left + w, top + tm.tmHeight};
    const TRect ink = InkBox(b, kBack);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Top, cell.Top);
    EXPECT_LE(ink.Bottom, cell.Bottom);
    EXPECT_GE(ink.Left, cell.Left - 1) << "ink starts at the line's left edge";
    EXPECT_LE(ink.Right, cell.Right + 1);
  }
}

TEST(CanvasTextTest, CalcRectMeasuresWithoutDrawing) {
  TBitmap b = TextBitmap(100, 60);
  TCanvas& c = b.Canvas();
  const TTextMetric tm = c.TextMetrics();
  TRect r{5, 5, 100, 5};
  EXPECT_EQ(c.DrawText("Hello", r, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);
  EXPECT_EQ(r, (TRect{5, 5, 5 + c.TextWidth("Hello"), 5 + tm.tmHeight}));
  EXPECT_EQ(InkCount(b, kBack, TRect{0, 0, 100, 60}), 0) << "DT_CALCRECT draws nothing";
  // Word breaks at the rectangle's width: one word per line.
  const int wordWidth = c.TextWidth("wide");
  TRect wr{0, 0, wordWidth + 2, 0};
  EXPECT_EQ(c.DrawText("wide wide wide", wr, DT_WORDBREAK | DT_CALCRECT), 3 * tm.tmHeight);
  EXPECT_EQ(wr.Bottom, 3 * tm.tmHeight);
  EXPECT_LE(wr.Right, wordWidth + 2);
  // Hard line breaks count without DT_WORDBREAK too.
  TRect lr{0, 0, 100, 0};
  EXPECT_EQ(c.DrawText("a\r\nb\nc", lr, DT_CALCRECT), 3 * tm.tmHeight);
  // Tabs expand to stops every 8 average character widths.
  TRect tr{0, 0, 300, 0};
  c.DrawText("a\tb", tr, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  EXPECT_EQ(tr.Right, 8 * tm.tmAveCharWidth + c.TextWidth("b"));
  // Prefixes: "&&" is one "&", "&S" is an underlined S.
  TRect p1{0, 0, 100, 0}, p2{0, 0, 100, 0};
  c.DrawText("&Save", p1, DT_SINGLELINE | DT_CALCRECT);
  c.DrawText("Save", p2, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(p1.Right, p2.Right) << "the prefix character is not shown";
  TRect p3{0, 0, 100, 0};
  c.DrawText("&Save", p3, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_GT(p3.Right, p2.Right) << "DT_NOPREFIX shows the ampersand";
}

TEST(CanvasTextTest, WordBreakPutsTheSecondLineBelowTheFirst) {
  TBitmap b = TextBitmap(200, 60);
  TCanvas& c = b.Canvas();
  const TTextMetric tm = c.TextMetrics();
  const int w = c.TextWidth("first") + 4;
  c.DrawText("first second", TRect{0, 0, w, 60}, DT_WORDBREAK);
  EXPECT_GT(InkCount(b, kBack, TRect{0, 0, w, tm.tmHeight}), 0) << "line 1";
  EXPECT_GT(InkCount(b, kBack, TRect{0, tm.tmHeight, w, 2 * tm.tmHeight}), 0) << "line 2";
  EXPECT_EQ(InkCount(b, kBack, TRect{0, 2 * tm.tmHeight, 200, 60}), 0) << "nothing below";
  // Chinese text breaks between characters.
  TBitmap z = TextBitmap(200, 80);
  z.Canvas().Font.SetName("宋体");
  z.Canvas().Font.SetHeight(-12);
  const TTextMetric ztm = z.Canvas().TextMetrics();
  TRect zr{0, 0, z.Canvas().TextWidth("不良反应") + 1, 0};
  EXPECT_EQ(z.Canvas().DrawText("不良反应不良反应", zr, DT_WORDBREAK | DT_CALCRECT), 2 * ztm.tmHeight);
}

TEST(CanvasTextTest, EndEllipsisShortensToTheWidth) {
  TBitmap b = TextBitmap(200, 20);
  TCanvas& c = b.Canvas();
  const std::string text = "A rather long caption that cannot fit";
  TRect r{0, 0, 60, 20};
  std::string shown;
  c.DrawText(text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, &shown);
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  EXPECT_LE(c.TextWidth(shown), 60);
  EXPECT_GT(c.TextWidth(shown), 60 - 3 * c.TextMetrics().tmMaxCharWidth) << "as much text as fits";
  EXPECT_EQ(InkCount(b, kBack, TRect{60, 0, 200, 20}), 0) << "nothing beyond the rectangle";
  EXPECT_GT(InkCount(b, kBack, TRect{0, 0, 60, 20}), 0);
  // Without DT_MODIFYSTRING the caller's text is not touched; text that fits keeps no dots.
  c.DrawText("Hi", TRect{0, 0, 60, 20}, DT_SINGLELINE | DT_END_ELLIPSIS);
  TRect r2{0, 0, 60, 20};
  std::string fits;
  c.DrawText("Hi", r2, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, &fits);
  EXPECT_EQ(fits, "Hi");
}

TEST(CanvasTextTest, OpaqueFillsAndClippedKeepsOutside) {
  TBitmap b = TextBitmap(100, 20);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clYellow);  // solid: text is drawn opaque in the brush colour
  const TRect box{10, 2, 30, 16};
  c.ExtTextOut(12, 2, ETO_OPAQUE | ETO_CLIPPED, &box, "MMMMMMMMMM");
  ExpectPixels(b, {{10, 2, clYellow, "ETO_OPAQUE fills the whole rectangle"},
                   {29, 15, clYellow, "to Right - 1 / Bottom - 1"},
                   {30, 5, kBack, "Right exclusive"}});
  EXPECT_EQ(InkCount(b, kBack, TRect{30, 0, 100, 20}), 0) << "ETO_CLIPPED: nothing outside";
  EXPECT_GT(InkCount(b, clYellow, box), 0) << "glyphs inside";

  // Transparent (bsClear) TextOut leaves the background between glyphs; opaque fills the cell.
  TBitmap t = TextBitmap(100, 20);
  t.Canvas().TextOut(2, 2, "l");
  const TTextMetric tm = t.Canvas().TextMetrics();
  EXPECT_EQ(t.GetPixel(2 + t.Canvas().TextWidth("l") - 1, 2 + tm.tmHeight - 1), ColorToRGB(kBack));
  t.Canvas().Brush.SetColor(clAqua);
  t.Canvas().TextOut(40, 2, "l");
  EXPECT_EQ(t.GetPixel(40, 2 + tm.tmHeight - 1), ColorToRGB(clAqua)) << "opaque cell";
  EXPECT_EQ(t.GetPixel(40 + t.Canvas().TextWidth("l"), 2), ColorToRGB(kBack)) << "only the cell";
  EXPECT_EQ(t.Canvas().PenPos(), (TPoint{40 + t.Canvas().TextWidth("l"), 2})) << "TextOut moves PenPos past the text";

  // Raw SetBkMode holds until the brush changes again (the setter realises the brush first).
  TBitmap raw = TextBitmap(100, 20);
  raw.Canvas().Brush.SetColor(clAqua);
  raw.Canvas().SetBkMode(TRANSPARENT);
  raw.Canvas().TextOut(2, 2, "l");
  EXPECT_EQ(InkCount(raw, clAqua, TRect{0, 0, 100, 20}), 100 * 20) << "no opaque cell";
  raw.Canvas().Brush.SetColor(clYellow);
  raw.Canvas().TextOut(40, 2, "l");
  EXPECT_EQ(raw.GetPixel(40, 2 + tm.tmHeight - 1), ColorToRGB(clYellow)) << "new brush: opaque again";

  // Right alignment puts the text left of x.
  TBitmap a = TextBitmap(100, 20);
  a.Canvas().SetTextAlign(TA_RIGHT | TA_TOP);
  a.Canvas().TextOut(50, 2, "Wide");
  EXPECT_EQ(InkCount(a, kBack, TRect{51, 0, 100, 20}), 0);
  EXPECT_GT(InkCount(a, kBack, TRect{0, 0, 51, 20}), 0);
}

TEST(CanvasTextTest, CanvasClipAppliesToText) {
  TBitmap b = TextBitmap(100, 20);
  TCanvas& c = b.Canvas();
  c.IntersectClipRect(0, 0, 20, 20);
  c.TextOut(2, 2, "MMMMMMMMMMMM");
  EXPECT_GT(InkCount(b, kBack, TRect{0, 0, 20, 20}), 0);
  EXPECT_EQ(InkCount(b, kBack, TRect{20, 0, 100, 20}), 0);
  // DT_NOCLIP draws past the rectangle (but still inside the canvas clip).
  c.SelectClipRgn(nullptr);
  c.DrawText("MMMMMMMM", TRect{40, 0, 45, 20}, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkCount(b, kBack, TRect{45, 0, 100, 20}), 0);
}

TEST(CanvasTextTest, ChineseTextHasInkWithTheMappedFonts) {
  EXPECT_EQ(SubstituteFontFamily("宋体"), "AR PL UMing CN");
  EXPECT_EQ(SubstituteFontFamily("楷体_GB2312"), "AR PL UKai CN");
  EXPECT_EQ(SubstituteFontFamily("tahoma"), "DejaVu Sans");
  for (const char* face : {"宋体", "楷体_GB2312", "Tahoma"}) {
    SCOPED_TRACE(face);
    TBitmap b = TextBitmap(80, 20);
    b.Canvas().Font.SetName(face);
    b.Canvas().Font.SetCharset(GB2312_CHARSET);
    b.Canvas().Font.SetHeight(-12);
    EXPECT_GT(b.Canvas().TextWidth("不良反应"), 4 * 8) << "four full-width characters";
    b.Canvas().TextOut(0, 0, "不良反应");
    EXPECT_GT(InkCount(b, kBack, TRect{0, 0, 80, 20}), 20);
  }
  // Only the text colour is used (no antialiasing greys).
  TBitmap b = TextBitmap(80, 20);
  b.Canvas().Font.SetColor(clRed);
  b.Canvas().TextOut(0, 0, "中文 Text");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) {
      TColor p = b.GetPixel(x, y);
      ASSERT_TRUE(p == ColorToRGB(kBack) || p == ColorToRGB(clRed)) << x << "," << y;
    }
}

TEST(CanvasTextTest, PrefixUnderlinesTheCharacter) {
  TBitmap b = TextBitmap(60, 20);
  TCanvas& c = b.Canvas();
  const TTextMetric tm = c.TextMetrics();
  c.DrawText("&Mm", TRect{0, 0, 60, 20}, DT_SINGLELINE);
  const int y = tm.tmAscent + 1;
  const int mw = c.TextWidth("M");
  EXPECT_EQ(InkCount(b, kBack, TRect{0, y, mw - 1, y + 1}), mw - 1) << "underline under M";
  TBitmap h = TextBitmap(60, 20);
  h.Canvas().DrawText("&Mm", TRect{0, 0, 60, 20}, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_LT(InkCount(h, kBack, TRect{0, y, mw - 1, y + 1}), mw - 1) << "DT_HIDEPREFIX: no underline";
}

}  // namespace
