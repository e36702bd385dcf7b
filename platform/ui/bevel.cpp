#include "platform/ui/bevel.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) { SetAndInvalidate(shape_, value); }

void TBevel::SetStyle(TBevelStyle value) { SetAndInvalidate(style_, value); }

void TBevel::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Pen.SetWidth(1);
  canvas.Pen.SetStyle(psSolid);
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;

  // Polylines leave their last point out, so each corner belongs to exactly one colour.
  auto box = [&](const TRect& r, TColor topLeft, TColor bottomRight) {
    canvas.Pen.SetColor(topLeft);
    canvas.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
    canvas.Pen.SetColor(bottomRight);
    canvas.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}});
  };
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    canvas.Pen.SetColor(c);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };

  const int w = Width(), h = Height();
  switch (shape_) {
    case bsBox: box({0, 0, w - 1, h - 1}, first, second); break;
    case bsFrame:
      box({1, 1, w - 1, h - 1}, second, second);
      box({0, 0, w - 2, h - 2}, first, first);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}
