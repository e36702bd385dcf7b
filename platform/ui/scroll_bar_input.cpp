#include "platform/ui/scroll_bar_input.h"

#include "platform/ui/scroll_bar_geometry.h"
#include "platform/ui/win_control.h"

bool HandleScrollBarMouse(TWinControl& control, TMouseMessageKind kind, TPoint windowPos, TScrollDrag& drag) {
  if (drag.control == &control) {
    bool vertical = drag.bar == sbVertical;
    const TScrollInfo& info = control.GetScrollInfo(drag.bar);
    TScrollBarParts parts = ScrollBarParts(control, drag.bar);
    int along = vertical ? windowPos.Y - parts.track.Top : windowPos.X - parts.track.Left;
    drag.trackPos = ScrollPosFromThumb(info, parts, vertical, along - drag.grabOffset);
    if (kind == mmMove) {
      control.DispatchScroll(drag.bar, SB_THUMBTRACK, drag.trackPos);
    } else if (kind == mmUp) {
      TScrollBarKind bar = drag.bar;
      int pos = drag.trackPos;
      drag = TScrollDrag{};
      control.DispatchScroll(bar, SB_THUMBPOSITION, pos);
      control.DispatchScroll(bar, SB_ENDSCROLL, pos);
    }
    return true;
  }
  if (kind != mmDown && kind != mmDblClick) {
    // Moves and releases over a bar belong to nobody else either.
    for (TScrollBarKind bar : {sbVertical, sbHorizontal})
      if (ScrollBarParts(control, bar).bar.Contains(windowPos)) return true;
    return false;
  }
  for (TScrollBarKind bar : {sbVertical, sbHorizontal}) {
    TScrollBarParts parts = ScrollBarParts(control, bar);
    if (!parts.bar.Contains(windowPos)) continue;
    bool vertical = bar == sbVertical;
    const TScrollInfo& info = control.GetScrollInfo(bar);
    TScrollCode code = SB_ENDSCROLL;
    if (parts.first.Contains(windowPos)) {
      code = SB_LINEUP;
    } else if (parts.second.Contains(windowPos)) {
      code = SB_LINEDOWN;
    } else if (parts.thumb.Contains(windowPos)) {
      drag.control = &control;
      drag.bar = bar;
      drag.grabOffset = vertical ? windowPos.Y - parts.thumb.Top : windowPos.X - parts.thumb.Left;
      drag.trackPos = info.Pos;
      return true;
    } else if (!parts.thumb.IsEmpty()) {
      bool before = vertical ? windowPos.Y < parts.thumb.Top : windowPos.X < parts.thumb.Left;
      code = before ? SB_PAGEUP : SB_PAGEDOWN;
    }
    if (code != SB_ENDSCROLL) {
      control.DispatchScroll(bar, code, info.Pos);
      control.DispatchScroll(bar, SB_ENDSCROLL, info.Pos);
    }
    return true;
  }
  return false;
}
