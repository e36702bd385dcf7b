#pragma once
// Pixel checks shared by the drawing tests: a table of expected pixels with the reason for
// each, the box and count of ink (pixels unlike the background), a colour search and a text
// picture for failure messages. The checks read through a PixelSource, so the same ones serve
// a bitmap drawn in a test and a control on a shown form (see test_form.h).
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/bitmap.h"

// One expected pixel: where, what colour, and why it has that colour.
struct PixelCase {
  int x, y;
  TColor color;
  const char* reason;
};

// A surface to read: the RGB colour at a point, and the rectangle where points can be read.
struct PixelSource {
  std::function<TColor(int x, int y)> at;
  TRect bounds;

  PixelSource(std::function<TColor(int x, int y)> reader, const TRect& readable)
      : at(std::move(reader)), bounds(readable) {}
  // A bitmap in its own coordinates; it must outlive the source. Not explicit, so the checks
  // take a bitmap as it is.
  PixelSource(const TBitmap& bitmap);
};

// A bitmap of the given size filled with one colour.
TBitmap MakeBitmap(int width, int height, TColor fill);

// "0x" and the RGB value in hex: how failure messages show a colour.
std::string ColorText(TColor color);

// Checks every case; a failure names the context, the point and the case's reason.
void ExpectPixels(const PixelSource& pixels, const std::vector<PixelCase>& cases,
                  const std::string& context = {});

// Bounding box of the pixels in area (or the whole source) that differ from background;
// empty when there are none.
TRect InkBox(const PixelSource& pixels, TColor background, const TRect& area);
TRect InkBox(const PixelSource& pixels, TColor background);
// How many pixels in area differ from background.
int InkCount(const PixelSource& pixels, TColor background, const TRect& area);
// Whether any pixel in area has color.
bool HasColor(const PixelSource& pixels, TColor color, const TRect& area);
// Rows of '#' (ink) and '.' (background) over the whole source, for failure messages.
std::string Picture(const PixelSource& pixels, TColor background);
