#pragma once
// Small helpers for the canvas tests: bitmaps made in code and pixel checks with reasons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

// A bitmap of the given size filled with one colour.
inline TBitmap MakeBitmap(int w, int h, TColor fill) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, fill);
  return b;
}

// One expected pixel: where, what colour, and the GDI rule that puts it there.
struct PixelCase {
  int x, y;
  TColor color;
  const char* reason;
};

inline void ExpectPixels(const TBitmap& b, const std::vector<PixelCase>& cases) {
  for (const PixelCase& c : cases)
    EXPECT_EQ(b.GetPixel(c.x, c.y), ColorToRGB(c.color))
        << "(" << c.x << ", " << c.y << "): " << c.reason;
}

// Bounding box of the pixels that differ from the background colour (empty when none).
inline TRect InkBox(const TBitmap& b, TColor background) {
  TRect box;
  bool any = false;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.GetPixel(x, y) != ColorToRGB(background)) {
        if (!any) box = {x, y, x + 1, y + 1};
        box = UnionRect(box, TRect{x, y, x + 1, y + 1});
        any = true;
      }
  return box;
}

inline int InkCount(const TBitmap& b, TColor background, const TRect& area) {
  int n = 0;
  for (int y = std::max(0, area.Top); y < std::min(b.Height(), area.Bottom); ++y)
    for (int x = std::max(0, area.Left); x < std::min(b.Width(), area.Right); ++x)
      n += b.GetPixel(x, y) != ColorToRGB(background);
  return n;
}

// Rows of '#' (colour ink) and '.' (background) for pictures in failure messages.
inline std::string Picture(const TBitmap& b, TColor background) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) s += b.GetPixel(x, y) == ColorToRGB(background) ? '.' : '#';
    s += '\n';
  }
  return s;
}
