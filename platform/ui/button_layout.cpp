#include "platform/ui/button_layout.h"

TButtonPlacement PlaceGlyphAndCaption(TSize clientSize, TSize glyphSize, TSize textSize,
                                      TButtonLayout layout, int spacing, int margin) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TButtonPlacement p;
  // The cross axis: both centred, the odd pixel going to the far side.
  if (horizontal) {
    p.GlyphPos.Y = (clientSize.cy - glyphSize.cy + 1) / 2;
    p.TextPos.Y = (clientSize.cy - textSize.cy + 1) / 2;
  } else {
    p.GlyphPos.X = (clientSize.cx - glyphSize.cx + 1) / 2;
    p.TextPos.X = (clientSize.cx - textSize.cx + 1) / 2;
  }

  if (textSize.cx == 0 || glyphSize.cx == 0) spacing = 0;

  // Extents along the layout's axis.
  auto along = [horizontal](TSize s) { return horizontal ? s.cx : s.cy; };
  if (margin == -1) {
    if (spacing == -1) {
      int total = along(glyphSize) + along(textSize);
      margin = (along(clientSize) - total) / 3;
      spacing = margin;
    } else {
      int total = along(glyphSize) + spacing + along(textSize);
      margin = (along(clientSize) - total + 1) / 2;
    }
  }
  if (margin >= 0 && spacing == -1)
    spacing = (along(clientSize) - margin - along(glyphSize) - along(textSize)) / 2;

  switch (layout) {
    case blGlyphLeft:
      p.GlyphPos.X = margin;
      p.TextPos.X = p.GlyphPos.X + glyphSize.cx + spacing;
      break;
    case blGlyphRight:
      p.GlyphPos.X = clientSize.cx - margin - glyphSize.cx;
      p.TextPos.X = p.GlyphPos.X - spacing - textSize.cx;
      break;
    case blGlyphTop:
      p.GlyphPos.Y = margin;
      p.TextPos.Y = p.GlyphPos.Y + glyphSize.cy + spacing;
      break;
    case blGlyphBottom:
      p.GlyphPos.Y = clientSize.cy - margin - glyphSize.cy;
      p.TextPos.Y = p.GlyphPos.Y - spacing - textSize.cy;
      break;
  }
  return p;
}
