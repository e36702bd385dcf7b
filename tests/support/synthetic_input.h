#pragma once
// Synthetic mouse and key input, handed to a form the way the window system hands it real
// input: the form routes it (mouse capture, the control under the point, the focused
// control). Mouse points are in the client coordinates of the control given; shift holds the
// modifier keys (ssShift, ssCtrl, ssAlt); each message adds the buttons held after it, as the
// window system reports a real mouse.
#include <cstdint>

#include "platform/ui/form.h"

namespace input {

// A button goes down; it is held (ssLeft, ssRight, ssMiddle) until released.
void Press(const TControl& control, int x, int y, TShiftState shift = {},
           TMouseButton button = mbLeft);
// The mouse moves with the held buttons.
void Move(const TControl& control, int x, int y, TShiftState shift = {});
// A button comes up.
void Release(const TControl& control, int x, int y, TShiftState shift = {},
             TMouseButton button = mbLeft);
// The second press of a double click.
void DoubleClick(const TControl& control, int x, int y, TShiftState shift = {},
                 TMouseButton button = mbLeft);
// Move there, press and release the left button.
void Click(const TControl& control, int x, int y, TShiftState shift = {});
// The wheel turns by delta (120 a notch, positive away from the user) over a point.
void Wheel(const TControl& control, int x, int y, int delta, TShiftState shift = {});

// Puts the cursor over a client point of control without telling anybody, as the user
// moving the mouse between two timer ticks.
void CursorTo(const TControl& control, int x, int y);
void CursorToScreen(TPoint screenPos);

// Keys go to the form's focused control. KeyDown returns whether the key was consumed.
bool KeyDown(TCustomForm& form, uint16_t key, TShiftState shift = {});
// The character a key stroke types.
void KeyPress(TCustomForm& form, char32_t ch);
void KeyUp(TCustomForm& form, uint16_t key, TShiftState shift = {});

}  // namespace input
