#pragma once
// The pixel loops of the canvas (internal). Callers have already applied the GDI rules
// (gdi_rules.h) and clipped: every routine here takes device rectangles that lie inside the
// surface and the clip region, and runs one loop per rectangle.
//
// Raster operations are kept as Windows codes: a ternary ROP's index byte (bits 16..23 of the
// BitBlt code) is a truth table over pattern P, source S and destination D with bit
// (P << 2 | S << 1 | D); binary ROPs (pen modes) become the ternary op that ignores S. For a
// fixed P and S a ROP is the and/xor pair  D' = (D & A) ^ X, which the loops use.
#include <cstdint>
#include <vector>

#include "platform/core/types.h"

namespace raster {

struct Surface {
  uint32_t* bits = nullptr;  // 0x00RRGGBB
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
  bool mono = false;  // only black / white may be stored
  uint32_t* row(int y) const { return bits + size_t(y) * size_t(stride); }
};

// Nearest of black and white, as a colour is matched to a 1-bit surface.
inline uint32_t SnapMono(uint32_t pixel) {
  int sum = int((pixel >> 16) & 0xFF) + int((pixel >> 8) & 0xFF) + int(pixel & 0xFF);
  return sum >= 384 ? 0x00FFFFFFu : 0u;
}

// A realised brush: 8 x 8 cells aligned so that cell (0, 0) lands on device (orgX, orgY)
// modulo 8. Cells outside paintMask are not touched (hatch backgrounds, transparent mode).
struct Brush {
  uint32_t cells[64] = {};  // row-major, 0x00RRGGBB
  uint64_t paintMask = ~0ull;  // bit (row * 8 + col)
  bool solid = true;  // all cells equal and painted: fast path
  int orgX = 0;
  int orgY = 0;
  static Brush Solid(uint32_t pixel) {
    Brush b;
    for (uint32_t& c : b.cells) c = pixel;
    return b;
  }
};

// The rop3 index of a binary raster operation R2_* (1..16).
uint8_t Rop2ToRop3(int rop2);

// Applies a source-less ternary ROP (pattern and destination) to each rectangle.
void FillRects(const Surface& dst, const std::vector<TRect>& rects, const Brush& brush, uint8_t rop3);

// How source pixels become destination-format pixels before the ROP.
struct Source {
  const uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  bool mono = false;
  // Mono source onto a colour destination: clear bits -> fg, set bits -> bg (text and
  // background colours of the destination). Colour source onto a mono destination: pixels
  // equal to srcBk -> white, others black.
  uint32_t fg = 0, bg = 0x00FFFFFF, srcBk = 0x00FFFFFF;
  // Only pixels whose original value differs from this are written (transparent draws);
  // 0xFFFFFFFF = all pixels.
  uint32_t skipPixel = 0xFFFFFFFFu;
};

// Copies with a ternary ROP; destination pixel (x, y) reads source (x + dx, y + dy). For a
// stretch, sxOf / syOf map destination columns / rows (relative to map origin) to source.
void Blit(const Surface& dst, const std::vector<TRect>& rects, const Source& src, int dx, int dy,
          const Brush& brush, uint8_t rop3);
void StretchBlit(const Surface& dst, const std::vector<TRect>& rects, const Source& src,
                 const TRect& dstBox, const TRect& srcBox, const Brush& brush, uint8_t rop3);

// Evaluates a ternary ROP on 24-bit values (exposed for tests of the tables).
uint32_t Rop3(uint8_t rop3, uint32_t p, uint32_t s, uint32_t d);

// Clips rectangles to the clip rectangles (non-overlapping); the result does not overlap
// as long as the inputs do not.
void ClipRects(const std::vector<TRect>& in, const std::vector<TRect>& clip, std::vector<TRect>& out);

}  // namespace raster
