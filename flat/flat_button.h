#pragma once
// TFlatButton: a flat push button with an optional glyph, usable as a grouped toggle.
//
// Look: a plain face (a colour or the parent's image, by TransparentMode) with a one-pixel
// border at rest (two with Default), a raised bevel while hot (mouse over it or focused) and
// a sunken bevel while pressed. Every paint builds the picture in an off-screen bitmap and
// copies it in one go.
//
// Button state vs hot: the state (up, disabled, down, exclusive) says whether the button is
// pressed; hot is independent of it and drives face and border at rest. Hot comes from the
// class's HoverTracker and from the focus, never from the window system's enter/leave
// notifications (those only raise OnMouseEnter / OnMouseLeave).
//
// Call flow:
//   press     MouseDown: OnMouseDown, state down, dragging, focus
//   move      MouseMove: OnMouseMove, hover tracking, state follows inside/outside
//   release   MouseUp: OnMouseUp, state / Down by group rules, Click when inside, hover resync
//   groups    SetDown -> CM_BUTTONPRESSED to the parent's controls -> others release
#include <memory>
#include <string>

#include "flat/flat_utils.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/form.h"
#include "platform/ui/win_control.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TFlatButton : public TCustomControl {
 public:
  explicit TFlatButton(TComponent* AOwner);
  ~TFlatButton() override;

  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);

  TColor ColorFocused() const { return colors_.Focused; }
  void SetColorFocused(TColor value) { SetAndInvalidate(colors_.Focused, value); }
  TColor ColorDown() const { return colors_.Down; }
  void SetColorDown(TColor value) { SetAndInvalidate(colors_.Down, value); }
  TColor ColorBorder() const { return colors_.Border; }
  void SetColorBorder(TColor value) { SetAndInvalidate(colors_.Border, value); }
  TColor ColorHighLight() const { return colors_.HighLight; }
  void SetColorHighLight(TColor value) { SetAndInvalidate(colors_.HighLight, value); }
  TColor ColorShadow() const { return colors_.Shadow; }
  void SetColorShadow(TColor value) { SetAndInvalidate(colors_.Shadow, value); }
  TAdvColors AdvColorFocused() const { return colors_.AdvFocused; }
  void SetAdvColorFocused(TAdvColors value) { setShift(colors_.AdvFocused, value); }
  TAdvColors AdvColorDown() const { return colors_.AdvDown; }
  void SetAdvColorDown(TAdvColors value) { setShift(colors_.AdvDown, value); }
  TAdvColors AdvColorBorder() const { return colors_.AdvBorder; }
  void SetAdvColorBorder(TAdvColors value) { setShift(colors_.AdvBorder, value); }
  bool UseAdvColors() const { return colors_.UseAdv; }
  void SetUseAdvColors(bool value);

  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool Down() const { return down_; }
  void SetDown(bool value);

  // One to four equally wide images side by side; copied on assignment.
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);  // >= -1; -1 = automatic; other values are ignored
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);  // -1 = automatic
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Inspection for tests and the gallery.
  TButtonState State() const { return state_; }
  bool Hot() const { return hot_; }
  static HoverTracker& ClassHoverTracker();

  void WndProc(TMessage& msg) override;
  void Click() override;  // sets the form's modal result, then OnClick

 protected:
  void Paint() override;
  void Loaded() override;
  void WMMouse(TWMMouse& msg) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void CMEnabledChanged() override;
  void CMSysColorChange() override;
  void CMParentColorChanged() override;
  void WMSize() override;
  void WMMove() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  bool CMDialogChar(char32_t ch) override;
  void WMSetFocus() override;
  void WMKillFocus() override;

 private:
  // Stores a lightness shift and, on a change, derives the advanced colours from Color.
  void setShift(TAdvColors& shift, TAdvColors value);
  void updateExclusive();  // tells the group that this button went down
  bool inside(int X, int Y) const;
  void mouseEnterStep();
  void mouseLeaveStep();
  void syncHover();
  void paintFace(TCanvas& canvas, const TRect& client);
  void paintGlyph(TCanvas& canvas, TPoint pos);

  TTransparentMode transparentMode_ = tmNone;
  bool default_ = false;
  bool allowAllUp_ = false;
  FlatColors colors_;
  int groupIndex_ = 0;  // 0 = not a toggle
  bool down_ = false;   // only with a non-zero group index
  TBitmap glyph_;
  TButtonLayout layout_ = blGlyphTop;
  int margin_ = -1;   // >= -1
  TNumGlyphs numGlyphs_ = 1;  // 1..4
  int spacing_ = 4;
  TModalResult modalResult_ = mrNone;

  TButtonState state_ = bsUp;
  bool hot_ = false;       // mouse over or focused
  bool dragging_ = false;  // left button went down here and is not released yet
};
