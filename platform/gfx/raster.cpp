#include "platform/gfx/raster.h"

#include <algorithm>

namespace raster {

namespace {

constexpr uint32_t kRgb = 0x00FFFFFFu;

struct Pair {
  uint32_t andMask, xorMask;  // D' = (D & andMask) ^ xorMask
};

Pair pairFor(uint8_t rop3, uint32_t p, uint32_t s) {
  uint32_t f0 = Rop3(rop3, p, s, 0), f1 = Rop3(rop3, p, s, kRgb);
  return {f0 ^ f1, f0};
}

// One loop per source conversion and ROP, chosen outside the pixel loop.
enum class Conv { Same, MonoToColour, ColourToMono };

template <Conv C>
inline uint32_t convert(uint32_t s, const Source& src) {
  if constexpr (C == Conv::MonoToColour) return (s & kRgb) ? src.bg : src.fg;  // set bit -> background
  if constexpr (C == Conv::ColourToMono) return (s & kRgb) == src.srcBk ? kRgb : 0;
  return s & kRgb;
}

template <Conv C, typename Op>
void blitLoop(const Surface& dst, const std::vector<TRect>& rects, const Source& src, int dx,
              int dy, const Brush& brush, Op op) {
  const bool skip = src.skipPixel != 0xFFFFFFFFu;
  for (const TRect& r : rects) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint32_t* d = dst.row(y);
      const uint32_t* s = src.bits + size_t(y + dy) * size_t(src.stride) + dx;
      const int prow = ((y - brush.orgY) & 7) * 8;
      for (int x = r.Left; x < r.Right; ++x) {
        uint32_t sp = s[x] & kRgb;
        if (skip && sp == src.skipPixel) continue;
        uint32_t p = brush.cells[prow + ((x - brush.orgX) & 7)];
        d[x] = op(p, convert<C>(sp, src), d[x] & kRgb) & kRgb;
      }
    }
  }
}

template <Conv C>
void blitWithRop(const Surface& dst, const std::vector<TRect>& rects, const Source& src, int dx,
                 int dy, const Brush& brush, uint8_t rop3) {
  switch (rop3) {
    case 0xCC: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t, uint32_t s, uint32_t) { return s; }); break;
    case 0x66: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t, uint32_t s, uint32_t d) { return d ^ s; }); break;
    case 0x88: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t, uint32_t s, uint32_t d) { return d & s; }); break;
    case 0xEE: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t, uint32_t s, uint32_t d) { return d | s; }); break;
    case 0x33: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t, uint32_t s, uint32_t) { return ~s; }); break;
    case 0xE2: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t p, uint32_t s, uint32_t d) { return ((d ^ p) & s) ^ d; }); break;
    case 0xB8: blitLoop<C>(dst, rects, src, dx, dy, brush, [](uint32_t p, uint32_t s, uint32_t d) { return ((d ^ p) & s) ^ p; }); break;
    default: {
      const uint8_t r = rop3;
      blitLoop<C>(dst, rects, src, dx, dy, brush, [r](uint32_t p, uint32_t s, uint32_t d) {
        Pair pr = pairFor(r, p, s);
        return (d & pr.andMask) ^ pr.xorMask;
      });
    }
  }
}

Conv conversionFor(const Surface& dst, const Source& src) {
  if (src.mono && !dst.mono) return Conv::MonoToColour;
  if (!src.mono && dst.mono) return Conv::ColourToMono;
  return Conv::Same;
}

}  // namespace

uint32_t Rop3(uint8_t rop3, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t res = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((rop3 >> i) & 1)) continue;
    res |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return res & kRgb;
}

uint8_t Rop2ToRop3(int rop2) {
  // R2 code - 1 is a truth table over (P << 1 | D); spread it over S.
  const int t = (rop2 - 1) & 0xF;
  uint8_t r = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if ((t >> (p * 2 + d)) & 1) r |= uint8_t(1 << i);
  }
  return r;
}

void FillRects(const Surface& dst, const std::vector<TRect>& rects, const Brush& brush, uint8_t rop3) {
  if (brush.solid && brush.paintMask == ~0ull) {
    const Pair pr = pairFor(rop3, brush.cells[0], 0);
    for (const TRect& r : rects)
      for (int y = r.Top; y < r.Bottom; ++y) {
        uint32_t* d = dst.row(y);
        if (pr.andMask == 0)
          std::fill(d + r.Left, d + r.Right, pr.xorMask);
        else
          for (int x = r.Left; x < r.Right; ++x) d[x] = ((d[x] & pr.andMask) ^ pr.xorMask) & kRgb;
      }
    return;
  }
  Pair pairs[64];
  for (int i = 0; i < 64; ++i) pairs[i] = pairFor(rop3, brush.cells[i], 0);
  for (const TRect& r : rects)
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint32_t* d = dst.row(y);
      const int prow = ((y - brush.orgY) & 7) * 8;
      for (int x = r.Left; x < r.Right; ++x) {
        const int cell = prow + ((x - brush.orgX) & 7);
        if (!((brush.paintMask >> cell) & 1)) continue;
        d[x] = ((d[x] & pairs[cell].andMask) ^ pairs[cell].xorMask) & kRgb;
      }
    }
}

void Blit(const Surface& dst, const std::vector<TRect>& rects, const Source& src, int dx, int dy,
          const Brush& brush, uint8_t rop3) {
  switch (conversionFor(dst, src)) {
    case Conv::Same: blitWithRop<Conv::Same>(dst, rects, src, dx, dy, brush, rop3); break;
    case Conv::MonoToColour: blitWithRop<Conv::MonoToColour>(dst, rects, src, dx, dy, brush, rop3); break;
    case Conv::ColourToMono: blitWithRop<Conv::ColourToMono>(dst, rects, src, dx, dy, brush, rop3); break;
  }
}

void StretchBlit(const Surface& dst, const std::vector<TRect>& rects, const Source& src,
                 const TRect& dstBox, const TRect& srcBox, const Brush& brush, uint8_t rop3) {
  // Nearest neighbour (COLORONCOLOR): resample into a scratch source of the destination box's
  // size, then run the ordinary copy loop over it.
  const int dw = dstBox.Width(), dh = dstBox.Height();
  if (dw <= 0 || dh <= 0 || srcBox.Width() <= 0 || srcBox.Height() <= 0) return;
  std::vector<uint32_t> scratch(size_t(dw) * size_t(dh));
  for (int y = 0; y < dh; ++y) {
    int sy = srcBox.Top + int((long long)y * srcBox.Height() / dh);
    const uint32_t* srow = src.bits + size_t(sy) * size_t(src.stride);
    for (int x = 0; x < dw; ++x)
      scratch[size_t(y) * dw + x] = srow[srcBox.Left + int((long long)x * srcBox.Width() / dw)];
  }
  Source s = src;
  s.bits = scratch.data();
  s.width = dw;
  s.height = dh;
  s.stride = dw;
  Blit(dst, rects, s, -dstBox.Left, -dstBox.Top, brush, rop3);
}

void ClipRects(const std::vector<TRect>& in, const std::vector<TRect>& clip, std::vector<TRect>& out) {
  out.clear();
  for (const TRect& r : in) {
    if (r.IsEmpty()) continue;
    for (const TRect& c : clip) {
      if (c.Top >= r.Bottom) break;  // clip rectangles are banded (sorted by Top)
      TRect x = IntersectRect(r, c);
      if (!x.IsEmpty()) out.push_back(x);
    }
  }
}

}  // namespace raster
