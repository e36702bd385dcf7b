// The anchor's picture and shape (anchor_picture.h).
#include "treelist/anchor_picture.h"

#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

namespace {

constexpr int kCentre = kqlAnchorPictureSize / 2;

// A solid triangle pointing away from the centre: dx, dy give the direction.
void triangle(TCanvas& canvas, int dx, int dy) {
  const int tip = 12, base = 6, half = 4;  // distances from the centre; half the base's width
  auto at = [&](int along, int across) {
    return TPoint{kCentre + dx * along + dy * across, kCentre + dy * along + dx * across};
  };
  canvas.Polygon({at(tip, 0), at(base, half), at(base, -half)});
}

}  // namespace

void DrawAnchorPicture(TBitmap& picture, bool horizontalBar, bool verticalBar) {
  if (!horizontalBar && !verticalBar) horizontalBar = verticalBar = true;
  picture.SetSize(kqlAnchorPictureSize, kqlAnchorPictureSize);
  TCanvas& canvas = picture.Canvas();
  canvas.Brush.SetColor(clWindow);
  canvas.FillRect({0, 0, kqlAnchorPictureSize, kqlAnchorPictureSize});
  // The frame: the shape's own edge pixels (those with a side neighbour outside it), so the
  // window's elliptic shape never cuts it away.
  const TRegion shape = AnchorShape();
  for (int y = 0; y < kqlAnchorPictureSize; ++y)
    for (int x = 0; x < kqlAnchorPictureSize; ++x)
      if (shape.Contains({x, y}) &&
          (!shape.Contains({x - 1, y}) || !shape.Contains({x + 1, y}) ||
           !shape.Contains({x, y - 1}) || !shape.Contains({x, y + 1})))
        picture.SetPixel(x, y, clWindowText);
  canvas.Pen.SetColor(clWindowText);
  canvas.Brush.SetColor(clWindowText);
  canvas.Ellipse(kCentre - 2, kCentre - 2, kCentre + 2, kCentre + 2);  // the anchor point
  if (verticalBar) {
    triangle(canvas, 0, -1);
    triangle(canvas, 0, 1);
  }
  if (horizontalBar) {
    triangle(canvas, -1, 0);
    triangle(canvas, 1, 0);
  }
}

TRegion AnchorShape() {
  return TRegion::Elliptic({0, 0, kqlAnchorPictureSize, kqlAnchorPictureSize});
}
