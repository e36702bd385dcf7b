#pragma once
// TBevel: a frame or line in the two button-shadow colours (a graphic control; it never fills).
//
// Colours: Style bsLowered draws clBtnShadow first (top / left) and clBtnHighlight second
// (bottom / right); bsRaised swaps them. Pixels, with W x H the control's size:
//   bsBox         top and left edge of (0, 0)-(W-1, H-1) in the first colour, bottom and right
//                 edge in the second (the bottom-left corner belongs to the first, the top-right
//                 to the second)
//   bsFrame       an etched frame: a box in the second colour at (1, 1)-(W-1, H-1) under a box
//                 entirely in the first colour at (0, 0)-(W-2, H-2)
//   bsTopLine     row 0 first colour, row 1 second colour
//   bsBottomLine  row H-2 first colour, row H-1 second colour
//   bsLeftLine    column 0 first, column 1 second;  bsRightLine  column W-2 first, W-1 second
//   bsSpacer      nothing
#include "platform/ui/control.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};
