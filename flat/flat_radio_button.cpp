#include "flat/flat_radio_button.h"

#include "platform/ui/services.h"

HoverTracker& TFlatRadioButton::ClassHoverTracker() {
  static HoverTracker tracker;
  return tracker;
}

TFlatRadioButton::TFlatRadioButton(TComponent* AOwner) : TCustomControl(AOwner) {
  ClassHoverTracker().AddInstance();
  // No csClickEvents: OnClick comes from checking, never from the framework's click.
  SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 121, 17);
  SetParentColor(true);
}

TFlatRadioButton::~TFlatRadioButton() { ClassHoverTracker().RemoveInstance(this); }

// --- properties -------------------------------------------------------------------------------

void TFlatRadioButton::setShift(TAdvColors& shift, TAdvColors value) {
  if (colors_.SetShift(shift, value, Color())) Invalidate();
}

void TFlatRadioButton::SetUseAdvColors(bool value) {
  if (!StoreChanged(colors_.UseAdv, value)) return;
  SetParentColor(value);
  colors_.Derive(Color());
  Invalidate();
}

void TFlatRadioButton::SetTransparent(bool value) { SetAndInvalidate(transparent_, value); }

void TFlatRadioButton::SetLayout(TRadioButtonLayout value) { SetAndInvalidate(layout_, value); }

void TFlatRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  SetTabStop(value);
  checked_ = value;
  if (value) {
    if (TWinControl* parent = Parent()) {
      for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TFlatRadioButton*>(parent->Controls(i));
        if (sibling && sibling != this && sibling->groupIndex_ == groupIndex_)
          sibling->SetChecked(false);
      }
    }
    Click();
  }
  drawCircle();
}

// --- mouse ------------------------------------------------------------------------------------

void TFlatRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft || !Enabled()) return;  // not even OnMouseDown
  if (CanFocus()) SetFocus();
  pressed_ = true;
  drawCircle();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TFlatRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft || !Enabled()) return;
  pressed_ = false;
  // Both edges count as inside: x = width and y = height still check the button.
  bool inside = X >= 0 && X <= ClientWidth() && Y >= 0 && Y <= ClientHeight();
  if (inside && !checked_) SetChecked(true);
  drawCircle();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TFlatRadioButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  ClassHoverTracker().Track(this, ClientToScreen({X, Y}), [this] { mouseEnterStep(); },
                            [this] { mouseLeaveStep(); });
}

void TFlatRadioButton::mouseEnterStep() {
  if (!Enabled() || hot_) return;
  hot_ = true;
  drawCircle();
}

void TFlatRadioButton::mouseLeaveStep() {
  if (!Enabled() || !hot_ || pressed_) return;
  hot_ = false;
  ClassHoverTracker().StopTracking(this);
  drawCircle();
}

// --- focus, keys, enabling --------------------------------------------------------------------

void TFlatRadioButton::WMSetFocus() {
  TCustomControl::WMSetFocus();
  if (!Enabled()) return;
  focused_ = true;
  drawCircle();
}

void TFlatRadioButton::WMKillFocus() {
  TCustomControl::WMKillFocus();
  if (!Enabled()) return;
  hot_ = false;
  focused_ = false;
  drawCircle();
}

void TFlatRadioButton::CMEnter() {
  TCustomControl::CMEnter();
  focused_ = true;
  drawCircle();
}

void TFlatRadioButton::CMExit() {
  TCustomControl::CMExit();
  focused_ = false;
  drawCircle();
}

bool TFlatRadioButton::CMDialogChar(char32_t ch) {
  // The accelerator only moves the focus here; it does not check the button.
  if (IsAccel(ch, Caption()) && CanFocus()) {
    SetFocus();
    return true;
  }
  return TCustomControl::CMDialogChar(ch);
}

void TFlatRadioButton::CMEnabledChanged() {
  TCustomControl::CMEnabledChanged();
  if (!Enabled()) {
    hot_ = false;
    pressed_ = false;
    ClassHoverTracker().StopTracking(this);
  }
  Invalidate();
}

void TFlatRadioButton::CMParentColorChanged() {
  TCustomControl::CMParentColorChanged();
  colors_.FollowColorChange(*this);
}

void TFlatRadioButton::CMSysColorChange() {
  TCustomControl::CMSysColorChange();
  colors_.FollowColorChange(*this);
}

void TFlatRadioButton::WMSize() {
  TCustomControl::WMSize();
  if (transparent_) Invalidate();
}

void TFlatRadioButton::WMMove() {
  TCustomControl::WMMove();
  if (transparent_) Invalidate();
}

// --- painting ---------------------------------------------------------------------------------

TRect TFlatRadioButton::CircleRect() const {
  TRect client = ClientRect();
  if (layout_ == radioLeft) return {client.Left + 1, client.Top + 3, client.Left + 11, client.Top + 13};
  return {client.Right - 11, client.Top + 3, client.Right - 1, client.Top + 13};
}

void TFlatRadioButton::paintCircle(TCanvas& canvas) {
  TRect circle = CircleRect();
  canvas.Pen.SetStyle(psSolid);
  canvas.Pen.SetWidth(1);
  canvas.Pen.SetColor(colors_.Border);
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(focused_ || hot_ ? (pressed_ ? colors_.Down : colors_.Focused) : Color());
  canvas.Ellipse(circle);
  if (checked_) {
    TColor dot = Enabled() ? colors_.Dot : clBtnShadow;
    canvas.Brush.SetColor(dot);
    canvas.Pen.SetColor(dot);
    canvas.Ellipse(circle.Left + 3, circle.Top + 3, circle.Left + 7, circle.Top + 7);
  }
}

void TFlatRadioButton::drawCircle() { paintCircle(Canvas()); }

void TFlatRadioButton::Paint() {
  TCanvas& canvas = Canvas();
  // Not transparent: the framework's erase step has laid down Color already.
  if (transparent_) PaintParentBackground(*this, canvas);
  paintCircle(canvas);

  TRect client = ClientRect();
  TRect textRect;
  unsigned flags = DT_WORDBREAK;  // from the top of the rectangle, not vertically centred
  if (layout_ == radioLeft) {
    textRect = {client.Left + 16, client.Top + 1, client.Right - 1, client.Bottom - 1};
    flags |= DT_LEFT;
  } else {
    textRect = {client.Left + 1, client.Top + 1, client.Right - 16, client.Bottom - 1};
    flags |= DT_RIGHT;
  }
  canvas.Brush.SetStyle(bsClear);
  canvas.Font = Font();
  if (!Enabled()) {
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(Caption(), textRect.Offset(1, 1), flags);
    canvas.Font.SetColor(clBtnShadow);
  }
  canvas.DrawText(Caption(), textRect, flags);
}
