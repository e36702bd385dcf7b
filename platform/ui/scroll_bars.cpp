// Drawing of a window's scroll bars in its non-client area: the classic look (raised arrow
// buttons and thumb on a dithered track) or the common controls' flat look.
#include <algorithm>

#include "platform/ui/form_window.h"
#include "platform/ui/win_control.h"

namespace {
constexpr int kBar = 16;  // SM_CXVSCROLL / SM_CYHSCROLL

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

void drawBar(TCanvas& canvas, const TRect& r, const TScrollInfo& info, bool vertical) {
  int length = vertical ? r.Height() : r.Width();
  int arrow = std::min(kBar, length / 2);
  TRect first = vertical ? TRect{r.Left, r.Top, r.Right, r.Top + arrow} : TRect{r.Left, r.Top, r.Left + arrow, r.Bottom};
  TRect second = vertical ? TRect{r.Left, r.Bottom - arrow, r.Right, r.Bottom} : TRect{r.Right - arrow, r.Top, r.Right, r.Bottom};
  TRect track = vertical ? TRect{r.Left, first.Bottom, r.Right, second.Top} : TRect{first.Right, r.Top, second.Left, r.Bottom};
  // The track is the 50% dither of button face and highlight, as classic Windows draws it.
  for (int y = track.Top; y < track.Bottom; ++y)
    for (int x = track.Left; x < track.Right; ++x)
      canvas.SetPixels(x, y, ((x + y) & 1) ? clBtnHighlight : clBtnFace);
  drawButton(canvas, first, info.Flat);
  drawButton(canvas, second, info.Flat);
  drawArrow(canvas, first, vertical ? 0 : 2);
  drawArrow(canvas, second, vertical ? 1 : 3);
  int range = info.Max - info.Min + 1;
  int trackLength = vertical ? track.Height() : track.Width();
  if (range <= 0 || trackLength <= 8 || (info.Page > 0 && info.Page >= range)) return;
  int thumb = info.Page > 0 ? std::max(8, trackLength * info.Page / range) : kBar;
  thumb = std::min(thumb, trackLength);
  int span = std::max(1, range - std::max(info.Page, 1));
  int offset = (trackLength - thumb) * (info.Pos - info.Min) / span;
  TRect t = vertical ? TRect{r.Left, track.Top + offset, r.Right, track.Top + offset + thumb}
                     : TRect{track.Left + offset, r.Top, track.Left + offset + thumb, r.Bottom};
  drawButton(canvas, t, info.Flat);
}
}  // namespace

void PaintScrollBars(TWinControl& control, TCanvas& canvas) {
  TRect in = control.NonClientInsets();
  const TScrollInfo& v = control.GetScrollInfo(sbVertical);
  const TScrollInfo& h = control.GetScrollInfo(sbHorizontal);
  int right = control.Width() - in.Right, bottom = control.Height() - in.Bottom;
  if (v.Visible)
    drawBar(canvas, {right - kBar, in.Top, right, bottom - (h.Visible ? kBar : 0)}, v, true);
  if (h.Visible)
    drawBar(canvas, {in.Left, bottom - kBar, right - (v.Visible ? kBar : 0), bottom}, h, false);
  if (v.Visible && h.Visible) {
    canvas.Brush.SetColor(clBtnFace);
    canvas.FillRect({right - kBar, bottom - kBar, right, bottom});
  }
}
