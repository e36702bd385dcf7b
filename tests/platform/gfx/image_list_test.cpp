#include "platform/gfx/image_list.h"

#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"

namespace {

// A strip of two 4 x 4 images on a fuchsia key: image 0 has a red dot at (1, 1), image 1 a
// blue 2 x 2 block at (1, 1).
TBitmap Strip() {
  TBitmap s = MakeBitmap(8, 4, clFuchsia);
  s.SetPixel(1, 1, clRed);
  for (int y = 1; y < 3; ++y)
    for (int x = 5; x < 7; ++x) s.SetPixel(x, y, clBlue);
  return s;
}

TEST(ImageListTest, MaskedStripSplitsAndDrawsWithoutTheKeyColour) {
  TImageList list(4, 4);
  EXPECT_EQ(list.AddMasked(Strip(), clDefault), 0) << "key: the bottom-left pixel";
  EXPECT_EQ(list.Count(), 2);
  TBitmap dst = MakeBitmap(10, 10, clLime);
  list.Draw(dst.Canvas(), 3, 3, 1);
  ExpectPixels(dst, {{4, 4, clBlue, "opaque pixel at (1,1) of image 1"},
                     {5, 5, clBlue, "opaque pixel at (2,2)"},
                     {3, 3, clLime, "key-coloured pixel left out"},
                     {6, 6, clLime, "key-coloured pixel left out"}});
  TBitmap image;
  list.GetBitmap(0, image);
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.GetPixel(1, 1), clRed);
  EXPECT_EQ(image.GetPixel(0, 0), clFuchsia) << "the stored image keeps its key colour";
  EXPECT_THROW(list.GetBitmap(2, image), EInvalidOperation);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(ImageListTest, DisabledImageIsEmbossed) {
  TImageList list(4, 4);
  list.AddMasked(Strip(), clFuchsia);
  TBitmap dst = MakeBitmap(10, 10, clLime);
  list.Draw(dst.Canvas(), 0, 0, 0, false);
  ExpectPixels(dst, {{1, 1, clBtnShadow, "the shape in the shadow colour, in place"},
                     {2, 2, clBtnHighlight, "its highlight copy one pixel down-right"},
                     {0, 0, clLime, "transparent pixels untouched"}});
  // The canvas's own state is back afterwards.
  EXPECT_EQ(dst.Canvas().Brush.Color(), clWhite);
}

}  // namespace
