#include "flat/hsl.h"

#include <algorithm>
#include <cmath>

namespace {
int roundHalfEven(double v) { return static_cast<int>(std::lrint(v)); }
}  // namespace

THsl HslFromColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  double max = std::max({r, g, b});
  double min = std::min({r, g, b});
  THsl hsl;
  hsl.Lightness = (max + min) / 2;
  if (max == min) return hsl;  // a grey: hue and saturation 0
  double d = max - min;
  hsl.Saturation = hsl.Lightness < 0.5 ? d / (max + min) : d / (2 - max - min);
  // Red is tested first, then green, so ties between channels resolve in that order.
  double hue;
  if (r == max)
    hue = (g - b) / d;
  else if (g == max)
    hue = 2 + (b - r) / d;
  else
    hue = 4 + (r - g) / d;
  hue /= 6;
  if (hue < 0) hue += 1;
  hsl.Hue = hue;
  return hsl;
}

int HueChannel(double m1, double m2, double h) {
  if (h < 0)
    h += 1;
  else if (h > 1)
    h -= 1;
  double v;
  if (6 * h < 1)
    v = m1 + (m2 - m1) * h * 6;
  else if (2 * h < 1)
    v = m2;
  else if (3 * h < 2)
    v = m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
  else
    v = m1;
  return roundHalfEven(v * 255);
}

TColor ColorFromHsl(double hue, double saturation, double lightness) {
  if (saturation == 0) {
    auto v = static_cast<uint8_t>(std::clamp(roundHalfEven(lightness * 255), 0, 255));
    return RGBColor(v, v, v);
  }
  double m2 = lightness <= 0.5 ? lightness * (1 + saturation)
                               : lightness + saturation - lightness * saturation;
  double m1 = 2 * lightness - m2;
  auto channel = [&](double h) {
    return static_cast<uint8_t>(std::clamp(HueChannel(m1, m2, h), 0, 255));
  };
  return RGBColor(channel(hue + 1.0 / 3.0), channel(hue), channel(hue - 1.0 / 3.0));
}

THslScaled HslScaledFromColor(TColor color) {
  THsl hsl = HslFromColor(color);
  return {roundHalfEven((HslScale - 1) * hsl.Hue), roundHalfEven(HslScale * hsl.Saturation),
          roundHalfEven(HslScale * hsl.Lightness)};
}

TColor ColorFromHslScaled(int hue, int saturation, int lightness) {
  return ColorFromHsl(hue / double(HslScale - 1), saturation / double(HslScale),
                      lightness / double(HslScale));
}

TColor ShiftLightness(TColor base, TColor current, int amount, bool darker) {
  if (amount == 0) return current;
  THslScaled hsl = HslScaledFromColor(base);
  int lightness = hsl.Lightness + 10;  // the offset comes first, in both directions
  if (darker)
    lightness = std::max(lightness - amount, 0);
  else
    lightness = std::min(lightness + amount, 100);  // 100 on the 0..240 scale, on purpose
  return ColorFromHslScaled(hsl.Hue, hsl.Saturation, lightness);
}
