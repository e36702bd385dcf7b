#include "treelist/popup_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/services.h"
#include "tests/support/pixel_checks.h"
#include "treelist/edit_style.h"

namespace {

constexpr TColor Paper = 0x00C08040;  // what the frame helpers leave alone
constexpr int Shadow = 4;

// A 40 x 30 rectangle with a 4-pixel shadow: the frame takes (0,0)-(36,26), the shadow the
// strips x 36..39 from y 4 down and y 26..29 from x 4 right.
TEST(PopupFrame, FrameKindsAndShadowStrips) {
  const std::vector<PixelCase> shadowPixels = {
      {36, 3, Paper, "right of the frame above the shadow: the shadow starts shadow size down"},
      {36, 4, clBtnShadow, "right strip"},
      {39, 29, clBtnShadow, "bottom-right corner of the shadow"},
      {3, 27, Paper, "below the frame left of the shadow"},
      {4, 27, clBtnShadow, "bottom strip"},
  };
  struct Case {
    int kind;
    std::vector<PixelCase> frame;
  };
  const Case cases[] = {
      {kPopupFrameMono,
       {{0, 0, clWindowFrame, "monochrome line, top-left"},
        {35, 25, clWindowFrame, "monochrome line, bottom-right: the frame ends before the shadow"},
        {1, 1, Paper, "one pixel only"}}},
      {kPopupFrameDeep,
       {{0, 0, cl3DLight, "raised edge, outer ring, top-left"},
        {1, 1, clBtnHighlight, "raised edge, inner ring, top-left"},
        {35, 25, cl3DDkShadow, "raised edge, outer ring, bottom-right"},
        {34, 24, clBtnShadow, "raised edge, inner ring, bottom-right"},
        {2, 2, clBtnFace, "flat ring inside the raised edge"},
        {33, 23, clBtnFace, "flat ring, bottom-right alike"},
        {3, 3, clBtnShadow, "sunken edge inside the flat ring, top-left"},
        {32, 22, clBtnHighlight, "sunken edge, bottom-right"},
        {4, 4, Paper, "the inside is not filled"}}},
      {kPopupFrameRaised,
       {{0, 0, cl3DLight, "raised edge, outer ring"},
        {1, 1, clBtnHighlight, "raised edge, inner ring"},
        {35, 25, cl3DDkShadow, "raised edge, outer ring, bottom-right"},
        {2, 2, Paper, "two pixels only"}}},
      {0, {{0, 0, Paper, "kind 0: no frame"}, {35, 25, Paper, "kind 0: no frame"}}},
  };
  for (const Case& c : cases) {
    TBitmap bitmap = MakeBitmap(40, 30, Paper);
    DrawPopupFrame(bitmap.Canvas(), {0, 0, 40, 30}, c.kind, Shadow, true, false);
    ExpectPixels(bitmap, c.frame, "kind " + std::to_string(c.kind));
    ExpectPixels(bitmap, shadowPixels, "kind " + std::to_string(c.kind) + " shadow");
  }
}

TEST(PopupFrame, WithoutShadowTheFrameTakesTheWholeRectangle) {
  TBitmap bitmap = MakeBitmap(40, 30, Paper);
  DrawPopupFrame(bitmap.Canvas(), {0, 0, 40, 30}, kPopupFrameMono, Shadow, false, false);
  ExpectPixels(bitmap, {{39, 29, clWindowFrame, "the frame's bottom-right corner"},
                        {35, 25, Paper, "no frame line where a shadowed frame would end"}});
}

TEST(PopupFrame, SizeGripFillsTheScrollBarCornerInsideTheFrame) {
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  TBitmap bitmap = MakeBitmap(60, 50, Paper);
  DrawPopupFrame(bitmap.Canvas(), {0, 0, 60, 50}, kPopupFrameRaised, 0, false, true);
  // The raised edge leaves (2,2)-(58,48).
  ExpectPixels(bitmap, {{57, 47, clBtnFace, "grip: the inside's bottom-right pixel"},
                        {58 - cx, 48 - cy, clBtnFace, "grip: its top-left pixel"},
                        {57 - cx, 47, Paper, "left of the grip"},
                        {57, 47 - cy, Paper, "above the grip"},
                        {59, 49, cl3DDkShadow, "the frame is not covered"}});
}

TEST(PopupFrame, ShadowHelperFillsBottomThenRightStrip) {
  TBitmap bitmap = MakeBitmap(40, 30, Paper);
  TBrush brush;
  brush.SetColor(clRed);
  DrawPopupShadow(bitmap.Canvas(), {10, 10, 30, 25}, 3, brush);
  ExpectPixels(bitmap, {{10, 22, clRed, "bottom strip, full width from the left"},
                        {10, 21, Paper, "bottom strip is 3 high"},
                        {27, 10, clRed, "right strip, full height from the top"},
                        {26, 10, Paper, "right strip is 3 wide"},
                        {29, 24, clRed, "corner"},
                        {30, 24, Paper, "nothing outside the shadow rectangle"}});
}

TEST(PopupFrame, ShadowRegionIsFrameAndItsShiftedCopy) {
  struct Case {
    TPoint p;
    bool withShadow, inside;
    const char* why;
  };
  const Case cases[] = {
      {{0, 0}, true, true, "frame"},
      {{35, 25}, true, true, "frame's last pixel"},
      {{36, 3}, true, false, "right of the frame above the shadow"},
      {{36, 4}, true, true, "shadow"},
      {{3, 27}, true, false, "below the frame left of the shadow"},
      {{39, 29}, true, true, "shadow's last pixel"},
      {{36, 3}, false, true, "without a shadow the whole rectangle"},
      {{40, 29}, false, false, "outside the rectangle"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PopupShadowRegion({0, 0, 40, 30}, Shadow, c.withShadow).Contains(c.p), c.inside)
        << c.why;
}

TEST(PopupFrame, SharedShadowBrushIsSolidButtonShadow) {
  EXPECT_EQ(ShadowBrush().Color(), clBtnShadow);
  EXPECT_EQ(ShadowBrush().Style(), bsSolid);
}

}  // namespace
