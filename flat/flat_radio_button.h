#pragma once
// TFlatRadioButton: a radio button drawn as a small flat circle with a dot, beside a
// word-wrapped caption. Checking one unchecks the flat radio buttons of the same parent and
// GroupIndex (the Checked setter is the one place where that happens).
//
// The circle is 10 x 10 pixels, 3 below the top of the client area, 1 in from the left
// (radioLeft) or right (radioRight) edge; it does not follow the control's height. Its fill
// shows the flags: ColorDown while pressed and focused or hot, ColorFocused while focused or
// hot, Color otherwise. Painting goes straight to the control's canvas; the circle alone is
// redrawn at once when a flag changes.
//
// Only the checked button of a group is a tab stop; no key checks a radio button.
#include <string>

#include "flat/flat_utils.h"
#include "platform/ui/win_control.h"

class TFlatRadioButton : public TCustomControl {
 public:
  explicit TFlatRadioButton(TComponent* AOwner);
  ~TFlatRadioButton() override;

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  TColor ColorFocused() const { return colors_.Focused; }
  void SetColorFocused(TColor value) { SetAndInvalidate(colors_.Focused, value); }
  TColor ColorDown() const { return colors_.Down; }
  void SetColorDown(TColor value) { SetAndInvalidate(colors_.Down, value); }
  TColor ColorDot() const { return colors_.Dot; }
  void SetColorDot(TColor value) { SetAndInvalidate(colors_.Dot, value); }
  TColor ColorBorder() const { return colors_.Border; }
  void SetColorBorder(TColor value) { SetAndInvalidate(colors_.Border, value); }
  TAdvColors AdvColorFocused() const { return colors_.AdvFocused; }
  void SetAdvColorFocused(TAdvColors value) { setShift(colors_.AdvFocused, value); }
  TAdvColors AdvColorDown() const { return colors_.AdvDown; }
  void SetAdvColorDown(TAdvColors value) { setShift(colors_.AdvDown, value); }
  TAdvColors AdvColorBorder() const { return colors_.AdvBorder; }
  void SetAdvColorBorder(TAdvColors value) { setShift(colors_.AdvBorder, value); }
  bool UseAdvColors() const { return colors_.UseAdv; }
  void SetUseAdvColors(bool value);

  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  TRadioButtonLayout Layout() const { return layout_; }
  void SetLayout(TRadioButtonLayout value);

  // The circle's rectangle in client coordinates.
  TRect CircleRect() const;

  // Inspection for tests and the gallery.
  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }
  bool FocusedLook() const { return focused_; }
  static HoverTracker& ClassHoverTracker();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void CMEnter() override;
  void CMExit() override;
  bool CMDialogChar(char32_t ch) override;
  void CMEnabledChanged() override;
  void CMParentColorChanged() override;
  void CMSysColorChange() override;
  void WMSize() override;
  void WMMove() override;

 private:
  // Stores a lightness shift and, on a change, derives the advanced colours from Color.
  void setShift(TAdvColors& shift, TAdvColors value);
  void mouseEnterStep();
  void mouseLeaveStep();
  // Paints the circle and, when checked, its dot on canvas: the outline in ColorBorder, the
  // fill by the flags (see the top of this file), then a 4 x 4 dot 3 pixels inside the
  // circle's box, in ColorDot (clBtnShadow when disabled). Paint calls it between the
  // background and the caption; drawCircle calls it alone.
  void paintCircle(TCanvas& canvas);
  // Redraws the circle at once on the control's canvas.
  void drawCircle();

  bool transparent_ = false;
  bool checked_ = false;
  FlatColors colors_{.Focused = clWhite};
  int groupIndex_ = 0;
  TRadioButtonLayout layout_ = radioLeft;

  bool hot_ = false;      // mouse over it
  bool pressed_ = false;  // left button held on it
  bool focused_ = false;  // has the keyboard focus
};
