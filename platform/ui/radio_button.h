#pragma once
// TRadioButton: the standard radio button in the classic Windows look, drawn through the
// canvas: a 12 x 12 circle at the left, vertically centred, and the caption after it.
//
// Picture (client W x H; the circle's box at (0, (H - 12) / 2)):
//   circle   the outer ring clBtnShadow on its upper-left half and clBtnHighlight on its
//            lower-right half, the inner ring cl3DDkShadow / clBtnFace the same way, the
//            inside clWindow (clBtnFace while pushed or disabled); the pixel map is
//            kClassicRadioMask in the .cpp
//   dot      checked: a 4 x 4 dot without corners at (4, 4) of the box in clWindowText
//            (clBtnShadow when disabled)
//   caption  one line from x = 16, vertically centred, '&' marks the accelerator; disabled:
//            embossed (clBtnHighlight at +1, +1 under clBtnShadow)
//   focus    a dotted focus rectangle round the caption's text, one pixel wider on each
//            side, kept inside the client area
//
// Behaviour: checking one radio button unchecks the radio buttons of the same parent
// (SetChecked is the one place where that happens) and raises OnClick; only the checked
// button is a tab stop. A left press takes the focus and shows the button pushed while the
// mouse stays on it; releasing on it checks it. Space pushes it and checks on release. The
// arrow keys move the focus to the previous (Left, Up) or next (Right, Down) enabled radio
// button of the same parent in tab order, wrapping, and check it. The caption's accelerator
// (when the focused control does not take characters) focuses and checks it.
#include <string>

#include "platform/ui/win_control.h"

class TRadioButton : public TCustomControl {
 public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  // The pushed look is showing (mouse held on it, or Space held).
  bool IsPushed() const { return (mouseHeld_ && mouseInside_) || spaceHeld_; }
  // The circle's box and the caption's text rectangle in client coordinates.
  TRect CircleRect() const;
  TRect CaptionRect() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  int WMGetDlgCode() override;
  bool CMDialogChar(char32_t ch) override;
  void WMSetFocus() override { Invalidate(); }
  void WMKillFocus() override;
  void WMCancelMode() override;
  void CMEnabledChanged() override;

 private:
  void paintCircle(TCanvas& canvas, TPoint origin) const;
  // The neighbouring radio button of the same parent in tab order (forward or back,
  // wrapping) that can take the focus; null when there is none.
  TRadioButton* neighbour(bool forward) const;

  bool checked_ = false;
  bool mouseHeld_ = false;    // the left button went down on it and is still held
  bool mouseInside_ = false;  // ... and the mouse is over it
  bool spaceHeld_ = false;    // Space went down while focused
};
