#pragma once
// The anchor of anchor scrolling as a picture: a round mark centred where the middle button
// was pressed, showing which ways the grid can scroll from there (up and down, left and
// right, or all four). The window that shows it is shaped by AnchorShape, an ellipse the size
// of the picture; the picture's own 1-pixel frame in the window-text colour runs along that
// ellipse.
#include "platform/gfx/region.h"

class TBitmap;

inline constexpr int kqlAnchorPictureSize = 32;

// Draws the anchor for the scroll bars the grid has (at least one; none reads as both).
void DrawAnchorPicture(TBitmap& picture, bool horizontalBar, bool verticalBar);
// The anchor window's shape in the picture's coordinates.
TRegion AnchorShape();
