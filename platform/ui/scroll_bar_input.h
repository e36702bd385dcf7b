#pragma once
// Mouse input on a window's scroll bars: arrows scroll by a line, the track by a page, and
// dragging the thumb sends track positions, as the window system's scroll bars do.
#include "platform/ui/messages.h"

class TWinControl;

struct TScrollDrag {
  TWinControl* control = nullptr;  // non-owning; set while the thumb is dragged
  TScrollBarKind bar = sbVertical;
  int grabOffset = 0;  // pixels from the thumb's start to where it was grabbed
  int trackPos = 0;
};

// Handles a mouse message at a point of the control's window (origin at the window's
// top-left); returns false when the point is not on a visible scroll bar and no drag runs.
bool HandleScrollBarMouse(TWinControl& control, TMouseMessageKind kind, TPoint windowPos,
                          TScrollDrag& drag);
