#include "tests/support/synthetic_input.h"

#include "platform/ui/services.h"

namespace input {

namespace {

// The buttons the synthetic mouse holds down. Nothing is held while no control holds the
// mouse (the form lets go of it once every button is up), so a test that ends with a button
// down leaves nothing behind for the next one.
TShiftState& HeldButtons() {
  static TShiftState held;
  return held;
}

TShiftStateItem ButtonItem(TMouseButton button) {
  return button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
}

// Mouse input of kind at a client point of control, through the control's form; the message
// carries the modifiers and the buttons held after it.
void Mouse(TMouseMessageKind kind, const TControl& control, int x, int y, TShiftState shift,
           TMouseButton button) {
  TCustomForm& form = *control.GetParentForm();
  TShiftState& held = HeldButtons();
  if (!form.CaptureControl()) held = {};
  if (kind == mmDown || kind == mmDblClick) held.include(ButtonItem(button));
  if (kind == mmUp) held.exclude(ButtonItem(button));
  form.HandleMouse(kind, button, control.ClientToForm({x, y}), shift + held);
}

}  // namespace

void Press(const TControl& control, int x, int y, TShiftState shift, TMouseButton button) {
  Mouse(mmDown, control, x, y, shift, button);
}

void Move(const TControl& control, int x, int y, TShiftState shift) {
  Mouse(mmMove, control, x, y, shift, mbLeft);
}

void Release(const TControl& control, int x, int y, TShiftState shift, TMouseButton button) {
  Mouse(mmUp, control, x, y, shift, button);
}

void DoubleClick(const TControl& control, int x, int y, TShiftState shift, TMouseButton button) {
  Mouse(mmDblClick, control, x, y, shift, button);
}

void Click(const TControl& control, int x, int y, TShiftState shift) {
  Move(control, x, y, shift);
  Press(control, x, y, shift);
  Release(control, x, y, shift);
}

void Wheel(const TControl& control, int x, int y, int delta, TShiftState shift) {
  control.GetParentForm()->HandleWheel(delta, control.ClientToForm({x, y}), shift);
}

void CursorTo(const TControl& control, int x, int y) {
  CursorToScreen(control.ClientToScreen({x, y}));
}

void CursorToScreen(TPoint screenPos) { SetCursorPos(screenPos); }

bool KeyDown(TCustomForm& form, uint16_t key, TShiftState shift) {
  return form.HandleKeyDown(key, shift);
}

void KeyPress(TCustomForm& form, char32_t ch) { form.HandleChar(ch); }

void KeyUp(TCustomForm& form, uint16_t key, TShiftState shift) { form.HandleKeyUp(key, shift); }

}  // namespace input
