#include "treelist/paint_primitives.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/core/utf8.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_consts.h"
#include "platform/gfx/image_list.h"

namespace {

// The text colour the next text output would use: a font chosen since the last output has
// already set it. Reading it this way leaves the canvas drawing as before.
TColor CurrentTextColor(TCanvas& canvas) {
  const TColor color = canvas.SetTextColor(clBlack);
  canvas.SetTextColor(color);
  return color;
}

// The background colour the next text output would use (a brush chosen since counts).
TColor CurrentBkColor(TCanvas& canvas) {
  const TColor color = canvas.SetBkColor(clBlack);
  canvas.SetBkColor(color);
  return color;
}

void FillWith(TCanvas& canvas, const TRect& rect, const TBrush& brush) {
  canvas.Brush = brush;
  canvas.FillRect(rect);
}

void FillColor(TCanvas& canvas, const TRect& rect, TColor color) {
  canvas.Brush.SetBitmap(nullptr);
  canvas.Brush.SetColor(color);
  canvas.FillRect(rect);
}

void FrameColor(TCanvas& canvas, const TRect& rect, TColor color) {
  canvas.Brush.SetBitmap(nullptr);
  canvas.Brush.SetColor(color);
  canvas.FrameRect(rect);
}

// A plain one-pixel solid pen in color.
void UsePen(TCanvas& canvas, TColor color) {
  canvas.Pen = TPen();
  canvas.Pen.SetColor(color);
}

// Grows the scratch bitmap to at least w x h; it never shrinks. Resizing rebinds its canvas,
// so this comes before any state of that canvas is saved.
void GrowScratch(TBitmap& scratch, int w, int h) {
  if (scratch.Width() < w || scratch.Height() < h)
    scratch.SetSize(std::max(w, scratch.Width()), std::max(h, scratch.Height()));
}

// The scratch canvas set to draw from its origin with the font and text colour of canvas.
TCanvas& PrepareScratch(TBitmap& scratch, TCanvas& canvas, TColor textColor) {
  TCanvas& sc = scratch.Canvas();
  sc.SelectClipRgn(nullptr);
  sc.SetViewportOrg(0, 0);
  sc.Font = canvas.Font;
  sc.SetTextColor(textColor);
  return sc;
}

// Copies the part of the scratch picture of fullRect that lies under visibleRect.
void CopyVisible(TCanvas& canvas, const TRect& fullRect, const TRect& visibleRect,
                 const TBitmap& scratch) {
  const TRect v = IntersectRect(visibleRect, fullRect);
  if (v.IsEmpty()) return;
  canvas.BitBlt(v.Left, v.Top, v.Width(), v.Height(), scratch, v.Left - fullRect.Left,
                v.Top - fullRect.Top, SRCCOPY);
}

unsigned AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

// The drop-down filter button of a header cell: frame, face and a downward triangle.
void DrawFilterButton(TCanvas& canvas, const TRect& button, int state) {
  const bool hot = state & fbsHot, pressed = state & fbsPressed, filtered = state & fbsFiltered;
  FrameColor(canvas, button, clBtnShadow);
  const TRect inner = button.Inflate(-1, -1);
  FillColor(canvas, inner, pressed ? clBtnText : hot ? clBtnShadow : clBtnFace);
  const TColor mark = (hot || pressed) ? clWindow : filtered ? clBlue : clBtnText;
  int a = inner.Width() / 2;
  if (a % 2 == 0) a += 1;
  const int b = a / 2;
  const int x0 = (inner.Left + inner.Right - a) / 2;
  int y0 = (inner.Top + inner.Bottom - b) / 2;
  if (inner.Height() % 2 != 0) y0 -= 1;
  UsePen(canvas, mark);
  canvas.Brush.SetColor(mark);
  canvas.Polygon({{x0, y0}, {x0 + a - 1, y0}, {x0 + b, y0 + b}});
}

// The engraved sort arrow in its 16-pixel area.
void DrawSortMark(TCanvas& canvas, const TRect& area, TqlTreeListColumnSort sorted) {
  const int cx = (area.Left + area.Right) / 2, cy = (area.Top + area.Bottom) / 2;
  const int L = cx - 4, T = cy - 3, B = cy + 4;
  std::vector<TPoint> shadow, highlight;
  std::vector<int> shadowCounts, highlightCounts;
  if (sorted == csUp) {
    shadow = {{L + 3, T}, {L, B}, {L + 2, T + 1}, {L, B - 1}};
    shadowCounts = {2, 2};
    highlight = {{L + 1, B - 1}, {L + 7, B - 1}, {L + 4, T - 1}, {L + 4, T + 1}, {L + 7, B - 1}};
    highlightCounts = {3, 2};
  } else {
    shadow = {{L + 7, T}, {L, T}, {L + 3, B}, {L + 1, T + 1}, {L + 3, B - 1}};
    shadowCounts = {3, 2};
    highlight = {{L + 7, T + 1}, {L + 4, B}, {L + 6, T + 1}, {L + 4, B - 1}};
    highlightCounts = {2, 2};
  }
  UsePen(canvas, clBtnShadow);
  canvas.PolyPolyline(shadow, shadowCounts);
  UsePen(canvas, clBtnHighlight);
  canvas.PolyPolyline(highlight, highlightCounts);
}

// The glyph copied from its top-left corner into glyphRect, its transparent colour showing
// the cell brush.
void DrawHeaderGlyph(TCanvas& canvas, const TRect& glyphRect, const TBitmap& glyph,
                     const TBrush& brush) {
  FillWith(canvas, glyphRect, brush);
  TBitmap copy = glyph;
  copy.SetTransparent(true);
  TCanvasStateGuard guard(canvas);
  canvas.IntersectClipRect(glyphRect);
  canvas.CopyMode = SRCCOPY;
  canvas.Draw(glyphRect.Left, glyphRect.Top, copy);
}

// The glyphs of the indicator column, 5 x 9, '#' black on white.
constexpr int kIndicatorWidth = 5, kIndicatorHeight = 9;
constexpr const char* kIndicatorGlyphs[5][kIndicatorHeight] = {
    {"#....", "##...", "###..", "####.", "#####", "####.", "###..", "##...", "#...."},
    {"##.##", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "##.##"},
    {".....", "..#..", "#.#.#", ".###.", "..#..", ".###.", "#.#.#", "..#..", "....."},
    {".....", ".....", "..#..", ".###.", ".###.", ".###.", "..#..", ".....", "....."},
    {"#....", "##...", "..#..", "#..#.", "##.##", "#..#.", "..#..", "##...", "#...."},
};

TBitmap& DottedPattern() {
  static TBitmap pattern = [] {
    TBitmap b(8, 8);
    b.SetMonochrome(true);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) b.SetPixel(x, y, (x % 2 == y % 2) ? clWhite : clBlack);
    return b;
  }();
  return pattern;
}

}  // namespace

// --- edges ---------------------------------------------------------------------------------

void DrawEdgeSides(TCanvas& canvas, TRect& rect, TqlEdgeStyle style, unsigned sides,
                   bool adjust) {
  unsigned edge = BDR_RAISEDOUTER;
  unsigned flags = sides & BF_RECT;
  switch (style) {
    case esRaisedOuter: edge = BDR_RAISEDOUTER; break;
    case esRaisedInner: edge = BDR_RAISEDINNER; break;
    case esSunkenOuter: edge = BDR_SUNKENOUTER; break;
    case esFlatOuter: edge = BDR_RAISEDOUTER; flags |= BF_FLAT; break;
  }
  if (adjust) flags |= BF_ADJUST;
  canvas.DrawEdge(rect, edge, flags);
}

// --- header cells --------------------------------------------------------------------------

TqlCellFrameKind HeaderCellKind(bool firstInRow, bool lastInRow) {
  if (firstInRow && lastInRow) return TqlCellFrameKind::Alone;
  if (lastInRow) return TqlCellFrameKind::Last;
  if (firstInRow) return TqlCellFrameKind::First;
  return TqlCellFrameKind::Between;
}

void DrawCellFrame(TCanvas& canvas, TRect& rect, const TBrush& brush, TqlLookAndFeel look,
                   TqlCellFrameKind kind, bool pressed) {
  TCanvasStateGuard guard(canvas);
  if (look == lfStandard) {
    DrawEdgeSides(canvas, rect, esRaisedOuter, sideRight | sideBottom, true);
    if (pressed) {
      DrawEdgeSides(canvas, rect, esSunkenOuter, sideLeft | sideTop, true);
    } else {
      DrawEdgeSides(canvas, rect, esRaisedInner, sideRight | sideBottom, true);
      DrawEdgeSides(canvas, rect, esRaisedInner, sideLeft | sideTop, true);
    }
    FillWith(canvas, rect, brush);
    return;
  }
  // The flat looks: pressing shows through colour inversion by the callers, not here.
  if (kind == TqlCellFrameKind::Alone) {
    if (look == lfUltraFlat) {
      FrameColor(canvas, rect, clBtnShadow);
      rect = rect.Inflate(-1, -1);
    } else {
      DrawEdgeSides(canvas, rect, esRaisedInner, sidesAll, true);
    }
    FillWith(canvas, rect, brush);
    rect = rect.Inflate(-1, 0);
    return;
  }
  // A cell with neighbours in its row: the side lines stop short so neighbours join up.
  FillWith(canvas, rect, brush);
  TRect edges = rect;
  DrawEdgeSides(canvas, edges, look == lfUltraFlat ? esFlatOuter : esRaisedInner,
                sideTop | sideBottom, false);
  if (look == lfFlat) {
    const int inset = kind == TqlCellFrameKind::First ? 1 : 2;
    FillColor(canvas, {rect.Left, rect.Top + inset, rect.Left + 1, rect.Bottom - inset},
              clBtnHighlight);
  }
  if (kind == TqlCellFrameKind::Last)
    FillColor(canvas, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom - 1}, clBtnShadow);
  else
    FillColor(canvas, {rect.Right - 1, rect.Top + 2, rect.Right, rect.Bottom - 2}, clBtnShadow);
  rect = rect.Inflate(-2, -1);
}

void DrawHeaderCellContent(TCanvas& canvas, TRect rect, const TqlHeaderContent& content) {
  const TColor textColor = CurrentTextColor(canvas);
  TCanvasStateGuard guard(canvas);
  DrawCellFrame(canvas, rect, *content.Brush, content.Look, content.Kind, content.Pressed);
  const bool flat = content.Look != lfStandard;
  const bool pressedStandard = content.Pressed && !flat;
  // A pressed standard cell shows its content 2 pixels right and down.
  TRect area = pressedStandard ? TRect{rect.Left + 3, rect.Top + 3, rect.Right, rect.Bottom}
                               : rect.Inflate(-1, -1);
  area.Bottom -= 1;

  constexpr int kFilterButtonWidth = 15, kSortMarkWidth = 16;
  if (content.FilterButtonState != 0 && area.Width() >= kFilterButtonWidth) {
    DrawFilterButton(canvas,
                     {area.Right - kFilterButtonWidth, area.Top, area.Right, area.Bottom + 1},
                     content.FilterButtonState);
    area.Right -= kFilterButtonWidth;
  }
  if (content.Sorted != csNone && area.Width() >= kSortMarkWidth) {
    DrawSortMark(canvas, {area.Right - kSortMarkWidth, area.Top, area.Right, area.Bottom},
                 content.Sorted);
    area.Right -= kSortMarkWidth;
  }
  if (content.Glyph && !content.Glyph->Empty() && area.Width() > 0) {
    TRect g{area.Left - 1, area.Top - 1, area.Left + content.Glyph->Width(),
            area.Bottom + (pressedStandard ? 1 : 2)};
    if (flat) g = g.Offset(-1, 0);
    g.Right = std::min(g.Right, area.Right + (flat ? 2 : pressedStandard ? 0 : 1));
    DrawHeaderGlyph(canvas, g, *content.Glyph, *content.Brush);
    area.Left = g.Right;
  }

  unsigned flags = DT_NOPREFIX | DT_EXPANDTABS | AlignmentFlag(content.Alignment);
  if (content.MultiLine) {
    flags |= DT_WORDBREAK;
  } else {
    flags |= DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (canvas.TextWidth(content.Text) <= area.Width()) flags |= DT_NOCLIP;
  }
  canvas.SetBkMode(TRANSPARENT);
  canvas.SetTextColor(textColor);
  canvas.DrawText(content.Text, area, flags);
}

void DrawHeaderCellOffscreen(TCanvas& canvas, const TRect& fullRect, const TRect& visibleRect,
                             const TqlHeaderContent& content, TBitmap& scratch) {
  const int w = fullRect.Width(), h = fullRect.Height();
  if (w <= 0 || h <= 0) return;
  const TColor textColor = CurrentTextColor(canvas);
  {
    GrowScratch(scratch, w, h);
    TCanvasStateGuard scratchGuard(scratch.Canvas());
    TCanvas& sc = PrepareScratch(scratch, canvas, textColor);
    DrawHeaderCellContent(sc, {0, 0, w, h}, content);
    if (content.Pressed && content.Look != lfStandard) sc.InvertRect({0, 0, w, h});
  }
  CopyVisible(canvas, fullRect, visibleRect, scratch);
}

void DrawCornerButton(TCanvas& canvas, TRect rect, const TBrush& brush, TqlLookAndFeel look,
                      bool pushed) {
  TCanvasStateGuard guard(canvas);
  TRect inner = rect;
  if (look == lfUltraFlat) {
    DrawEdgeSides(canvas, inner, esFlatOuter, sideTop | sideRight | sideBottom, true);
    FillWith(canvas, inner, brush);
  } else {
    DrawCellFrame(canvas, inner, brush, look, TqlCellFrameKind::Alone, pushed);
  }
  if (pushed && look != lfStandard) canvas.InvertRect(rect);
}

void DrawIndicatorCell(TCanvas& canvas, const TRect& rect, const TRect& visibleRect,
                       TqlLookAndFeel look, TqlIndicatorKind glyphKind, const TBrush& headerBrush,
                       TBitmap& scratch) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  const TColor textColor = CurrentTextColor(canvas);
  {
    GrowScratch(scratch, w, h);
    TCanvasStateGuard scratchGuard(scratch.Canvas());
    TCanvas& sc = PrepareScratch(scratch, canvas, textColor);
    TRect inner{0, 0, w, h};
    if (look == lfUltraFlat) {
      DrawEdgeSides(sc, inner, esFlatOuter, sideRight | sideBottom, true);
      FillWith(sc, inner, headerBrush);
      inner = inner.Inflate(-1, 0);
    } else {
      DrawCellFrame(sc, inner, headerBrush, look, TqlCellFrameKind::Alone, false);
    }
    const TImageList& images = IndicatorImages();
    const int image = static_cast<int>(glyphKind) - 1;
    if (image >= 0 && image < images.Count())
      images.Draw(sc, (inner.Left + inner.Right - images.Width()) / 2,
                  (inner.Top + inner.Bottom - images.Height()) / 2, image);
  }
  CopyVisible(canvas, rect, visibleRect, scratch);
}

void DrawFooterCellFrame(TCanvas& canvas, const TRect& rect, TqlLookAndFeel look) {
  TCanvasStateGuard guard(canvas);
  if (look == lfUltraFlat) {
    FrameColor(canvas, rect, clBtnShadow);
  } else {
    TRect r = rect;
    DrawEdgeSides(canvas, r, esSunkenOuter, sidesAll, false);
  }
}

// --- focus frames ---------------------------------------------------------------------------

void DrawDottedFocusFrame(TCanvas& canvas, const TRect& rect) {
  TCanvasStateGuard guard(canvas);
  // Black background and white text make the focus pattern an exclusive-or of every other
  // pixel with white, so drawing it again restores the picture.
  canvas.SetBkColor(clBlack);
  canvas.SetTextColor(clWhite);
  canvas.DrawFocusRect(rect);
}

void DrawInvertedFrame(TCanvas& canvas, const TRect& rect) {
  if (rect.IsEmpty()) return;
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  // Four disjoint pieces, so thin rectangles do not invert a pixel twice.
  canvas.InvertRect({L, T, R, T + 1});
  if (B - T < 2) return;
  canvas.InvertRect({L, T + 1, L + 1, B});
  if (R - L >= 2) canvas.InvertRect({R - 1, T + 1, R, B});
  if (R - L > 2) canvas.InvertRect({L + 1, B - 1, R - 1, B});
}

// --- cell text -----------------------------------------------------------------------------

void DrawCellText(TCanvas& canvas, const TRect& rect, const TqlTextOutput& text,
                  TBitmap* scratch) {
  std::string_view shown = text.Text;
  if (text.Length >= 0) shown = shown.substr(0, Utf8Offset(shown, size_t(text.Length)));
  const TColor textColor = CurrentTextColor(canvas);
  const TColor bkColor = CurrentBkColor(canvas);
  TBrush brush;
  if (text.Brush) brush = *text.Brush;
  else brush.SetColor(text.BackColor);
  TCanvasStateGuard guard(canvas);

  // Every colour of a 32-bit surface displays as itself, so a single plain line always takes
  // the direct character output.
  if (text.NoBackground || (!text.MultiLine && !text.EndEllipsis)) {
    TRect box = rect;
    box.Right = std::max(rect.Right - 2, rect.Left);
    if (text.Alignment != taLeftJustify) box.Left = std::min(rect.Left + 2, box.Right);
    int x = rect.Left + 2;
    if (text.Alignment != taLeftJustify) {
      const int textWidth = canvas.TextWidth(shown);
      x = text.Alignment == taRightJustify
              ? box.Left + box.Width() - textWidth
              : box.Left + box.Width() / 2 - textWidth / 2;
    }
    if (!text.NoBackground) {
      FillWith(canvas, {rect.Left, rect.Top, box.Left, rect.Bottom}, brush);
      FillWith(canvas, {box.Right, rect.Top, rect.Right, rect.Bottom}, brush);
    }
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    canvas.SetBkMode(OPAQUE);
    canvas.SetBkColor(bkColor);
    canvas.SetTextColor(textColor);
    canvas.ExtTextOut(x, rect.Top + text.TopInset,
                      text.NoBackground ? ETO_CLIPPED : ETO_OPAQUE | ETO_CLIPPED, &box, shown);
    return;
  }

  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  unsigned flags = DT_NOPREFIX | DT_EXPANDTABS | AlignmentFlag(text.Alignment);
  flags |= text.MultiLine ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
  if (text.EndEllipsis) flags |= DT_END_ELLIPSIS;
  auto draw = [&](TCanvas& target, const TRect& r) {
    FillWith(target, r, brush);
    target.SetBkMode(TRANSPARENT);
    target.SetTextColor(textColor);
    target.DrawText(shown, r.Inflate(-2, -text.TopInset), flags);
  };
  if (text.ThroughBitmap && scratch) {
    {
      GrowScratch(*scratch, w, h);
      TCanvasStateGuard scratchGuard(scratch->Canvas());
      draw(PrepareScratch(*scratch, canvas, textColor), {0, 0, w, h});
    }
    CopyVisible(canvas, rect, rect, *scratch);
  } else {
    draw(canvas, rect);
  }
}

// --- status panel --------------------------------------------------------------------------

void DrawStatusCloseButton(TCanvas& canvas, TPoint topLeft, bool hot, bool pressed) {
  TCanvasStateGuard guard(canvas);
  const TColor back = pressed ? clWindowFrame : hot ? clWindow : clBtnFace;
  const TColor cross = pressed ? clWindow : hot ? clWindowFrame : clBtnText;
  const TRect button{topLeft.X, topLeft.Y, topLeft.X + 12, topLeft.Y + 11};
  FillColor(canvas, button, back);
  const int L = button.Left + 2, T = button.Top + 2, R = button.Right - 2, B = button.Bottom - 2;
  UsePen(canvas, cross);
  canvas.PolyPolyline({{L, T}, {R - 2, B - 1}, {R - 1, B - 1}, {L + 1, T}, {L, T},
                       {R - 1, T}, {L + 1, B - 1}, {L, B - 1}, {R - 2, T}, {R, T}},
                      {5, 5});
}

// --- tree area -----------------------------------------------------------------------------

void DrawTreeExpandButton(TCanvas& canvas, const TRect& cell, int cy, bool expanded) {
  TCanvasStateGuard guard(canvas);
  const int left = (cell.Left + cell.Right - 9) / 2, top = cy - 4;
  FrameColor(canvas, {left, top, left + 9, top + 9}, clGrayText);
  FillColor(canvas, {left + 2, top + 4, left + 7, top + 5}, clWindowText);
  if (!expanded) FillColor(canvas, {left + 4, top + 2, left + 5, top + 7}, clWindowText);
}

void DrawGridExpandButton(TCanvas& canvas, const TRect& cell, bool expanded,
                          TqlLookAndFeel look) {
  TCanvasStateGuard guard(canvas);
  if (look != lfUltraFlat) {
    canvas.BitBlt((cell.Left + cell.Right - 12 + 1) / 2, (cell.Top + cell.Bottom - 12 + 1) / 2,
                  12, 12, ExpandButtonBitmap(expanded), 0, 0, SRCCOPY);
    return;
  }
  const int left = cell.Left + (cell.Width() - 11) / 2, top = cell.Top + (cell.Height() - 11) / 2;
  const TRect box{left, top, left + 11, top + 11};
  TRect shadow = box.Offset(1, 1);
  DrawEdgeSides(canvas, shadow, esFlatOuter, sideRight | sideBottom, false);
  FrameColor(canvas, box, clWindowFrame);
  FillColor(canvas, {left + 3, top + 5, left + 8, top + 6}, clWindowFrame);
  if (!expanded) FillColor(canvas, {left + 5, top + 3, left + 6, top + 8}, clWindowFrame);
}

void FillTreeLine(TCanvas& canvas, const TRect& rect, TColor lineColor, TColor bkColor,
                  TPoint phase, bool dotted) {
  TCanvasStateGuard guard(canvas);
  if (!dotted) {
    FillColor(canvas, rect, lineColor);
    return;
  }
  // The pattern's set pixels are those with an even device x + y (brush origin 0, 0). A
  // device pixel is logical (x, y) plus the viewport origin, so the set pixels are the line
  // pixels exactly when phase minus the viewport origin is odd.
  canvas.Brush.SetBitmap(&DottedPattern());
  canvas.SetBrushOrg(0, 0);
  const TPoint org = canvas.GetViewportOrg();
  const bool setIsLine = ((phase.X + phase.Y - org.X - org.Y) & 1) != 0;
  // A one-bit pattern paints set pixels in the background colour, clear ones in the text
  // colour.
  canvas.SetBkColor(setIsLine ? lineColor : bkColor);
  canvas.SetTextColor(setIsLine ? bkColor : lineColor);
  canvas.FillRect(rect);
}

// --- process-wide bitmaps --------------------------------------------------------------------

const TImageList& IndicatorImages() {
  static const TImageList list = [] {
    TImageList images(kIndicatorWidth, kIndicatorHeight);
    for (const auto& rows : kIndicatorGlyphs) {
      TBitmap glyph(kIndicatorWidth, kIndicatorHeight);
      for (int y = 0; y < kIndicatorHeight; ++y)
        for (int x = 0; x < kIndicatorWidth; ++x)
          glyph.SetPixel(x, y, rows[y][x] == '#' ? clBlack : clWhite);
      images.AddMasked(glyph, clWhite);
    }
    return images;
  }();
  return list;
}

const TBitmap& ExpandButtonBitmap(bool expanded) {
  // Redrawn on every request: two tiny pictures, always in the current system colours.
  static std::array<TBitmap, 2> bitmaps{TBitmap(12, 12), TBitmap(12, 12)};
  TBitmap& b = bitmaps[expanded ? 1 : 0];
  TCanvas& c = b.Canvas();
  TCanvasStateGuard guard(c);
  TRect outer{0, 0, 12, 12};
  DrawEdgeSides(c, outer, esRaisedInner, sideLeft | sideTop, false);
  DrawEdgeSides(c, outer, esRaisedOuter, sideRight | sideBottom, false);
  TRect inner{1, 1, 11, 11};
  DrawEdgeSides(c, inner, esRaisedInner, sideRight | sideBottom, false);
  FillColor(c, {1, 1, 10, 10}, clBtnFace);
  FillColor(c, {3, 5, 8, 6}, clBtnText);
  if (!expanded) FillColor(c, {5, 3, 6, 8}, clBtnText);
  return b;
}

const TBitmap& DottedLineBitmap() { return DottedPattern(); }
