#include "flat/flat_radio_button.h"

#include <algorithm>

#include "flat/hsl.h"
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

void TFlatRadioButton::setColors(int index, TColor value) {
  TColor* slots[] = {&colorFocused_, &colorDown_, &colorDot_, &colorBorder_};
  if (*slots[index] == value) return;
  *slots[index] = value;
  Invalidate();
}

void TFlatRadioButton::setAdvColors(int index, TAdvColors value) {
  value = std::clamp(value, 0, 100);
  TAdvColors* slots[] = {&advColorFocused_, &advColorDown_, &advColorBorder_};
  if (*slots[index] == value) return;
  *slots[index] = value;
  calcAdvColors();
  Invalidate();
}

void TFlatRadioButton::calcAdvColors() {
  if (!useAdvColors_) return;
  colorFocused_ = ShiftLightness(Color(), colorFocused_, advColorFocused_, false);
  colorDown_ = ShiftLightness(Color(), colorDown_, advColorDown_, true);
  colorBorder_ = ShiftLightness(Color(), colorBorder_, advColorBorder_, true);
}

void TFlatRadioButton::SetUseAdvColors(bool value) {
  if (useAdvColors_ == value) return;
  useAdvColors_ = value;
  SetParentColor(value);
  calcAdvColors();
  Invalidate();
}

void TFlatRadioButton::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Invalidate();
}

void TFlatRadioButton::SetLayout(TRadioButtonLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

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
  if (useAdvColors_) {
    SetParentColor(true);
    calcAdvColors();
  }
  Invalidate();
}

void TFlatRadioButton::CMSysColorChange() {
  TCustomControl::CMSysColorChange();
  if (useAdvColors_) {
    SetParentColor(true);
    calcAdvColors();
  }
  Invalidate();
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
  canvas.Pen.SetColor(colorBorder_);
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(focused_ || hot_ ? (pressed_ ? colorDown_ : colorFocused_) : Color());
  canvas.Ellipse(circle);
  if (checked_) {
    TColor dot = Enabled() ? colorDot_ : clBtnShadow;
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
