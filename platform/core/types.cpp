#include "platform/core/types.h"

namespace {
TColor sysColors[COLOR_SYSCOLOR_COUNT] = {
    RGBColor(212, 208, 200),  // scroll bar
    RGBColor(58, 110, 165),   // desktop background
    RGBColor(10, 36, 106),    // active caption
    RGBColor(128, 128, 128),  // inactive caption
    RGBColor(212, 208, 200),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(0, 0, 0),        // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(255, 255, 255),  // caption text
    RGBColor(212, 208, 200),  // active border
    RGBColor(212, 208, 200),  // inactive border
    RGBColor(128, 128, 128),  // application workspace
    RGBColor(10, 36, 106),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(212, 208, 200),  // button face
    RGBColor(128, 128, 128),  // button shadow
    RGBColor(128, 128, 128),  // grey text
    RGBColor(0, 0, 0),        // button text
    RGBColor(212, 208, 200),  // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(64, 64, 64),     // 3-D dark shadow
    RGBColor(212, 208, 200),  // 3-D light
    RGBColor(0, 0, 0),        // tooltip text
    RGBColor(255, 255, 225),  // tooltip background
};
}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= COLOR_SYSCOLOR_COUNT) return 0;
  return sysColors[index];
}

TColor SetSysColorForTest(int index, TColor rgb) {
  if (index < 0 || index >= COLOR_SYSCOLOR_COUNT) return 0;
  TColor old = sysColors[index];
  sysColors[index] = rgb & 0xFFFFFF;
  return old;
}

TColor ColorToRGB(TColor color) {
  if (color & clSystemColor) return GetSysColor(int(color & 0xFF));
  return color & 0xFFFFFF;
}
