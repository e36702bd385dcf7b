#include "tests/support/pixel_checks.h"

#include <gtest/gtest.h>

#include <sstream>

PixelSource::PixelSource(const TBitmap& bitmap)
    : at([&bitmap](int x, int y) { return bitmap.GetPixel(x, y); }),
      bounds{0, 0, bitmap.Width(), bitmap.Height()} {}

TBitmap MakeBitmap(int width, int height, TColor fill) {
  TBitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, fill);
  return b;
}

std::string ColorText(TColor color) {
  std::ostringstream s;
  s << "0x" << std::hex << ColorToRGB(color);
  return s.str();
}

void ExpectPixels(const PixelSource& pixels, const std::vector<PixelCase>& cases,
                  const std::string& context) {
  for (const PixelCase& c : cases) {
    if (!pixels.bounds.Contains({c.x, c.y})) {
      ADD_FAILURE() << context << " (" << c.x << ", " << c.y << "): outside the surface";
      continue;
    }
    EXPECT_EQ(ColorText(pixels.at(c.x, c.y)), ColorText(c.color))
        << context << " (" << c.x << ", " << c.y << "): " << c.reason;
  }
}

namespace {

// Calls visit(x, y, colour) for every readable pixel of area.
template <typename Visit>
void ForEachPixel(const PixelSource& pixels, const TRect& area, Visit visit) {
  const TRect readable = IntersectRect(area, pixels.bounds);
  for (int y = readable.Top; y < readable.Bottom; ++y)
    for (int x = readable.Left; x < readable.Right; ++x) visit(x, y, pixels.at(x, y));
}

}  // namespace

TRect InkBox(const PixelSource& pixels, TColor background, const TRect& area) {
  const TColor back = ColorToRGB(background);
  TRect box;
  ForEachPixel(pixels, area, [&](int x, int y, TColor c) {
    if (c != back) box = UnionRect(box, TRect{x, y, x + 1, y + 1});
  });
  return box;
}

TRect InkBox(const PixelSource& pixels, TColor background) {
  return InkBox(pixels, background, pixels.bounds);
}

int InkCount(const PixelSource& pixels, TColor background, const TRect& area) {
  const TColor back = ColorToRGB(background);
  int count = 0;
  ForEachPixel(pixels, area, [&](int, int, TColor c) { count += c != back; });
  return count;
}

bool HasColor(const PixelSource& pixels, TColor color, const TRect& area) {
  const TColor wanted = ColorToRGB(color);
  bool found = false;
  ForEachPixel(pixels, area, [&](int, int, TColor c) { found = found || c == wanted; });
  return found;
}

std::string Picture(const PixelSource& pixels, TColor background) {
  const TColor back = ColorToRGB(background);
  std::string s;
  ForEachPixel(pixels, pixels.bounds, [&](int x, int, TColor c) {
    s += c == back ? '.' : '#';
    if (x == pixels.bounds.Right - 1) s += '\n';
  });
  return s;
}
