// Drawing of a window's scroll bars in its non-client area: the classic look (raised arrow
// buttons and thumb on a dithered track) or the common controls' flat look.
#include <algorithm>

#include "platform/ui/form_window.h"
#include "platform/ui/scroll_bar_geometry.h"
#include "platform/ui/win_control.h"

namespace {

void drawArrow(TCanvas& canvas, const TRect& r, int direction /*0 up 1 down 2 left 3 right*/) {
  int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  canvas.Pen.SetColor(clBtnText);
  canvas.Brush.SetColor(clBtnText);
  for (int i = 0; i < 4; ++i) {
    switch (direction) {
      case 0: canvas.FillRect({cx - i, cy - 2 + i, cx + i + 1, cy - 1 + i}); break;
      case 1: canvas.FillRect({cx - 3 + i, cy - 1 + i, cx + 4 - i, cy + i}); break;
      case 2: canvas.FillRect({cx - 2 + i, cy - i, cx - 1 + i, cy + i + 1}); break;
      default: canvas.FillRect({cx - 1 + i, cy - 3 + i, cx + i, cy + 4 - i}); break;
    }
  }
}

void drawButton(TCanvas& canvas, const TRect& r, bool flat) {
  canvas.Brush.SetColor(clBtnFace);
  canvas.Brush.SetStyle(bsSolid);
  canvas.FillRect(r);
  if (!flat) canvas.DrawEdge(r, EDGE_RAISED, BF_RECT);
}

void drawBar(TCanvas& canvas, const TScrollBarParts& parts, const TScrollInfo& info, bool vertical) {
  // The track is the 50% dither of button face and highlight, as classic Windows draws it.
  const TRect& track = parts.track;
  for (int y = track.Top; y < track.Bottom; ++y)
    for (int x = track.Left; x < track.Right; ++x)
      canvas.SetPixels(x, y, ((x + y) & 1) ? clBtnHighlight : clBtnFace);
  drawButton(canvas, parts.first, info.Flat);
  drawButton(canvas, parts.second, info.Flat);
  drawArrow(canvas, parts.first, vertical ? 0 : 2);
  drawArrow(canvas, parts.second, vertical ? 1 : 3);
  if (!parts.thumb.IsEmpty()) drawButton(canvas, parts.thumb, info.Flat);
}
}  // namespace

TScrollBarParts ScrollBarParts(const TWinControl& control, TScrollBarKind kind) {
  TRect in = control.NonClientInsets();
  const TScrollInfo& v = control.GetScrollInfo(sbVertical);
  const TScrollInfo& h = control.GetScrollInfo(sbHorizontal);
  int right = control.Width() - in.Right, bottom = control.Height() - in.Bottom;
  bool vertical = kind == sbVertical;
  const TScrollInfo& info = vertical ? v : h;
  TScrollBarParts p;
  if (!info.Visible) return p;
  p.bar = vertical ? TRect{right - kScrollBarSize, in.Top, right, bottom - (h.Visible ? kScrollBarSize : 0)}
                   : TRect{in.Left, bottom - kScrollBarSize, right - (v.Visible ? kScrollBarSize : 0), bottom};
  const TRect& r = p.bar;
  int length = vertical ? r.Height() : r.Width();
  int arrow = std::min(kScrollBarSize, length / 2);
  p.first = vertical ? TRect{r.Left, r.Top, r.Right, r.Top + arrow} : TRect{r.Left, r.Top, r.Left + arrow, r.Bottom};
  p.second = vertical ? TRect{r.Left, r.Bottom - arrow, r.Right, r.Bottom} : TRect{r.Right - arrow, r.Top, r.Right, r.Bottom};
  p.track = vertical ? TRect{r.Left, p.first.Bottom, r.Right, p.second.Top} : TRect{p.first.Right, r.Top, p.second.Left, r.Bottom};
  int range = info.Max - info.Min + 1;
  int trackLength = vertical ? p.track.Height() : p.track.Width();
  if (range <= 0 || trackLength <= 8 || (info.Page > 0 && info.Page >= range)) return p;
  // The thumb is as long as the page is of the range, but never shorter than 8 pixels.
  int thumb = info.Page > 0 ? std::max(8, trackLength * info.Page / range) : kScrollBarSize;
  thumb = std::min(thumb, trackLength);
  int span = std::max(1, range - std::max(info.Page, 1));
  int offset = (trackLength - thumb) * (info.Pos - info.Min) / span;
  p.thumb = vertical ? TRect{r.Left, p.track.Top + offset, r.Right, p.track.Top + offset + thumb}
                     : TRect{p.track.Left + offset, r.Top, p.track.Left + offset + thumb, r.Bottom};
  return p;
}

int ScrollPosFromThumb(const TScrollInfo& info, const TScrollBarParts& parts, bool vertical, int thumbStart) {
  int trackLength = vertical ? parts.track.Height() : parts.track.Width();
  int thumb = vertical ? parts.thumb.Height() : parts.thumb.Width();
  int free = std::max(1, trackLength - thumb);
  int range = info.Max - info.Min + 1;
  int span = std::max(1, range - std::max(info.Page, 1));
  thumbStart = std::clamp(thumbStart, 0, free);
  return info.Min + (thumbStart * span + free / 2) / free;
}

void PaintScrollBars(TWinControl& control, TCanvas& canvas) {
  TScrollBarParts v = ScrollBarParts(control, sbVertical);
  TScrollBarParts h = ScrollBarParts(control, sbHorizontal);
  if (!v.bar.IsEmpty()) drawBar(canvas, v, control.GetScrollInfo(sbVertical), true);
  if (!h.bar.IsEmpty()) drawBar(canvas, h, control.GetScrollInfo(sbHorizontal), false);
  if (!v.bar.IsEmpty() && !h.bar.IsEmpty()) {
    canvas.Brush.SetColor(clBtnFace);
    canvas.FillRect({v.bar.Left, h.bar.Top, v.bar.Right, h.bar.Bottom});
  }
}
