#pragma once
// The cursors the window system has no shape for, drawn by the platform: the multi-node drag
// and the tree-list grid's drag cursors (control.h). Each is a 32 x 32 picture in black and
// white on its transparent colour, with a hot spot on a drawn pixel:
//
//   cursor                    picture                                   hot spot
//   crMultiDrag               arrow over two stacked pages              arrow tip (0, 0)
//   crqlTLDragCopy            arrow over one page, plus badge           arrow tip (0, 0)
//   crqlTLMultiDragCopy       arrow over two stacked pages, plus badge  arrow tip (0, 0)
//   crqlTLDelete              arrow with a cross badge                  arrow tip (0, 0)
//   crqlTL...Scroll           a dot with the directions it can scroll   the dot (15, 15)
//                             (four, left and right, up and down, one)
//
// The toolkit side turns the picture into a cursor (qt_cursors.cpp).
#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

inline constexpr int kDrawnCursorSize = 32;

struct TDrawnCursor {
  TBitmap Picture;  // kDrawnCursorSize square; its TransparentColor() is see-through
  TPoint HotSpot;   // in the picture; always an opaque pixel
};

// The drawn shape of a cursor from the table above; nothing for any other cursor.
std::optional<TDrawnCursor> DrawnCursor(TCursor cursor);
