#include "treelist/edit_view_data.h"

#include <string>

#include "platform/core/utf8.h"
#include "platform/core/utf8_case.h"
#include "platform/gfx/region.h"
#include "treelist/popup_frame.h"

namespace {

constexpr int kContentMargin = 2;   // between the bounds and the content rectangle
constexpr int kShadowSize = 2;
constexpr int kSelectionBarWidth = 8;

int BorderWidthOf(TqlEditBorderStyle style) {
  switch (style) {
    case xbsNone: return 0;
    case xbsSingle: return 1;
    default: return 2;  // thick, flat, 3-D
  }
}

unsigned EdgeFlags(TqlEditEdges edges) {
  unsigned flags = 0;
  if (edges.contains(edgLeft)) flags |= BF_LEFT;
  if (edges.contains(edgTop)) flags |= BF_TOP;
  if (edges.contains(edgRight)) flags |= BF_RIGHT;
  if (edges.contains(edgBottom)) flags |= BF_BOTTOM;
  return flags;
}

// Single and thick borders: solid strips of the border colour.
void DrawSolidBorder(TCanvas& canvas, const TqlEditViewGeometry& g, TColor color) {
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(color);
  const int width = g.BorderWidth;
  TRect r = g.BorderRect;
  if (g.Edges == kAllEditEdges) {
    for (int i = 0; i < width; ++i) {
      canvas.FrameRect(r);
      r = r.Inflate(-1, -1);
    }
    return;
  }
  // Without a top edge the side strips reach up over the place the top edge would take.
  const int sideTop = g.Edges.contains(edgTop) ? r.Top : r.Top - width;
  if (g.Edges.contains(edgLeft)) canvas.FillRect({r.Left, sideTop, r.Left + width, r.Bottom});
  if (g.Edges.contains(edgTop)) canvas.FillRect({r.Left, r.Top, r.Right, r.Top + width});
  if (g.Edges.contains(edgRight)) canvas.FillRect({r.Right - width, sideTop, r.Right, r.Bottom});
  if (g.Edges.contains(edgBottom)) canvas.FillRect({r.Left, r.Bottom - width, r.Right, r.Bottom});
}

// A record without a brush paints with a white one, a new canvas's brush.
void SelectBrush(TCanvas& canvas, const TBrush* brush) {
  if (brush) {
    canvas.Brush = *brush;
  } else {
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(clWhite);
  }
}

}  // namespace

// ----- painter, base editor ------------------------------------------------------------------

std::unique_ptr<TqlEditViewData> TqlEditPainter::CreateViewData() const {
  return std::make_unique<TqlEditViewData>();
}

TqlEditViewGeometry TqlEditPainter::ComputeGeometry(const TqlEditViewData& data,
                                                    bool autoSize) const {
  TqlEditViewGeometry g;
  g.ShadowSize = data.Shadow ? kShadowSize : 0;
  g.Bounds = data.Bounds;
  const TRect& b = data.Bounds;
  g.ContentRect = {b.Left + kContentMargin, b.Top + kContentMargin,
                   b.Right - g.ShadowSize - kContentMargin, b.Bottom - g.ShadowSize - kContentMargin};
  g.BorderWidth = BorderWidthOf(data.BorderStyle);
  if (autoSize) {
    // The content takes its natural size; margins, border on both sides and shadow are added.
    const int frame = 2 * kContentMargin + 2 * g.BorderWidth + g.ShadowSize;
    const TRect extent = NaturalContentExtent(data);
    if (!extent.IsEmpty()) {
      g.ContentRect.Right = g.ContentRect.Left + extent.Width();
      g.Bounds.Right = g.Bounds.Left + extent.Width() + frame;
    }
    const int height = NaturalContentHeight(data);
    g.ContentRect.Bottom = g.ContentRect.Top + height;
    g.Bounds.Bottom = g.Bounds.Top + height + frame;
  }
  g.Edges = data.Edges;
  const int w = g.BorderWidth;
  g.BorderRect = g.ContentRect;
  if (g.Edges.contains(edgLeft)) g.BorderRect.Left -= w;
  if (g.Edges.contains(edgTop)) g.BorderRect.Top -= w;
  if (g.Edges.contains(edgRight)) g.BorderRect.Right += w;
  if (g.Edges.contains(edgBottom)) g.BorderRect.Bottom += w;
  if (g.ShadowSize > 0) g.ShadowRect = g.BorderRect.Offset(g.ShadowSize, g.ShadowSize);
  return g;
}

void TqlEditPainter::Draw(TCanvas& canvas, TRegion* region, TqlEditViewData& data) const {
  const TqlEditViewGeometry g = ComputeGeometry(data, false);
  if (!data.Measure) DrawFrame(canvas, g, data);
  DrawContent(canvas, g.ContentRect, false, data);
  if (region) {
    region->Subtract(g.BorderRect);
    if (g.ShadowSize > 0) region->Subtract(g.ShadowRect);
  }
}

void TqlEditPainter::DrawFrame(TCanvas& canvas, const TqlEditViewGeometry& g,
                               const TqlEditViewData& data) const {
  TCanvasStateGuard guard(canvas);
  const unsigned sides = EdgeFlags(g.Edges);
  switch (data.BorderStyle) {
    case xbsSingle:
    case xbsThick:
      DrawSolidBorder(canvas, g, data.BorderColor);
      break;
    case xbsFlat: {
      TRect r = g.BorderRect;
      canvas.DrawEdge(r, BDR_SUNKENOUTER, sides | BF_ADJUST);
      canvas.DrawEdge(r, BDR_SUNKENINNER, sides | BF_FLAT);
      break;
    }
    case xbs3D:
      canvas.DrawEdge(g.BorderRect, EDGE_SUNKEN, sides);
      break;
    case xbsNone:
      break;
  }
  if (data.Shadow && g.ShadowSize > 0)
    DrawPopupShadow(canvas, g.ShadowRect, g.ShadowSize, ShadowBrush());
}

bool TqlEditPainter::DrawContent(TCanvas& canvas, const TRect& content, bool,
                                 TqlEditViewData& data) const {
  if (data.Measure) return true;
  TCanvasStateGuard guard(canvas);
  SelectBrush(canvas, data.Brush);
  canvas.FillRect(content);
  return true;
}

int TqlEditPainter::Cursor(const TqlEditViewData& data) const {
  if (data.Cursor != 0) return data.Cursor;
  return data.IsEditorWindow ? 0 : -2;  // -2: the arrow
}

int TqlEditPainter::NaturalContentHeight(const TqlEditViewData& data) const {
  TCanvas measure;  // unbound: measures only
  if (data.Font) measure.Font = *data.Font;
  return measure.TextMetrics().tmHeight + 3;
}

// ----- painter, text editor ------------------------------------------------------------------

std::unique_ptr<TqlEditViewData> TqlTextEditPainter::CreateViewData() const {
  return std::make_unique<TqlTextEditViewData>();
}

bool TqlTextEditPainter::DrawContent(TCanvas& canvas, const TRect& content, bool ownWindowPaint,
                                     TqlEditViewData& data) const {
  // A live editor window's own paint leaves the text to its text control.
  if (data.IsEditorWindow && ownWindowPaint) return false;
  const auto* textData = dynamic_cast<const TqlTextEditViewData*>(&data);

  std::string text = data.Value.AsString();
  const int length = static_cast<int>(Utf8Length(text));
  int charCount = data.CharCount == 0 ? length : data.CharCount;

  if (textData) {
    if (textData->CharCase == ecUpperCase) text = Utf8UpperCase(text);
    if (textData->CharCase == ecLowerCase) text = AnsiLowerCase(text);
    if (textData->PasswordChar != 0 && !text.empty()) {
      std::string masked;
      for (int i = 0; i < length; ++i) AppendUtf8(textData->PasswordChar, masked);
      text = std::move(masked);
    }
  }

  TRect textRect = content;
  if (textData && textData->SelectionBar) textRect.Left += kSelectionBarWidth;
  if (data.FocusRect) {
    textRect = textRect.Inflate(-2, -2);
  } else {
    textRect = textRect.Inflate(-1, -1);
    textRect.Left += data.TextInsets.Left;
    textRect.Top += data.TextInsets.Top;
    textRect.Right -= data.TextInsets.Right;
    if (data.Alignment == taRightJustify) textRect.Right -= 1;
  }

  unsigned flags = 0;
  if (data.Alignment == taCenter) flags |= etfCenter;
  if (data.Alignment == taRightJustify) flags |= etfRight;
  switch (data.VertPlacement) {
    case evpTop: break;
    case evpCenter: flags |= etfVCenter; break;
    case evpBottom: flags |= etfBottom; break;
    case evpWordWrap: flags |= etfWordWrap; break;
  }
  if (data.FocusRect && data.Focused) flags |= etfFocusRect;
  if (data.Transparent) flags |= etfTransparent;
  if (data.OpaqueText) flags |= etfOpaqueText;
  if (textData && textData->EndEllipsis) flags |= etfEndEllipsis;
  if (data.Measure) flags |= etfMeasure;

  int lineHeight = 0;
  const int height = DrawEditText(canvas, text, charCount, lineHeight, data.TextColor,
                                  data.BkColor, data.Font, data.Brush, flags, textRect, content);
  if (data.Measure) {
    data.LineCount = 0;
    data.LineHeight = 0;
    if (height != 0) {
      data.TextHeight = data.FocusRect ? height - 2 : height - data.TextInsets.Top - 2;
      data.LineHeight = lineHeight;
      if (lineHeight != 0) data.LineCount = data.TextHeight / lineHeight;
    }
  }
  return true;
}

// ----- the text routine ----------------------------------------------------------------------

int DrawEditText(TCanvas& canvas, std::string_view text, int charCount, int& lineHeight,
                 TColor textColor, TColor bkColor, const TFont* font, const TBrush* brush,
                 unsigned flags, TRect textRect, const TRect& outerRect) {
  TCanvasStateGuard guard(canvas);  // colours, font, brush and background mode come back
  const bool measuring = flags & etfMeasure;
  // Tools first, raw colours after: the raw colours then hold through the text output.
  if (font) canvas.Font = *font;
  SelectBrush(canvas, brush);
  canvas.SetBkColor(bkColor);
  canvas.SetTextColor(textColor);

  const TSize extent = canvas.TextExtent(text);
  if (measuring) {
    lineHeight = extent.cy;
    if (lineHeight == 0) return 0;
  }
  const std::string_view part =
      text.substr(0, Utf8Offset(text, static_cast<size_t>(charCount < 0 ? 0 : charCount)));
  const bool tooWide = extent.cx > textRect.Width() || (flags & (etfWordWrap | etfPrefix));

  int textHeight = extent.cy;
  if (flags & (etfWordWrap | etfPrefix | etfEndEllipsis | etfPathEllipsis)) {
    unsigned format = DT_EXPANDTABS;
    if (flags & etfCenter) format |= DT_CENTER;
    else if (flags & etfRight) format |= DT_RIGHT;
    if (!tooWide) format |= DT_NOCLIP;
    if (!(flags & etfPrefix)) format |= DT_NOPREFIX;
    if (flags & etfEndEllipsis) format |= DT_END_ELLIPSIS;
    if (flags & etfPathEllipsis) format |= DT_PATH_ELLIPSIS;
    if (flags & etfWordWrap) format |= DT_WORDBREAK;
    else if (flags & etfVCenter) format |= DT_SINGLELINE | DT_VCENTER;
    else if (flags & etfBottom) format |= DT_SINGLELINE | DT_BOTTOM;
    else format |= DT_SINGLELINE;
    if (measuring) {
      TRect calc = textRect;
      canvas.DrawText(part, calc, format | DT_CALCRECT);
      textHeight = calc.Height();
    } else {
      if (!(flags & etfTransparent)) canvas.FillRect(outerRect);
      if (!(flags & etfOpaqueText)) canvas.SetBkMode(TRANSPARENT);
      canvas.DrawText(part, textRect, format);
    }
  } else {
    TRect opaque = outerRect;
    if (tooWide) {
      if (!(flags & etfTransparent) && !measuring)
        canvas.FillRect({textRect.Right, outerRect.Top, outerRect.Right, outerRect.Bottom});
      opaque.Right = textRect.Right;
    } else {
      if (flags & etfCenter) textRect.Left = (textRect.Left + textRect.Right - extent.cx) / 2;
      else if (flags & etfRight) textRect.Left = textRect.Right - extent.cx;
      textRect.Right = textRect.Left + extent.cx;
    }
    if (flags & etfVCenter) textRect.Top = (textRect.Top + textRect.Bottom - extent.cy) / 2;
    else if (flags & etfBottom) textRect.Top = textRect.Bottom - extent.cy;
    if (!measuring) {
      if (flags & etfTransparent) {
        if (!(flags & etfOpaqueText)) canvas.SetBkMode(TRANSPARENT);
        canvas.ExtTextOut(textRect.Left, textRect.Top, ETO_CLIPPED, &opaque, part);
      } else {
        canvas.ExtTextOut(textRect.Left, textRect.Top, ETO_OPAQUE | ETO_CLIPPED, &opaque, part);
      }
    }
  }

  if ((flags & etfFocusRect) && !measuring) {
    TRect focus = textRect;
    bool draw = true;
    if (flags & etfFocusRectOnText) {
      draw = !text.empty();
      focus = {textRect.Left, textRect.Top, textRect.Left + extent.cx, textRect.Top + extent.cy};
    }
    if (draw) {
      canvas.SetBkColor(clBlack);
      canvas.SetTextColor(clWhite);
      canvas.DrawFocusRect(focus.Inflate(1, 1));
    }
  }
  if (!measuring) return 0;
  return textHeight + (outerRect.Height() - textRect.Height());
}

// ----- filling records -----------------------------------------------------------------------

void ApplyEditLook(TqlEditViewData& data, const TqlEditLook& look) {
  data.BorderColor = look.BorderColor;
  data.BorderStyle = look.BorderStyle;
  data.ButtonStyle = look.ButtonStyle;
  data.ButtonTransparent = look.TransparentButtons;
  data.Edges = look.Edges;
  data.Shadow = look.Shadow;
}

void FillEditViewDataFromCell(TqlEditViewData& data, const TqlTreeListCellViewData& cell,
                              const TqlCellEditorSettings& settings) {
  data.Enabled = true;
  data.Focused = false;
  data.Hot = cell.IsHotTracked;
  data.BorderColor = clNone;
  data.BorderStyle = xbsNone;
  data.ButtonStyle = settings.ButtonStyle;
  data.ButtonTransparent = false;
  data.Edges = settings.Edges;
  data.Shadow = settings.Shadow;
  // The highlight pass draws over the finished cell: no fill, characters on their own cells.
  data.Transparent = cell.HighlightPass;
  data.OpaqueText = cell.HighlightPass;
  data.TextInsets = TRect{1, 0, 0, 0};
  data.Bounds = cell.PaintRect;
  if (cell.WordWrap) {
    data.VertPlacement = evpWordWrap;
  } else {
    data.VertPlacement = settings.VertAlignment == tlCenter   ? evpCenter
                         : settings.VertAlignment == tlBottom ? evpBottom
                                                              : evpTop;
  }
  data.Font = cell.FontHandle;
  data.Brush = cell.FillBrush;
  data.BkColor = ColorToRGB(cell.BackColor);
  data.TextColor = ColorToRGB(cell.ForeColor);
  data.Alignment = cell.TextAlign;
  data.IsEditorWindow = false;
  data.Value = Variant(cell.DisplayText);
  data.CharCount = cell.HighlightLength;
  data.Measure = false;
  if (auto* text = dynamic_cast<TqlTextEditViewData*>(&data)) {
    text->CharCase = settings.CharCase;
    text->EndEllipsis = cell.EllipsisAtEnd;
    text->PasswordChar = settings.PasswordChar;
  }
}
