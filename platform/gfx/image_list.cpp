#include "platform/gfx/image_list.h"

#include <algorithm>
#include <string>

#include "platform/gfx/canvas.h"

namespace {

void checkIndex(int index, int count) {
  if (index < 0 || index >= count)
    throw EInvalidOperation("Image list index (" + std::to_string(index) + ") out of bounds");
}

// The w x h piece of src at (x, 0); pixels beyond src read as fill.
TBitmap piece(const TBitmap& src, int x, int w, int h, uint32_t fill) {
  TBitmap out(w, h);
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) {
      const bool inside = x + xx < src.Width() && yy < src.Height();
      out.ScanLine(yy)[xx] = inside ? (src.ScanLine(yy)[x + xx] & 0xFFFFFF) : fill;
    }
  return out;
}

}  // namespace

void TImageList::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  Clear();
}

void TImageList::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Clear();
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Empty() || width_ <= 0 || height_ <= 0) return -1;
  const int first = Count();
  const int pieces = std::max(1, image.Width() / width_);
  for (int i = 0; i < pieces; ++i) {
    Entry e;
    e.image = piece(image, i * width_, width_, height_, 0);
    if (mask) {
      // Any non-black mask pixel is transparent (a 1-bit mask's set bits).
      e.mask = piece(*mask, i * width_, width_, height_, 0xFFFFFF);
      for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
          uint32_t& p = e.mask.ScanLine(y)[x];
          p = p ? 0xFFFFFFu : 0u;
        }
    } else {
      e.mask = TBitmap(width_, height_);
      for (int y = 0; y < height_; ++y) std::fill_n(e.mask.ScanLine(y), width_, 0u);
    }
    e.mask.SetMonochrome(true);  // already black and white: nothing changes
    images_.push_back(std::move(e));
  }
  return first;
}

int TImageList::AddMasked(const TBitmap& image, TColor transparentColor) {
  if (image.Empty()) return -1;
  const TColor key = transparentColor == clDefault ? image.GetPixel(0, image.Height() - 1)
                                                   : ColorToRGB(transparentColor);
  const uint32_t keyPixel = ColorToPixel(key);
  TBitmap mask(image.Width(), image.Height());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      mask.ScanLine(y)[x] = (image.ScanLine(y)[x] & 0xFFFFFF) == keyPixel ? 0xFFFFFFu : 0u;
  return Add(image, &mask);
}

void TImageList::Delete(int index) {
  checkIndex(index, Count());
  images_.erase(images_.begin() + index);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
  checkIndex(index, Count());
  bitmap = images_[size_t(index)].image;
}

void TImageList::GetMask(int index, TBitmap& mask) const {
  checkIndex(index, Count());
  mask = images_[size_t(index)].mask;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;  // as ImageList_Draw: nothing for a bad index
  const Entry& e = images_[size_t(index)];
  TCanvasStateGuard guard(canvas);
  // Masks are 1-bit: black stays black and white stays white when they are expanded.
  canvas.SetTextColor(clBlack);
  canvas.SetBkColor(clWhite);
  if (enabled) {
    // ILD_NORMAL: keep the destination where the mask is white, then add the image's
    // opaque pixels (the transparent ones are black in the masked copy, so OR leaves the
    // destination there).
    TBitmap masked = e.image;
    for (int yy = 0; yy < height_; ++yy)
      for (int xx = 0; xx < width_; ++xx)
        if (e.mask.ScanLine(yy)[xx]) masked.ScanLine(yy)[xx] = 0;
    canvas.BitBlt(x, y, width_, height_, e.mask, 0, 0, SRCAND);
    canvas.BitBlt(x, y, width_, height_, masked, 0, 0, SRCPAINT);
    return;
  }
  // Disabled: the image's opaque pixels other than white form a shape that is drawn
  // in clBtnHighlight one pixel down and right, then in clBtnShadow in place.
  TBitmap shape(width_, height_);
  for (int yy = 0; yy < height_; ++yy)
    for (int xx = 0; xx < width_; ++xx) {
      const bool opaque = e.mask.ScanLine(yy)[xx] == 0;
      const bool white = (e.image.ScanLine(yy)[xx] & 0xFFFFFF) == 0xFFFFFF;
      shape.ScanLine(yy)[xx] = (opaque && !white) ? 0xFFFFFFu : 0u;
    }
  shape.SetMonochrome(true);
  canvas.Brush.SetBitmap(nullptr);
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(clBtnHighlight);
  canvas.BitBlt(x + 1, y + 1, width_, height_, shape, 0, 0, ROP_DSPDxax);
  canvas.Brush.SetColor(clBtnShadow);
  canvas.BitBlt(x, y, width_, height_, shape, 0, 0, ROP_DSPDxax);
}
