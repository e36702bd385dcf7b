// Copies and raster operations: every ROP against the formula Windows documents for it.
#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor kDst = 0x0050A0F0, kSrc = 0x0099CC33, kPat = 0x0011AA55;

TEST(CanvasCopyTest, RasterOperationsFollowTheirBooleanFormula) {
  struct Case {
    const char* name;
    uint32_t rop;
    TColor expected;
  } cases[] = {
      {"SRCCOPY = S", SRCCOPY, kSrc},
      {"SRCINVERT = D xor S", SRCINVERT, kDst ^ kSrc},
      {"SRCAND = D and S", SRCAND, kDst & kSrc},
      {"SRCPAINT = D or S", SRCPAINT, kDst | kSrc},
      {"NOTSRCCOPY = not S", NOTSRCCOPY, ~kSrc & 0xFFFFFF},
      {"SRCERASE = S and not D", SRCERASE, kSrc & ~kDst & 0xFFFFFF},
      {"MERGECOPY = P and S", MERGECOPY, kPat & kSrc},
      {"DSTINVERT = not D", DSTINVERT, ~kDst & 0xFFFFFF},
      {"PATCOPY = P", PATCOPY, kPat},
      {"PATINVERT = P xor D", PATINVERT, kPat ^ kDst},
      {"BLACKNESS = 0", BLACKNESS, 0},
      {"WHITENESS = 1", WHITENESS, 0xFFFFFF},
      {"DSPDxax, colour source: ((D xor P) and S) xor D", ROP_DSPDxax, ((kDst ^ kPat) & kSrc) ^ kDst},
  };
  TBitmap src = MakeBitmap(4, 4, kSrc);
  for (const Case& k : cases) {
    TBitmap dst = MakeBitmap(6, 6, kDst);
    dst.Canvas().Brush.SetColor(kPat);
    dst.Canvas().BitBlt(1, 1, 4, 4, src, 0, 0, k.rop);
    ExpectPixels(dst, {{1, 1, k.expected, k.name},
                       {4, 4, k.expected, k.name},
                       {5, 5, kDst, "outside the copied rectangle"},
                       {0, 0, kDst, "outside the copied rectangle"}});
  }
}

TEST(CanvasCopyTest, PenModesAreBinaryRasterOperations) {
  struct Case {
    const char* name;
    TPenMode mode;
    TColor expected;
  } cases[] = {
      {"pmCopy = P", pmCopy, kPat},
      {"pmNot = not D", pmNot, ~kDst & 0xFFFFFF},
      {"pmXor = P xor D", pmXor, kPat ^ kDst},
      {"pmNotXor = not (P xor D)", pmNotXor, ~(kPat ^ kDst) & 0xFFFFFF},
      {"pmMask = P and D", pmMask, kPat & kDst},
      {"pmMerge = P or D", pmMerge, kPat | kDst},
      {"pmMaskPenNot = P and not D", pmMaskPenNot, kPat & ~kDst & 0xFFFFFF},
      {"pmNop = D", pmNop, kDst},
      {"pmBlack", pmBlack, 0},
      {"pmWhite", pmWhite, 0xFFFFFF},
  };
  for (const Case& k : cases) {
    TBitmap dst = MakeBitmap(6, 3, kDst);
    dst.Canvas().Pen.SetColor(kPat);
    dst.Canvas().Pen.SetMode(k.mode);
    dst.Canvas().MoveTo(0, 1);
    dst.Canvas().LineTo(6, 1);
    ExpectPixels(dst, {{2, 1, k.expected, k.name}, {2, 0, kDst, "off the line"}});
  }
}

TEST(CanvasCopyTest, MonochromeMaskPaintsTheBrushWhereSet) {
  // A 1-bit mask: white (set) at x < 2. DSPDxax puts the brush there, keeps D elsewhere.
  TBitmap mask = MakeBitmap(4, 2, clBlack);
  mask.SetPixel(0, 0, clWhite);
  mask.SetPixel(1, 0, clWhite);
  mask.SetPixel(1, 1, clWhite);
  mask.SetMonochrome(true);  // brush white by default: white stays set
  ASSERT_TRUE(mask.Monochrome());
  TBitmap dst = MakeBitmap(4, 2, kDst);
  dst.Canvas().Brush.SetColor(clRed);
  dst.Canvas().BitBlt(0, 0, 4, 2, mask, 0, 0, ROP_DSPDxax);
  ExpectPixels(dst, {{0, 0, clRed, "mask set: brush"},
                     {1, 1, clRed, "mask set: brush"},
                     {0, 1, kDst, "mask clear: destination kept"},
                     {3, 0, kDst, "mask clear: destination kept"}});
  // A mono source onto colour takes the text colour for black and the background for white.
  TBitmap out = MakeBitmap(4, 2, kDst);
  out.Canvas().SetTextColor(clBlue);
  out.Canvas().SetBkColor(clYellow);
  out.Canvas().BitBlt(0, 0, 4, 2, mask, 0, 0, SRCCOPY);
  ExpectPixels(out, {{0, 0, clYellow, "set bit -> background colour"},
                     {0, 1, clBlue, "clear bit -> text colour"}});
}

TEST(CanvasCopyTest, CopiesClipToSourceAndDestination) {
  TBitmap src = MakeBitmap(4, 4, clRed);
  TBitmap dst = MakeBitmap(8, 8, clWhite);
  TCanvas& c = dst.Canvas();
  c.IntersectClipRect(0, 0, 6, 8);
  c.BitBlt(2, 2, 8, 8, src, 0, 0, SRCCOPY);  // wider than the source
  ExpectPixels(dst, {{2, 2, clRed, "copied"},
                     {5, 5, clRed, "last source pixel"},
                     {6, 2, clWhite, "x = 6 is outside the clip"},
                     {2, 6, clWhite, "past the source's bottom: nothing copied"}});
  // Overlapping copy within one surface reads the original pixels.
  TBitmap s = MakeBitmap(6, 1, clWhite);
  s.SetPixel(0, 0, clRed);
  s.SetPixel(1, 0, clLime);
  s.Canvas().BitBlt(1, 0, 5, 1, s.Canvas(), 0, 0, SRCCOPY);
  ExpectPixels(s, {{1, 0, clRed, "shifted right by one"}, {2, 0, clLime, "not smeared"}});
}

TEST(CanvasCopyTest, DrawStretchAndTransparency) {
  TBitmap pic = MakeBitmap(2, 2, clBlue);
  pic.SetPixel(0, 1, clFuchsia);  // bottom-left: the automatic transparent colour
  TBitmap dst = MakeBitmap(8, 8, clWhite);
  TCanvas& c = dst.Canvas();
  c.Draw(0, 0, pic);
  EXPECT_EQ(dst.GetPixel(0, 1), ColorToRGB(clFuchsia)) << "opaque draw copies every pixel";
  pic.SetTransparent(true);
  c.Draw(4, 0, pic);
  ExpectPixels(dst, {{4, 1, clWhite, "transparent colour left out"}, {5, 1, clBlue, "others drawn"}});
  c.StretchDraw(TRect{0, 4, 8, 8}, MakeBitmap(2, 1, clRed));
  ExpectPixels(dst, {{0, 4, clRed, "stretched 4x"}, {7, 7, clRed, "to the far corner"}});
  TBitmap two(2, 1);
  two.SetPixel(0, 0, clRed);
  two.SetPixel(1, 0, clLime);
  TBitmap wide = MakeBitmap(6, 1, clWhite);
  wide.Canvas().StretchDraw(TRect{0, 0, 6, 1}, two);
  ExpectPixels(wide, {{2, 0, clRed, "nearest neighbour: left half"}, {3, 0, clLime, "right half"}});
  // CopyRect copies between canvases with CopyMode.
  TBitmap from = MakeBitmap(4, 4, clNavy);
  TBitmap to = MakeBitmap(4, 4, clWhite);
  to.Canvas().CopyRect(TRect{1, 1, 3, 3}, from.Canvas(), TRect{0, 0, 2, 2});
  ExpectPixels(to, {{1, 1, clNavy, "copied"}, {3, 3, clWhite, "dest Right/Bottom exclusive"}});
}

}  // namespace
