#include "platform/gfx/bitmap.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/raster.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : width_(other.width_), height_(other.height_), pixels_(other.pixels_),
      monochrome_(other.monochrome_), transparent_(other.transparent_),
      fixedTransparent_(other.fixedTransparent_), transparentColor_(other.transparentColor_) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = other.pixels_;
  monochrome_ = other.monochrome_;
  transparent_ = other.transparent_;
  fixedTransparent_ = other.fixedTransparent_;
  transparentColor_ = other.transparentColor_;
  rebindCanvas();
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = std::move(other.pixels_);
  monochrome_ = other.monochrome_;
  transparent_ = other.transparent_;
  fixedTransparent_ = other.fixedTransparent_;
  transparentColor_ = other.transparentColor_;
  other.width_ = other.height_ = 0;
  other.pixels_.clear();
  other.rebindCanvas();
  rebindCanvas();
  return *this;
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> fresh(size_t(width) * height, 0x00FFFFFFu);
  for (int y = 0; y < std::min(height, height_); ++y)
    std::copy_n(pixels_.data() + size_t(y) * width_, std::min(width, width_),
                fresh.data() + size_t(y) * width);
  pixels_ = std::move(fresh);
  width_ = width;
  height_ = height;
  rebindCanvas();
}

void TBitmap::rebindCanvas() {
  if (!canvas_) return;
  // The canvas keeps its tools but starts over with clip and origins, as a reselected DC.
  canvas_->Bind(pixels_.empty() ? nullptr : pixels_.data(), width_, height_, width_);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    canvas_->ownerBitmap_ = this;
    rebindCanvas();
  }
  return *canvas_;
}

TColor TBitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return PixelToColor(pixels_[size_t(y) * width_ + x]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint32_t p = ColorToPixel(ColorToRGB(color));
  // A monochrome bitmap only holds black and white: the nearer one is stored.
  if (monochrome_) p = raster::SnapMono(p);
  pixels_[size_t(y) * width_ + x] = p;
}

void TBitmap::SetMonochrome(bool value) {
  if (value == monochrome_) return;
  if (value) {
    // As a DDB converted with its background colour selected: background -> 1 (white).
    TColor bk = canvas_ ? ColorToRGB(canvas_->Brush.Color()) : clWhite;
    uint32_t bkPixel = ColorToPixel(bk);
    for (uint32_t& p : pixels_) p = (p & 0xFFFFFF) == bkPixel ? 0xFFFFFFu : 0u;
  }
  monochrome_ = value;
}

TColor TBitmap::TransparentColor() const {
  if (fixedTransparent_) return transparentColor_;
  if (Empty()) return clDefault;
  return GetPixel(0, height_ - 1);  // automatic: the bottom-left pixel
}

void TBitmap::SetTransparentColor(TColor color) {
  fixedTransparent_ = true;
  transparentColor_ = ColorToRGB(color);
}
