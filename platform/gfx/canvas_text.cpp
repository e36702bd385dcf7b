// TCanvas text output: where the cells go, what is filled behind them and what clips them.
// The lines of DrawText come from text_layout.h, the glyphs from the font engine
// (font_face.h).
//
// Windows rules followed here:
//   - a cell is tmHeight = ascent + descent high; TextOut's y is the cell's top (TA_TOP)
//   - DrawText: lines tmHeight apart (plus the external leading with DT_EXTERNALLEADING);
//     tabs every 8 average character widths; "&x" underlines x one pixel below the baseline;
//     it returns the offset of the text's bottom from the rectangle's top
//   - an opaque background fills each line's text cell (DrawText, TextOut) or the given
//     rectangle (ETO_OPAQUE)
#include <vector>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font_face.h"
#include "platform/gfx/raster.h"
#include "platform/gfx/text_layout.h"

namespace {

std::vector<TRect> clipTo(const std::vector<TRect>& clip, const TRect* limit) {
  if (!limit) return clip;
  std::vector<TRect> out;
  raster::ClipRects({*limit}, clip, out);
  return out;
}

TTextMeasure measureFor(const fontface::Face& face, unsigned flags) {
  const TTextMetric& tm = fontface::Metrics(face);
  TTextMeasure m;
  m.width = [&face](std::string_view run) { return fontface::TextWidth(face, run); };
  m.lineHeight = tm.tmHeight + ((flags & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  m.tabWidth = 8 * tm.tmAveCharWidth;
  return m;
}

}  // namespace

TSize TCanvas::TextExtent(std::string_view text) {
  const fontface::Face& face = fontface::FaceFor(Font);
  return {fontface::TextWidth(face, text), fontface::Metrics(face).tmHeight};
}

bool TCanvas::GetTextMetrics(TTextMetric& tm) {
  tm = fontface::Metrics(fontface::FaceFor(Font));
  return true;
}

void TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                         const int* dx) {
  realiseTools();
  const fontface::Face& face = fontface::FaceFor(Font);
  const TTextMetric& tm = fontface::Metrics(face);
  // Advances: the font's, or the caller's per character.
  int width = 0;
  if (dx) {
    for (size_t pos = 0, i = 0; pos < text.size(); ++i) {
      DecodeUtf8(text, pos);
      width += dx[i];
    }
  } else {
    width = fontface::TextWidth(face, text);
  }
  TPoint origin = (textAlign_ & TA_UPDATECP) ? penPos_ : TPoint{x, y};
  int left = origin.X;
  switch (textAlign_ & TA_CENTER) {
    case TA_CENTER: left -= width / 2; break;
    case TA_RIGHT: left -= width; break;
    default: break;
  }
  int top = origin.Y;
  if ((textAlign_ & TA_BASELINE) == TA_BASELINE) top -= tm.tmAscent;
  else if (textAlign_ & TA_BOTTOM) top -= tm.tmHeight;
  if (textAlign_ & TA_UPDATECP) {
    // The current position moves past the text (for left alignment; right alignment moves
    // it back to the text's start).
    if ((textAlign_ & TA_CENTER) == TA_RIGHT) penPos_.X = left;
    else if ((textAlign_ & TA_CENTER) == TA_LEFT) penPos_.X = left + width;
  }
  if (!bits_) return;

  const TRect devCell = LogicalToDevice(TRect{left, top, left + width, top + tm.tmHeight});
  TRect devRect;
  if (rect) devRect = LogicalToDevice(*rect);
  const std::vector<TRect> canvasClip = clipRects();
  if (rect && (options & ETO_OPAQUE)) {
    paintDevice({devRect}, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
  } else if (bkMode_ == OPAQUE) {
    std::vector<TRect> cell{devCell};
    if (rect && (options & ETO_CLIPPED)) cell = {IntersectRect(devCell, devRect)};
    paintDevice(cell, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
  }
  const std::vector<TRect> clip = clipTo(canvasClip, (rect && (options & ETO_CLIPPED)) ? &devRect : nullptr);
  const uint32_t fg = devicePixel(textColor_);
  if (!dx) {
    fontface::PaintRun(surface(), clip, face, devCell.Left, devCell.Top, text, fg);
  } else {
    int cx = devCell.Left;
    for (size_t pos = 0, i = 0; pos < text.size(); ++i) {
      const size_t begin = pos;
      DecodeUtf8(text, pos);
      fontface::PaintRun(surface(), clip, face, cx, devCell.Top, text.substr(begin, pos - begin), fg);
      cx += dx[i];
    }
  }
  changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  ExtTextOut(x, y, 0, nullptr, text);
  // The pen position moves past the text, so a following TextOut at PenPos continues it.
  MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  unsigned options = ETO_CLIPPED;
  if (Brush.Style() != bsClear) options |= ETO_OPAQUE;  // the brush fills the whole rectangle
  ExtTextOut(x, y, options, &rect, text);
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags, std::string* modifiedText) {
  const fontface::Face& face = fontface::FaceFor(Font);
  const TTextMetric& tm = fontface::Metrics(face);
  const TTextMeasure measure = measureFor(face, flags);
  const TTextBlock layout = LayoutText(text, rect.Width(), rect.Height(), flags, measure);

  if (flags & DT_CALCRECT) {
    rect.Right = rect.Left + layout.width;
    rect.Bottom = rect.Top + layout.height;
    return layout.height;
  }
  if (layout.lines.empty()) return 0;
  if ((flags & DT_MODIFYSTRING) && modifiedText &&
      (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))) {
    std::string shown;
    for (size_t i = 0; i < layout.lines.size(); ++i) shown += (i ? "\r\n" : "") + layout.lines[i].text;
    *modifiedText = std::move(shown);
  }

  realiseTools();
  if (bits_) {
    const TRect devRect = LogicalToDevice(rect);
    const std::vector<TRect> clip = clipTo(clipRects(), (flags & DT_NOCLIP) ? nullptr : &devRect);
    const uint32_t fg = devicePixel(textColor_);
    const raster::Surface surf = surface();
    for (const TTextLine& line : layout.lines) {
      const TPoint d = LogicalToDevice(TPoint{rect.Left + line.x, rect.Top + line.y});
      if (bkMode_ == OPAQUE && line.width > 0) {
        std::vector<TRect> cell;
        raster::ClipRects({Bounds(d.X, d.Y, line.width, measure.lineHeight)}, clip, cell);
        if (!cell.empty()) raster::FillRects(surf, cell, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
      }
      if (!(flags & DT_PREFIXONLY)) {
        // Tab-separated segments start at the expanded stops.
        const std::string_view shown = line.text;
        size_t start = 0;
        int segX = 0;
        while (true) {
          const size_t tab = (flags & DT_EXPANDTABS) ? shown.find('\t', start) : std::string_view::npos;
          fontface::PaintRun(surf, clip, face, d.X + segX, d.Y, shown.substr(start, tab - start), fg);
          if (tab == std::string_view::npos) break;
          segX = TextLineWidth(shown.substr(0, tab + 1), flags, measure);
          start = tab + 1;
        }
      }
      if (line.prefix >= 0 && !(flags & DT_HIDEPREFIX)) {
        // The prefix underline: one pixel below the baseline, under the character's advance.
        std::vector<TRect> ul;
        raster::ClipRects({TRect{d.X + line.prefixLeft, d.Y + tm.tmAscent + 1,
                                 d.X + line.prefixRight - 1, d.Y + tm.tmAscent + 2}},
                          clip, ul);
        if (!ul.empty()) raster::FillRects(surf, ul, raster::Brush::Solid(fg), 0xF0);
      }
    }
    changed();
  }
  return layout.bottom;
}
