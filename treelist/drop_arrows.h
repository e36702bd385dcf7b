#pragma once
// The drop arrows of a header drag as a picture: two arrows 11 pixels wide, filled with the
// grid's ArrowsColor and outlined in black, one pointing down onto the top of the header row
// a column or band would land in, one pointing up at its bottom. The picture's top-left
// corner goes where the drop target puts the arrows (header_drop_target.h); everything that
// is not an arrow is the transparent colour, so the window that shows it on the screen takes
// its shape from it.
#include "platform/gfx/graphics.h"

class TBitmap;

inline constexpr int kqlDropArrowWidth = 11;
inline constexpr int kqlDropArrowHeight = 9;  // the down arrow's tip is its last row

// Sizes picture to 11 x (9 + rowHeight + 9) and draws both arrows on transparent.
void DrawDropArrows(TBitmap& picture, int rowHeight, TColor arrowsColor, TColor transparent);
