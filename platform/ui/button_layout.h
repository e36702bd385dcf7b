#pragma once
// Where a button's glyph sits relative to its caption (shared by every button with a glyph).
#include "platform/core/types.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonPlacement {
  TPoint GlyphPos;  // top-left of the glyph image, client coordinates
  TPoint TextPos;   // top-left of the caption's bounds
};

// Places a glyph and a caption of the given sizes in a client area of clientSize, as the
// framework's buttons do: both centred across the layout's axis (the odd pixel to the far
// side); along it, margin -1 centres the pair and spacing -1 spreads the free space (margin,
// spacing, margin in equal parts when both are -1). Spacing is 0 when either part is empty.
TButtonPlacement PlaceGlyphAndCaption(TSize clientSize, TSize glyphSize, TSize textSize,
                                      TButtonLayout layout, int spacing, int margin);
