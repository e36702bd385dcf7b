// Bitmaps: monochrome conversion, .bmp files and JPEG decoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "platform/gfx/canvas.h"
#include "platform/gfx/jpeg.h"
#include "tests/support/pixel_checks.h"

namespace {

TEST(BitmapTest, PixelsAreStoredForQtAndReadAsTColor) {
  TBitmap b(2, 1);
  EXPECT_EQ(b.GetPixel(0, 0), clWhite) << "a new bitmap is white";
  b.SetPixel(0, 0, RGBColor(0x12, 0x34, 0x56));
  EXPECT_EQ(b.Bits()[0], 0x00123456u) << "stored 0x00RRGGBB";
  EXPECT_EQ(b.GetPixel(0, 0), RGBColor(0x12, 0x34, 0x56));
  EXPECT_EQ(b.GetPixel(2, 0), CLR_INVALID);
  b.SetPixel(1, 0, clBtnFace);
  EXPECT_EQ(b.GetPixel(1, 0), GetSysColor(COLOR_BTNFACE)) << "system colours resolve";
  b.SetSize(3, 2);
  EXPECT_EQ(b.GetPixel(0, 0), RGBColor(0x12, 0x34, 0x56)) << "resizing keeps the overlap";
  EXPECT_EQ(b.GetPixel(2, 1), clWhite) << "new pixels white";
  EXPECT_EQ(b.TransparentColor(), clWhite) << "bottom-left pixel";
}

TEST(BitmapTest, MonochromeConversionUsesTheBrushColour) {
  TBitmap b(3, 1);
  b.SetPixel(0, 0, clRed);
  b.SetPixel(1, 0, clBlue);
  b.SetPixel(2, 0, clWhite);
  b.Canvas().Brush.SetColor(clRed);
  b.SetMonochrome(true);
  ExpectPixels(b, {{0, 0, clWhite, "equal to the background (brush) colour: set"},
                   {1, 0, clBlack, "other colours: clear"},
                   {2, 0, clBlack, "white is not the background here: clear"}});
  // Drawing into a monochrome bitmap stores the nearer of black and white.
  b.Canvas().Brush.SetColor(clSilver);
  b.Canvas().FillRect(TRect{1, 0, 2, 1});
  EXPECT_EQ(b.GetPixel(1, 0), clWhite);
}

// A 16-colour bitmap file written by hand: 3 x 2 pixels, rows bottom-up, 4 bits per pixel.
std::vector<uint8_t> SixteenColourBmp() {
  std::vector<uint8_t> v;
  auto u16 = [&](uint32_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); };
  auto u32 = [&](uint32_t x) { u16(x & 0xFFFF); u16(x >> 16); };
  const uint32_t paletteBytes = 16 * 4, rowBytes = 4, offset = 14 + 40 + paletteBytes;
  v.push_back('B');
  v.push_back('M');
  u32(offset + 2 * rowBytes);
  u32(0);
  u32(offset);
  u32(40);
  u32(3);
  u32(2);
  u16(1);
  u16(4);
  u32(0);
  u32(2 * rowBytes);
  u32(0);
  u32(0);
  u32(16);
  u32(0);
  // The VGA palette: index 1 maroon, 4 navy, 9 red (B, G, R, 0 each).
  const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (uint32_t rgb : vga) {
    v.push_back(uint8_t(rgb));
    v.push_back(uint8_t(rgb >> 8));
    v.push_back(uint8_t(rgb >> 16));
    v.push_back(0);
  }
  // Bottom row first: indexes 15, 9, 1 (white, red, maroon); top row: 4, 0, 15.
  for (uint8_t b : {0xF9, 0x10, 0x00, 0x00}) v.push_back(b);
  for (uint8_t b : {0x40, 0xF0, 0x00, 0x00}) v.push_back(b);
  return v;
}

TEST(BitmapTest, BmpFilesRoundTrip) {
  std::vector<uint8_t> file = SixteenColourBmp();
  TBitmap b;
  b.LoadFromBmpBytes(file.data(), file.size());
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  ExpectPixels(b, {{0, 0, clNavy, "top row comes last in the file; high nibble first"},
                   {1, 0, clBlack, "index 0"},
                   {2, 0, clWhite, "index 15"},
                   {0, 1, clWhite, "bottom row first"},
                   {1, 1, clRed, "index 9"},
                   {2, 1, clMaroon, "index 1"}});
  // Saved as 24-bit (rows padded to 4 bytes) and read back the same.
  TBitmap again;
  std::vector<uint8_t> saved = b.SaveToBmpBytes();
  EXPECT_EQ(saved.size(), 54u + 2 * 12) << "3 pixels * 3 bytes padded to 12 per row";
  again.LoadFromBmpBytes(saved.data(), saved.size());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(again.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
  // Through a file as well.
  const std::string path = ::testing::TempDir() + "gfx_roundtrip.bmp";
  b.SaveToBmpFile(path);
  TBitmap fromFile;
  fromFile.LoadFromBmpFile(path);
  EXPECT_EQ(fromFile.GetPixel(2, 1), clMaroon);
  std::remove(path.c_str());
}

TEST(BitmapTest, DamagedBmpThrows) {
  std::vector<uint8_t> file = SixteenColourBmp();
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"not a bitmap", {'P', 'K', 3, 4}},
      {"truncated pixels", std::vector<uint8_t>(file.begin(), file.end() - 3)},
      {"empty", {}},
  };
  for (auto& k : cases) {
    TBitmap b;
    EXPECT_THROW(b.LoadFromBmpBytes(k.bytes.data(), k.bytes.size()), EInvalidGraphic) << k.name;
  }
  TBitmap b;
  EXPECT_THROW(b.LoadFromBmpFile("/nonexistent/x.bmp"), EInvalidGraphic);
}

// Encodes a 16 x 8 picture (left half red, right half blue) straight through libjpeg.
std::vector<uint8_t> EncodeTestJpeg() {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = 16;
  cinfo.image_height = 8;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  unsigned char row[16 * 3];
  for (int x = 0; x < 16; ++x) {
    row[3 * x] = x < 8 ? 255 : 0;
    row[3 * x + 1] = 0;
    row[3 * x + 2] = x < 8 ? 0 : 255;
  }
  while (cinfo.next_scanline < 8) {
    JSAMPROW r = row;
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> bytes(out, out + size);
  free(out);
  return bytes;
}

TEST(JpegTest, DecodesAndRejectsDamagedData) {
  std::vector<uint8_t> jpg = EncodeTestJpeg();
  TBitmap b = LoadJpeg(jpg);
  ASSERT_EQ(b.Width(), 16);
  ASSERT_EQ(b.Height(), 8);
  auto near = [](TColor got, TColor want) {
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 24) return false;
    return true;
  };
  EXPECT_TRUE(near(b.GetPixel(2, 4), clRed)) << std::hex << b.GetPixel(2, 4);
  EXPECT_TRUE(near(b.GetPixel(13, 4), clBlue)) << std::hex << b.GetPixel(13, 4);
  // Our encoder reads back the same way.
  TBitmap again = LoadJpeg(EncodeJpeg(b, 95));
  EXPECT_TRUE(near(again.GetPixel(13, 4), clBlue));

  std::vector<uint8_t> damaged(jpg.begin(), jpg.begin() + 20);
  try {
    LoadJpeg(damaged);
    FAIL() << "a truncated JPEG must not load";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
  }
  std::vector<uint8_t> garbage{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_THROW(LoadJpeg(garbage), EInvalidGraphic);
  EXPECT_THROW(LoadJpeg(std::string("/nonexistent/splash.jpg")), EInvalidGraphic);
}

}  // namespace
