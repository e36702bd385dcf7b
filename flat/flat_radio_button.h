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

  TColor ColorFocused() const { return colorFocused_; }
  void SetColorFocused(TColor value) { setColors(0, value); }
  TColor ColorDown() const { return colorDown_; }
  void SetColorDown(TColor value) { setColors(1, value); }
  TColor ColorDot() const { return colorDot_; }
  void SetColorDot(TColor value) { setColors(2, value); }
  TColor ColorBorder() const { return colorBorder_; }
  void SetColorBorder(TColor value) { setColors(3, value); }
  TAdvColors AdvColorFocused() const { return advColorFocused_; }
  void SetAdvColorFocused(TAdvColors value) { setAdvColors(0, value); }
  TAdvColors AdvColorDown() const { return advColorDown_; }
  void SetAdvColorDown(TAdvColors value) { setAdvColors(1, value); }
  TAdvColors AdvColorBorder() const { return advColorBorder_; }
  void SetAdvColorBorder(TAdvColors value) { setAdvColors(2, value); }
  bool UseAdvColors() const { return useAdvColors_; }
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
  void setColors(int index, TColor value);
  void setAdvColors(int index, TAdvColors value);
  void calcAdvColors();
  void mouseEnterStep();
  void mouseLeaveStep();
  // Paints circle and dot on canvas (steps 2 to 4 of Paint).
  void paintCircle(TCanvas& canvas);
  // Redraws the circle at once on the control's canvas.
  void drawCircle();

  bool transparent_ = false;
  bool checked_ = false;
  TColor colorFocused_ = clWhite;
  TColor colorDown_ = FlatDownColor;
  TColor colorDot_ = clBlack;
  TColor colorBorder_ = FlatBorderColor;
  TAdvColors advColorFocused_ = 10;  // 0..100
  TAdvColors advColorDown_ = 10;
  TAdvColors advColorBorder_ = 50;
  bool useAdvColors_ = false;
  int groupIndex_ = 0;
  TRadioButtonLayout layout_ = radioLeft;

  bool hot_ = false;      // mouse over it
  bool pressed_ = false;  // left button held on it
  bool focused_ = false;  // has the keyboard focus
};
