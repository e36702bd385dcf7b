#pragma once
// TBitmap: an owned 32-bit picture with a lazily created canvas.
//
// Pixels are stored as 0x00RRGGBB (so QImage::Format_RGB32 can wrap the buffer), row after
// row without padding: pixel (x, y) is Bits()[y * Width() + x]. GetPixel/SetPixel speak TColor
// (0x00BBGGRR). A monochrome bitmap holds only black (0) and white (0x00FFFFFF) pixels; white
// is a set bit, black a clear bit, as in a 1-bit DDB.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/types.h"

class TCanvas;

// A picture file that cannot be read (bad header, unsupported format, truncated data).
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);  // filled with white, the colour of a new canvas's brush
  ~TBitmap();
  // Copies pixels, monochrome flag and transparency; the copy gets its own canvas.
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  void Assign(const TBitmap& other) { *this = other; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Keeps the overlapping top-left part; new pixels are white. Rebinds the canvas.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // The canvas drawing into this bitmap (created on first use; stays valid until destruction).
  TCanvas& Canvas();
  // The canvas if it exists already (nullptr otherwise); never creates one.
  const TCanvas* ExistingCanvas() const { return canvas_.get(); }

  TColor GetPixel(int x, int y) const;  // 0x00BBGGRR; CLR_INVALID (0xFFFFFFFF) outside
  void SetPixel(int x, int y, TColor color);  // ignored outside; system colours resolve
  uint32_t* Bits() { return pixels_.data(); }  // 0x00RRGGBB, Width() pixels per row
  const uint32_t* Bits() const { return pixels_.data(); }
  uint32_t* ScanLine(int y) { return pixels_.data() + size_t(y) * width_; }
  const uint32_t* ScanLine(int y) const { return pixels_.data() + size_t(y) * width_; }

  // Setting on converts as a DDB is converted to monochrome against its background colour:
  // pixels equal to the canvas's Brush.Color become white, all others black. Setting off
  // keeps the black and white pixels as they are.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool value);

  // TransparentColor: the bottom-left pixel (images are drawn with their background reaching
  // that corner) unless a fixed colour was set; Transparent makes TCanvas::Draw leave pixels
  // of that colour untouched.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);  // fixes the colour
  void ResetTransparentColor() { fixedTransparent_ = false; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }

  // Windows .bmp: reads 1, 4, 8 (palette), 24 and 32-bit uncompressed, bottom-up or top-down.
  // Throws EInvalidGraphic on anything else or on a damaged file.
  void LoadFromBmpFile(const std::string& path);
  void LoadFromBmpStream(std::istream& in);
  void LoadFromBmpBytes(const uint8_t* data, size_t size);
  // Writes a 24-bit bottom-up .bmp (a monochrome bitmap too). Throws EInvalidGraphic when the
  // file cannot be written.
  void SaveToBmpFile(const std::string& path) const;
  void SaveToBmpStream(std::ostream& out) const;
  std::vector<uint8_t> SaveToBmpBytes() const;

 private:
  void rebindCanvas();

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;     // width_ * height_, 0x00RRGGBB
  bool monochrome_ = false;          // pixels are only 0 or 0x00FFFFFF
  bool transparent_ = false;
  bool fixedTransparent_ = false;
  TColor transparentColor_ = 0;      // valid when fixedTransparent_
  std::unique_ptr<TCanvas> canvas_;  // lazily created, bound to pixels_
};

constexpr TColor CLR_INVALID = 0xFFFFFFFFu;

// Pixel format helpers: 0x00RRGGBB <-> TColor 0x00BBGGRR.
constexpr uint32_t ColorToPixel(TColor rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr TColor PixelToColor(uint32_t pixel) {
  return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
