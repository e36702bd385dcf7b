// TCanvas copies: the raster operations BitBlt, PatBlt, StretchBlt and the picture copies
// Draw, StretchDraw and CopyRect, which realise the tools first.
#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/raster.h"

namespace {

uint8_t rop3Index(uint32_t rop) { return uint8_t((rop >> 16) & 0xFF); }

// A ROP reads the source unless its truth table is the same for S = 0 and S = 1.
bool usesSource(uint8_t r) { return (((r >> 2) ^ r) & 0x33) != 0; }

}  // namespace

raster::Source TCanvas::sourceFor(const TBitmap* bitmap, const TCanvas* canvas) const {
  raster::Source s;
  if (bitmap) {
    s.bits = bitmap->Bits();
    s.width = bitmap->Width();
    s.height = bitmap->Height();
    s.stride = bitmap->Width();
    s.mono = bitmap->Monochrome();
    canvas = bitmap->ExistingCanvas();
  } else if (canvas) {
    s.bits = canvas->bits_;
    s.width = canvas->width_;
    s.height = canvas->height_;
    s.stride = canvas->stride_;
    s.mono = canvas->MonochromeSurface();
  }
  // Mono onto colour: clear bits take this DC's text colour, set bits its background.
  s.fg = ColorToPixel(textColor_);
  s.bg = ColorToPixel(bkColor_);
  // Colour onto mono: the source DC's background colour becomes white, the rest black.
  s.srcBk = ColorToPixel(canvas ? canvas->bkColor_ : clWhite);
  return s;
}

void TCanvas::blitDevice(const raster::Source& srcIn, TRect dstBox, TRect srcBox, uint32_t rop) {
  if (!bits_ || dstBox.IsEmpty() || srcBox.IsEmpty()) return;
  const uint8_t r3 = rop3Index(rop);
  if (!usesSource(r3)) {
    std::vector<TRect> clipped;
    raster::ClipRects({dstBox}, clipRects(), clipped);
    if (!clipped.empty()) raster::FillRects(surface(), clipped, brushForRop(), r3);
    return;
  }
  if (!srcIn.bits) return;
  raster::Source src = srcIn;
  // Reading and writing the same surface: work from a copy of the source box.
  std::vector<uint32_t> scratch;
  TRect srcValid{0, 0, src.width, src.height};
  if (src.bits == bits_) {
    TRect box = IntersectRect(srcBox, TRect{0, 0, src.width, src.height});
    if (box.IsEmpty()) return;
    scratch.resize(size_t(box.Width()) * box.Height());
    for (int y = box.Top; y < box.Bottom; ++y)
      std::copy_n(src.bits + size_t(y) * src.stride + box.Left, box.Width(),
                  scratch.data() + size_t(y - box.Top) * box.Width());
    // The copy starts at box's top-left: move the source box with it.
    src.bits = scratch.data();
    src.width = src.stride = box.Width();
    src.height = box.Height();
    srcBox = srcBox.Offset(-box.Left, -box.Top);
    srcValid = {0, 0, box.Width(), box.Height()};
  }
  const raster::Brush brush = brushForRop();
  if (srcBox.Width() == dstBox.Width() && srcBox.Height() == dstBox.Height()) {
    const int dx = srcBox.Left - dstBox.Left, dy = srcBox.Top - dstBox.Top;
    // Only where the source exists (Windows copies nothing from outside the source).
    TRect readable = srcValid.Offset(-dx, -dy);
    TRect box = IntersectRect(dstBox, readable);
    if (box.IsEmpty()) return;
    std::vector<TRect> clipped;
    raster::ClipRects({box}, clipRects(), clipped);
    if (!clipped.empty()) raster::Blit(surface(), clipped, src, dx, dy, brush, r3);
    return;
  }
  // Stretch: read only inside the source surface.
  TRect readable = IntersectRect(srcBox, srcValid);
  if (readable.IsEmpty()) return;
  if (readable != srcBox) {
    // Keep the part of the destination that maps onto the readable source.
    auto mapX = [&](int sx) { return dstBox.Left + int((long long)(sx - srcBox.Left) * dstBox.Width() / srcBox.Width()); };
    auto mapY = [&](int sy) { return dstBox.Top + int((long long)(sy - srcBox.Top) * dstBox.Height() / srcBox.Height()); };
    dstBox = {mapX(readable.Left), mapY(readable.Top), mapX(readable.Right), mapY(readable.Bottom)};
    srcBox = readable;
    if (dstBox.IsEmpty()) return;
  }
  std::vector<TRect> clipped;
  raster::ClipRects({dstBox}, clipRects(), clipped);
  if (!clipped.empty()) raster::StretchBlit(surface(), clipped, src, dstBox, srcBox, brush, r3);
}

void TCanvas::BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, uint32_t rop) {
  if (w <= 0 || h <= 0) return;
  TPoint s = src.LogicalToDevice(TPoint{sx, sy});
  blitDevice(sourceFor(nullptr, &src), LogicalToDevice(Bounds(x, y, w, h)), Bounds(s.X, s.Y, w, h), rop);
  changed();
}

void TCanvas::BitBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, uint32_t rop) {
  if (w <= 0 || h <= 0) return;
  blitDevice(sourceFor(&src, nullptr), LogicalToDevice(Bounds(x, y, w, h)), Bounds(sx, sy, w, h), rop);
  changed();
}

void TCanvas::PatBlt(int x, int y, int w, int h, uint32_t rop) {
  if (w <= 0 || h <= 0 || !bits_) return;
  std::vector<TRect> clipped;
  raster::ClipRects({LogicalToDevice(Bounds(x, y, w, h))}, clipRects(), clipped);
  if (!clipped.empty()) raster::FillRects(surface(), clipped, brushForRop(), rop3Index(rop));
  changed();
}

void TCanvas::StretchBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw,
                         int sh, uint32_t rop) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  blitDevice(sourceFor(&src, nullptr), LogicalToDevice(Bounds(x, y, w, h)), Bounds(sx, sy, sw, sh), rop);
  changed();
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
  if (bitmap.Empty() || rect.IsEmpty()) return;
  // Pictures realise font and brush first, so a monochrome bitmap takes the font colour for
  // black and the brush colour for white, as text drawn with the same tools would.
  realiseTools();
  raster::Source s = sourceFor(&bitmap, nullptr);
  if (bitmap.Transparent()) s.skipPixel = ColorToPixel(ColorToRGB(bitmap.TransparentColor()));
  blitDevice(s, LogicalToDevice(rect), TRect{0, 0, bitmap.Width(), bitmap.Height()},
             bitmap.Transparent() ? SRCCOPY : CopyMode);
  changed();
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& src, const TRect& srcRect) {
  realiseTools();
  blitDevice(sourceFor(nullptr, &src), LogicalToDevice(dest), src.LogicalToDevice(srcRect), CopyMode);
  changed();
}
