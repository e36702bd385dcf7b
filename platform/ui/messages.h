#pragma once
// The message vocabulary of the control tree: what the windowing layer delivers to controls.
//
// Delivery orders controls rely on (see the message tests):
//   mouse:  press -> move... -> release (click raised inside the release, before OnMouseUp)
//           a double click arrives as: press, release, double-click, release
//   capture: a control with csCaptureMouse gets every mouse message from press to release,
//           wherever the cursor is
//   enter/leave: decided at idle for the topmost control under the cursor, disabled included
//   focus:  old WMKillFocus, new WMSetFocus, then old CMExit (OnExit), new CMEnter (OnEnter)
//   paint:  non-client, erase background (unless csOpaque), paint, then graphic children, then
//           windowed children, each clipped to what the update region leaves of it
#include <cstdint>

#include "platform/core/option_set.h"
#include "platform/core/types.h"

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TOptionSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TMouseMessageKind { mmDown, mmUp, mmMove, mmDblClick };

struct TWMMouse {
  TMouseMessageKind Kind = mmMove;
  TMouseButton Button = mbLeft;  // meaningful for down, up and double click
  TShiftState Shift;             // keys and buttons held (after the change)
  TPoint Pos;                    // client coordinates of the receiving control
};

struct TWMMouseWheel {
  TShiftState Shift;
  int WheelDelta = 0;  // +120 per notch away from the user
  TPoint Pos;          // screen coordinates, as Windows gives them
  bool Handled = false;
};

// 16-bit virtual key codes (Win32 VK_*), as the controls compare them.
enum : uint16_t {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71, VK_F4 = 0x73,
  VK_F10 = 0x79, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_MULTIPLY = 0x6A,
  VK_APPS = 0x5D  // the context-menu key
};

struct TWMKey {
  uint16_t CharCode = 0;  // virtual key; a handler sets 0 to consume the key
  TShiftState Shift;
};

// Answers to the dialog-code query: which keys a control wants for itself.
enum : int {
  DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTCHARS = 0x0080, DLGC_HASSETSEL = 0x0008
};

// Scroll requests (WM_HSCROLL / WM_VSCROLL codes).
enum TScrollCode {
  SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8
};
enum TScrollBarKind { sbHorizontal, sbVertical };

// A notification without a dedicated handler, sent with Perform or broadcast to children
// (for example the flat buttons' "a button of my group went down").
struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Message numbers of TMessage, for the notifications that have no typed handler.
enum : uint32_t {
  CM_BASE = 0xB000,
  CM_BUTTONPRESSED = CM_BASE + 10,  // WParam = group index, LParam = the sender (TControl*)
  CM_FOCUSCHANGED = CM_BASE + 7,    // LParam = the new active control
  WM_USER = 0x0400,
  WM_APP = 0x8000  // the base of a program's private messages
};
