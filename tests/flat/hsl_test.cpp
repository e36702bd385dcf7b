#include "flat/hsl.h"

#include <gtest/gtest.h>

namespace {

TEST(Hsl, FromColorOfGreysAndPrimaries) {
  struct Case {
    TColor color;
    double hue, saturation, lightness;
    const char* reason;
  };
  const Case cases[] = {
      {clBlack, 0, 0, 0, "grey: max = min gives hue and saturation 0"},
      {clWhite, 0, 0, 1, "grey at full lightness"},
      {RGBColor(128, 128, 128), 0, 0, 128 / 255.0, "mid grey"},
      {clRed, 0, 1, 0.5, "red is tested first: hue 0"},
      {clLime, 1 / 3.0, 1, 0.5, "green: 2 + (b - r) / d, over 6"},
      {clBlue, 2 / 3.0, 1, 0.5, "blue: 4 + (r - g) / d, over 6"},
      {clFuchsia, 5 / 6.0, 1, 0.5, "red max with b > g: negative hue wraps by adding 1"},
      {RGBColor(255, 255, 0), 1 / 6.0, 1, 0.5, "red and green tie: the red branch wins"},
      {RGBColor(64, 0, 0), 0, 1, 32 / 255.0, "dark: saturation d / (max + min)"},
      {RGBColor(255, 191, 191), 0, 1, 223 / 255.0, "light: saturation d / (2 - max - min)"},
  };
  for (const Case& c : cases) {
    THsl hsl = HslFromColor(c.color);
    EXPECT_NEAR(hsl.Hue, c.hue, 1e-9) << c.reason;
    EXPECT_NEAR(hsl.Saturation, c.saturation, 1e-9) << c.reason;
    EXPECT_NEAR(hsl.Lightness, c.lightness, 1e-9) << c.reason;
  }
}

TEST(Hsl, SystemColoursResolveBeforeConversion) {
  EXPECT_EQ(HslScaledFromColor(clBtnFace), HslScaledFromColor(ColorToRGB(clBtnFace)));
  EXPECT_EQ(HslScaledFromColor(clWindow), (THslScaled{0, 0, 240}));
}

TEST(Hsl, ToColorWithoutSaturationIsGrey) {
  struct Case {
    double lightness;
    uint8_t grey;
  };
  // round(lightness * 255); 0.5 gives 127.5, which rounds to the even 128.
  const Case cases[] = {{0, 0}, {1, 255}, {0.5, 128}, {0.25, 64}, {0.1, 26}};
  for (const Case& c : cases)
    EXPECT_EQ(ColorFromHsl(0.7, 0, c.lightness), RGBColor(c.grey, c.grey, c.grey)) << c.lightness;
}

TEST(Hsl, HueChannelPiecewise) {
  struct Case {
    double m1, m2, h;
    int expected;
    const char* reason;
  };
  const Case cases[] = {
      {0, 1, 0.1, 153, "rising edge: m1 + (m2 - m1) * h * 6"},
      {0, 1, 0.3, 255, "plateau while 2h < 1"},
      {0, 1, 0.6, 102, "falling edge: (2/3 - h) * 6"},
      {0, 1, 0.9, 0, "m1 beyond 2/3"},
      {0, 1, -0.9, 153, "a negative hue wraps by adding 1"},
      {0, 1, 1.3, 255, "a hue above 1 wraps by subtracting 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(HueChannel(c.m1, c.m2, c.h), c.expected) << c.reason;
}

TEST(Hsl, ScaledValues) {
  struct Case {
    TColor color;
    THslScaled expected;
    const char* reason;
  };
  const Case cases[] = {
      {clRed, {0, 240, 120}, "hue 0"},
      {clLime, {80, 240, 120}, "239 / 3 = 79.67 rounds to 80"},
      {clBlue, {159, 240, 120}, "239 * 2 / 3 = 159.33 rounds to 159"},
      {clWhite, {0, 0, 240}, "lightness 240 at full scale"},
      {RGBColor(128, 128, 128), {0, 0, 120}, "240 * 128 / 255 = 120.47"},
      {0xE1EAEB, {36, 48, 216}, "the default face colour: hue 0.15, saturation 0.2"},
  };
  for (const Case& c : cases) EXPECT_EQ(HslScaledFromColor(c.color), c.expected) << c.reason;
}

TEST(Hsl, RoundTrips) {
  const TColor colors[] = {clBlack,  clWhite,  clRed,    clLime,   clBlue,   clGray,
                           0xE1EAEB, 0xC5D6D9, 0x8396A0, 0x123456, 0xFEDCBA, 0x00A0B0C0};
  for (TColor c : colors) {
    THsl hsl = HslFromColor(c);
    EXPECT_EQ(ColorFromHsl(hsl.Hue, hsl.Saturation, hsl.Lightness), c) << std::hex << c;
  }
  // The scaled form keeps red and the greys exactly; other hues move by the rounding of
  // 239 * hue (green: 80 / 239 is a little past 1/3, so a trace of blue appears).
  for (TColor c : {clRed, clBlack, clWhite, clGray}) {
    THslScaled s = HslScaledFromColor(c);
    EXPECT_EQ(ColorFromHslScaled(s.Hue, s.Saturation, s.Lightness), c) << std::hex << c;
  }
  EXPECT_EQ(ColorFromHslScaled(80, 240, 120), RGBColor(0, 255, 2));
}

TEST(Hsl, ShiftLightness) {
  // Amount 0: the current colour comes back, not the base.
  EXPECT_EQ(ShiftLightness(clRed, 0x123456, 0, false), 0x123456u);
  EXPECT_EQ(ShiftLightness(clRed, 0x123456, 0, true), 0x123456u);

  struct Case {
    TColor base;
    int amount;
    bool darker;
    int lightness;  // scaled lightness of the result
    const char* reason;
  };
  const Case cases[] = {
      {0xE1EAEB, 50, true, 176, "216 + 10 - 50"},
      {clBlack, 5, true, 5, "0 + 10 - 5: the offset comes first"},
      {clBlack, 50, true, 0, "0 + 10 - 50 clamps at 0"},
      {clBlack, 20, false, 30, "0 + 10 + 20"},
      {0xE1EAEB, 10, false, 100, "216 + 10 + 10 clamps at 100, not 240"},
      {clWhite, 100, false, 100, "even white comes out at lightness 100"},
  };
  for (const Case& c : cases) {
    TColor shifted = ShiftLightness(c.base, clRed, c.amount, c.darker);
    EXPECT_EQ(HslScaledFromColor(shifted).Lightness, c.lightness) << c.reason;
  }
  // White lightened: a grey of lightness 100 / 240 (106.25 -> 106).
  EXPECT_EQ(ShiftLightness(clWhite, clRed, 10, false), RGBColor(106, 106, 106));
}

}  // namespace
