// The drop arrows' picture (drop_arrows.h).
#include "treelist/drop_arrows.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

namespace {

// An arrow's outline, pointing down from top (tipDown) or up to top + 8: a shaft 5 pixels wide
// over 3 rows, then a head narrowing by 2 pixels a row from 11 to 1.
std::vector<TPoint> arrowOutline(int top, bool tipDown) {
  const int last = kqlDropArrowHeight - 1;
  auto y = [&](int row) { return tipDown ? top + row : top + last - row; };
  return {{3, y(0)}, {7, y(0)}, {7, y(3)}, {10, y(3)}, {5, y(8)}, {0, y(3)}, {3, y(3)}};
}

}  // namespace

void DrawDropArrows(TBitmap& picture, int rowHeight, TColor arrowsColor, TColor transparent) {
  const int height = 2 * kqlDropArrowHeight + std::max(0, rowHeight);
  picture.SetSize(kqlDropArrowWidth, height);
  TCanvas& canvas = picture.Canvas();
  canvas.Brush.SetColor(transparent);
  canvas.FillRect({0, 0, kqlDropArrowWidth, height});
  canvas.Pen.SetColor(clBlack);
  canvas.Brush.SetColor(arrowsColor);
  canvas.Polygon(arrowOutline(0, true));
  canvas.Polygon(arrowOutline(height - kqlDropArrowHeight, false));
}
