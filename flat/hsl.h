#pragma once
// The HSL colour model of the flat controls.
//
// Two scales:
//   real    hue, saturation and lightness in 0..1 (hue 1 wraps to 0)
//   scaled  integers on HslScale: hue 0..HslScale-1, saturation and lightness 0..HslScale
// Every real-to-integer step rounds to nearest with ties to even (std::lrint in the default
// rounding mode). Colours are resolved with ColorToRGB first, so system colours work too.
#include "platform/core/types.h"

constexpr int HslScale = 240;

struct THsl {
  double Hue = 0;         // 0..1
  double Saturation = 0;  // 0..1
  double Lightness = 0;   // 0..1
};

struct THslScaled {
  int Hue = 0;         // 0..HslScale-1
  int Saturation = 0;  // 0..HslScale
  int Lightness = 0;   // 0..HslScale
  friend bool operator==(const THslScaled&, const THslScaled&) = default;
};

THsl HslFromColor(TColor color);
TColor ColorFromHsl(double hue, double saturation, double lightness);
// One RGB channel (0..255) of the colour with the given m1/m2 bounds at hue h.
int HueChannel(double m1, double m2, double h);

THslScaled HslScaledFromColor(TColor color);
TColor ColorFromHslScaled(int hue, int saturation, int lightness);

// The "advanced" colours: base lightened or darkened by amount (0..100) on the scaled
// lightness, after a fixed +10. Amount 0 returns current (not base) unchanged. A lighter
// shift stops at scaled lightness 100, not at HslScale.
TColor ShiftLightness(TColor base, TColor current, int amount, bool darker);
