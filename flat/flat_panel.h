#pragma once
// TFlatPanel: a container with a one-pixel two-colour frame, an optional one-line caption
// and an optional transparent background (the parent's image).
//
// Layout keeps the framework panel's one-pixel raised outer bevel, which is never drawn: the
// area offered to aligned children is inset by one pixel, so an alClient child leaves the
// frame visible. Painting goes through an off-screen bitmap of the client size:
//   background  the parent's image (Transparent) or Color
//   frame       PaintBevelFrame width 1: top and left ColorHighLight, bottom and right
//               ColorShadow (equal by default, so the frame looks flat)
//   caption     one line, vertically centred, aligned by Alignment; embossed when disabled
#include "flat/flat_utils.h"
#include "platform/ui/panel.h"

class TFlatPanel : public TCustomPanel {
 public:
  explicit TFlatPanel(TComponent* AOwner);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TColor ColorHighLight() const { return colorHighLight_; }
  void SetColorHighLight(TColor value) { SetAndInvalidate(colorHighLight_, value); }
  TColor ColorShadow() const { return colorShadow_; }
  void SetColorShadow(TColor value) { SetAndInvalidate(colorShadow_, value); }

 protected:
  void Paint() override;
  void CMEnabledChanged() override;

 private:
  bool transparent_ = false;
  TColor colorHighLight_ = FlatBorderColor;  // top and left frame line
  TColor colorShadow_ = FlatBorderColor;     // bottom and right frame line
};
