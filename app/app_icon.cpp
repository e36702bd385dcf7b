#include "app/app_icon.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 4;  // per pixel side

struct Rgb {
  double r, g, b;  // 0..1
};

constexpr Rgb hex(uint32_t rrggbb) {
  return {((rrggbb >> 16) & 0xFF) / 255.0, ((rrggbb >> 8) & 0xFF) / 255.0, (rrggbb & 0xFF) / 255.0};
}

// Inside tests on the unit square.
bool inRoundedRect(double x, double y, double left, double top, double right, double bottom,
                   double radius) {
  if (x < left || x >= right || y < top || y >= bottom) return false;
  const double cx = std::clamp(x, left + radius, right - radius);
  const double cy = std::clamp(y, top + radius, bottom - radius);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool inCircle(double x, double y, double cx, double cy, double radius) {
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// A stroke with round ends from (x0, y0) to (x1, y1), half as thick as `halfWidth` says.
bool inCapsule(double x, double y, double x0, double y0, double x1, double y1, double halfWidth) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return inCircle(x, y, x0 + t * dx, y0 + t * dy, halfWidth);
}

// Geometry, back to front.
constexpr double kGlassX = 0.64, kGlassY = 0.62;        // the lens's centre
constexpr double kLensRadius = 0.165, kRingRadius = 0.225;
constexpr double kTermLineTops[] = {0.28, 0.40, 0.52, 0.64};
constexpr double kTermLineHeight = 0.06;

// The colour one sample point shows (premultiplied), with its coverage.
struct Sample {
  Rgb color{0, 0, 0};
  double alpha = 0;
  void over(const Rgb& c, double a) {
    color = {c.r * a + color.r * (1 - a), c.g * a + color.g * (1 - a), c.b * a + color.b * (1 - a)};
    alpha = a + alpha * (1 - a);
  }
};

Sample shade(double x, double y) {
  Sample s;
  // The rounded square, lighter at the top.
  if (inRoundedRect(x, y, 0.0625, 0.0625, 0.9375, 0.9375, 0.17)) {
    const double t = (y - 0.0625) / 0.875;
    const Rgb top = hex(0x2CA3B5), bottom = hex(0x13606F);
    s.over({top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t}, 1);
  }
  // The card with its list of terms: a red heading line, then grey term lines.
  if (inRoundedRect(x, y, 0.21, 0.15, 0.69, 0.81, 0.05)) s.over(hex(0xFFFFFF), 1);
  for (int i = 0; i < 4; ++i) {
    const double top = kTermLineTops[i];
    const double right = i == 0 ? 0.50 : 0.61;
    if (inRoundedRect(x, y, 0.29, top, right, top + kTermLineHeight, kTermLineHeight / 2))
      s.over(i == 0 ? hex(0xD64541) : hex(0x7C9BA5), 1);
  }
  // The magnifying glass: a tinted lens, its ring and its handle.
  if (inCircle(x, y, kGlassX, kGlassY, kLensRadius)) s.over(hex(0xD8F3F8), 0.55);
  if (inCircle(x, y, kGlassX, kGlassY, kRingRadius) && !inCircle(x, y, kGlassX, kGlassY, kLensRadius))
    s.over(hex(0xF5A623), 1);
  if (inCapsule(x, y, 0.80, 0.78, 0.885, 0.865, 0.055)) s.over(hex(0xD9861C), 1);
  return s;
}

uint8_t byteOf(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

AppIconPicture DrawAppIcon(int size) {
  AppIconPicture picture{size, TBitmap(size, size), TBitmap(size, size)};
  const double step = 1.0 / (size * kSamples);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      Sample sum;  // premultiplied colours and coverage, added over the pixel's samples
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Sample s = shade((px * kSamples + sx + 0.5) * step, (py * kSamples + sy + 0.5) * step);
          sum.color = {sum.color.r + s.color.r, sum.color.g + s.color.g, sum.color.b + s.color.b};
          sum.alpha += s.alpha;
        }
      }
      const double n = kSamples * kSamples;
      const double alpha = sum.alpha / n;
      Rgb straight = sum.alpha > 0 ? Rgb{sum.color.r / sum.alpha, sum.color.g / sum.alpha, sum.color.b / sum.alpha}
                                   : Rgb{0, 0, 0};
      picture.Colors.SetPixel(px, py, RGBColor(byteOf(straight.r), byteOf(straight.g), byteOf(straight.b)));
      const uint8_t a = byteOf(alpha);
      picture.Opacity.SetPixel(px, py, RGBColor(a, a, a));
    }
  }
  return picture;
}

const std::vector<int>& AppIconThemeSizes() {
  static const std::vector<int> sizes{16, 32, 48, 64, 128, 256};
  return sizes;
}

const std::vector<int>& AppIconWindowSizes() {
  static const std::vector<int> sizes{16, 24, 32, 48, 64};
  return sizes;
}
