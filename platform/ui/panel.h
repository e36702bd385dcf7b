#pragma once
// TCustomPanel / TPanel: a container with optional 3-D bevels, a border and a centred caption.
//
// Geometry and painting are separate on purpose: AdjustClientRect (the area aligned children
// share) always insets by BorderWidth plus BevelWidth for each bevel that is not bvNone, while
// Paint is an ordinary virtual. A descendant that draws its own frame (the flat panel) keeps
// the bevel properties for the layout and overrides Paint only.
//
// Paint, from the outside in (each ring drawn with Frame3D: top / left lines in the first
// colour, bottom / right lines in the second, BevelWidth rings):
//   outer bevel   bvRaised: clBtnHighlight / clBtnShadow; bvLowered: swapped
//   border        BorderWidth rings in Color
//   inner bevel   as the outer one
//   inside        filled with Color; Caption drawn on one line, vertically centred on the
//                 height of 'W', aligned by Alignment
#include "platform/core/alignment.h"
#include "platform/ui/win_control.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// The framework's Frame3D: Width rings inside rect, each a top-left polyline in topColor and a
// bottom-right one in bottomColor; rect comes back shrunk by Width on every side.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;
  void CMTextChanged() override { Invalidate(); }
  // The bevels and border of Paint; rect comes back as the area inside them.
  void PaintFrame(TCanvas& canvas, TRect& rect);
  // The caption of Paint inside rect.
  void PaintCaption(TCanvas& canvas, const TRect& rect);

 private:
  void geometryChanged();

  TPanelBevel bevelOuter_ = bvRaised;
  TPanelBevel bevelInner_ = bvNone;
  int bevelWidth_ = 1;   // pixels per bevel, >= 1
  int borderWidth_ = 0;  // pixels, >= 0
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
};
