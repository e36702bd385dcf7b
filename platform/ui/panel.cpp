#include "platform/ui/panel.h"

#include <algorithm>

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas.Pen.SetWidth(1);
  canvas.Pen.SetStyle(psSolid);
  // Work on the inclusive corners, as the framework does, and hand back a half-open rect.
  --rect.Bottom;
  --rect.Right;
  while (width-- > 0) {
    canvas.Pen.SetColor(topColor);
    canvas.Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
    canvas.Pen.SetColor(bottomColor);
    // Ends one pixel left of the bottom-left corner, so that corner takes the bottom colour.
    canvas.Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
    rect = rect.Inflate(-1, -1);
  }
  ++rect.Bottom;
  ++rect.Right;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::geometryChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (StoreChanged(bevelOuter_, value)) geometryChanged();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (StoreChanged(bevelInner_, value)) geometryChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
  if (StoreChanged(bevelWidth_, std::max(1, value))) geometryChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
  if (StoreChanged(borderWidth_, std::max(0, value))) geometryChanged();
}

void TCustomPanel::SetAlignment(TAlignment value) { SetAndInvalidate(alignment_, value); }

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  rect = rect.Inflate(-inset, -inset);
}

void TCustomPanel::PaintFrame(TCanvas& canvas, TRect& rect) {
  auto bevel = [&](TPanelBevel kind) {
    if (kind == bvNone) return;
    TColor top = kind == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = kind == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(canvas, rect, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
}

void TCustomPanel::PaintCaption(TCanvas& canvas, const TRect& rect) {
  if (Caption().empty()) return;
  canvas.Brush.SetStyle(bsClear);
  canvas.Font = Font();
  int fontHeight = canvas.TextHeight("W");
  TRect line = rect;
  line.Top = (rect.Top + rect.Bottom - fontHeight) / 2;
  line.Bottom = line.Top + fontHeight;
  unsigned flags = DT_EXPANDTABS | DT_VCENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  canvas.DrawText(Caption(), line, flags);
}

void TCustomPanel::Paint() {
  TCanvas& canvas = Canvas();
  TRect rect = ClientRect();
  PaintFrame(canvas, rect);
  canvas.Brush.SetColor(Color());
  canvas.Brush.SetStyle(bsSolid);
  canvas.FillRect(rect);
  PaintCaption(canvas, rect);
}
