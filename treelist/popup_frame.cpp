#include "treelist/popup_frame.h"

#include "platform/ui/services.h"
#include "platform/ui/win_control.h"
#include "treelist/edit_style.h"

namespace {

// Draws the frame inside rect and shrinks rect to what the frame leaves.
void drawFrameEdges(TCanvas& canvas, TRect& rect, int frameKind) {
  switch (frameKind) {
    case kPopupFrameMono:
      canvas.DrawEdge(rect, BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_ADJUST);
      break;
    case kPopupFrameDeep:
      canvas.DrawEdge(rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
      canvas.DrawEdge(rect, BDR_SUNKENINNER, BF_RECT | BF_FLAT | BF_ADJUST);
      canvas.DrawEdge(rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
      break;
    case kPopupFrameRaised: canvas.DrawEdge(rect, EDGE_RAISED, BF_RECT | BF_ADJUST); break;
    default: break;
  }
}

TRect withoutShadow(const TRect& rect, int shadowSize, bool withShadow) {
  if (!withShadow) return rect;
  return {rect.Left, rect.Top, rect.Right - shadowSize, rect.Bottom - shadowSize};
}

}  // namespace

void DrawPopupShadow(TCanvas& canvas, const TRect& shadowRect, int size, const TBrush& brush) {
  TCanvasStateGuard guard(canvas);
  canvas.Brush.Assign(brush);
  canvas.FillRect({shadowRect.Left, shadowRect.Bottom - size, shadowRect.Right, shadowRect.Bottom});
  canvas.FillRect({shadowRect.Right - size, shadowRect.Top, shadowRect.Right, shadowRect.Bottom});
}

void DrawPopupFrame(TCanvas& canvas, const TRect& rect, int frameKind, int shadowSize,
                    bool withShadow, bool withSizeGrip) {
  TRect frame = withoutShadow(rect, shadowSize, withShadow);
  TRect inside = frame;
  drawFrameEdges(canvas, inside, frameKind);
  if (withShadow)
    DrawPopupShadow(canvas, frame.Offset(shadowSize, shadowSize), shadowSize, ShadowBrush());
  if (withSizeGrip) {
    TCanvasStateGuard guard(canvas);
    canvas.Brush.SetColor(clBtnFace);
    canvas.FillRect({inside.Right - GetSystemMetrics(SM_CXVSCROLL),
                     inside.Bottom - GetSystemMetrics(SM_CYHSCROLL), inside.Right, inside.Bottom});
  }
}

void DrawPopupWindowFrame(const TWinControl& window, TCanvas& canvas, int frameKind, int shadowSize,
                          bool withShadow, bool withSizeGrip) {
  DrawPopupFrame(canvas, {0, 0, window.Width(), window.Height()}, frameKind, shadowSize, withShadow,
                 withSizeGrip);
}

TRegion PopupShadowRegion(const TRect& windowRect, int shadowSize, bool withShadow) {
  TRect frame = withoutShadow(windowRect, shadowSize, withShadow);
  TRegion region(frame);
  if (withShadow) region.Union(frame.Offset(shadowSize, shadowSize));
  return region;
}
