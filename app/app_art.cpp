#include "app/app_art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"

namespace {

uint8_t mix(uint8_t a, uint8_t b, double t) { return uint8_t(std::lround(a + (b - a) * t)); }

TColor mixColor(TColor a, TColor b, double t) {
  return RGBColor(mix(GetRValue(a), GetRValue(b), t), mix(GetGValue(a), GetGValue(b), t),
                  mix(GetBValue(a), GetBValue(b), t));
}

// A small deterministic noise source, so the "photograph" has grain but every build draws the
// same picture.
uint32_t hash(uint32_t x, uint32_t y) {
  uint32_t h = x * 374761393u + y * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Pixel art: one character per pixel, keyed to the sixteen standard colours.
TColor keyColor(char c) {
  switch (c) {
    case 'k': return clBlack;
    case 'm': return clMaroon;
    case 'g': return clGreen;
    case 'o': return clOlive;
    case 'n': return clNavy;
    case 'p': return clPurple;
    case 't': return clTeal;
    case 'd': return clGray;
    case 's': return clSilver;
    case 'r': return clRed;
    case 'l': return clLime;
    case 'y': return clYellow;
    case 'b': return clBlue;
    case 'f': return clFuchsia;
    case 'a': return clAqua;
    case 'w': return clWhite;
    default: return clOlive;
  }
}

void drawArt(TBitmap& bmp, int left, const std::vector<std::string>& rows) {
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      bmp.SetPixel(left + int(x), int(y), keyColor(rows[y][x]));
}

// The disabled image of a glyph, as the classic toolkits draw it: the shape's dark pixels in
// grey over a white copy one pixel to the lower right, everything else transparent olive.
void drawDisabled(TBitmap& bmp, int left, const std::vector<std::string>& rows) {
  const int h = int(rows.size());
  const int w = int(rows[0].size());
  auto dark = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    char c = rows[y][x];
    return c == 'k' || c == 'n' || c == 'd';  // outlines and dark details
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TColor c = clOlive;
      if (dark(x, y)) c = clGray;
      else if (dark(x - 1, y - 1)) c = clWhite;
      bmp.SetPixel(left + x, y, c);
    }
}

TBitmap twoImageGlyph(const std::vector<std::string>& rows) {
  const int w = int(rows[0].size());
  TBitmap bmp(2 * w, int(rows.size()));
  drawArt(bmp, 0, rows);
  drawDisabled(bmp, w, rows);
  return bmp;
}

}  // namespace

TBitmap DrawSplashPicture() {
  const int w = 768, h = 512;
  TBitmap bmp(w, h);
  // Night sky: deep blue at the top to almost black at the horizon, with grain.
  for (int y = 0; y < h; ++y) {
    TColor row = mixColor(RGBColor(18, 30, 62), RGBColor(6, 8, 16), double(y) / h);
    for (int x = 0; x < w; ++x) {
      int n = int(hash(x, y) % 9) - 4;
      TColor c = RGBColor(uint8_t(std::clamp(GetRValue(row) + n, 0, 255)),
                          uint8_t(std::clamp(GetGValue(row) + n, 0, 255)),
                          uint8_t(std::clamp(GetBValue(row) + n, 0, 255)));
      bmp.SetPixel(x, y, c);
    }
  }
  TCanvas& c = bmp.Canvas();
  // Stars.
  for (int i = 0; i < 260; ++i) {
    int x = int(hash(i, 7) % w), y = int(hash(i, 11) % (h - 120));
    uint8_t v = uint8_t(150 + hash(i, 13) % 100);
    bmp.SetPixel(x, y, RGBColor(v, v, uint8_t(std::min(255, v + 20))));
  }
  // A pale moon with its halo.
  c.Pen.SetStyle(psClear);
  c.Brush.SetColor(RGBColor(40, 52, 84));
  c.Ellipse(726, 0, 766, 40);
  c.Brush.SetColor(RGBColor(226, 222, 196));
  c.Ellipse(734, 8, 758, 32);
  // Two ranges of hills.
  c.Brush.SetColor(RGBColor(22, 30, 36));
  c.Polygon({{0, 430}, {120, 380}, {250, 410}, {390, 360}, {540, 400}, {660, 370}, {767, 395},
             {767, 511}, {0, 511}});
  c.Brush.SetColor(RGBColor(10, 14, 16));
  c.Polygon({{0, 470}, {160, 440}, {300, 465}, {470, 432}, {610, 462}, {767, 445}, {767, 511},
             {0, 511}});
  // The light parchment panel the text sits on: a soft gradient with a thin frame and a faint
  // shadow, so it reads as paper laid over the photograph.
  const TRect light = kSplashLightRect;
  c.Brush.SetColor(RGBColor(4, 4, 8));
  c.FillRect(light.Offset(6, 6));
  for (int y = light.Top; y < light.Bottom; ++y) {
    double t = double(y - light.Top) / light.Height();
    TColor row = mixColor(RGBColor(246, 240, 222), RGBColor(232, 222, 196), t);
    for (int x = light.Left; x < light.Right; ++x) {
      int n = int(hash(x + 1000, y) % 5) - 2;
      bmp.SetPixel(x, y, RGBColor(uint8_t(GetRValue(row) + n), uint8_t(GetGValue(row) + n),
                                  uint8_t(GetBValue(row) + n)));
    }
  }
  c.Pen.SetStyle(psSolid);
  c.Pen.SetColor(RGBColor(150, 128, 92));
  c.Brush.SetStyle(bsClear);
  c.Rectangle(light.Inflate(-6, -6));
  return bmp;
}

TBitmap DrawAboutPicture() {
  const int w = 93, h = 196;
  TBitmap bmp(w, h);
  for (int y = 0; y < h; ++y) {
    TColor row = mixColor(RGBColor(40, 120, 150), RGBColor(12, 34, 80), double(y) / h);
    for (int x = 0; x < w; ++x) bmp.SetPixel(x, y, row);
  }
  TCanvas& c = bmp.Canvas();
  // A capsule standing on end: a white half and a red half.
  c.Pen.SetColor(RGBColor(20, 20, 40));
  c.Brush.SetColor(clWhite);
  c.Ellipse(28, 40, 66, 78);
  c.Brush.SetColor(RGBColor(200, 40, 40));
  c.Ellipse(28, 104, 66, 142);
  c.Pen.SetStyle(psClear);
  c.Brush.SetColor(clWhite);
  c.FillRect({29, 59, 65, 92});
  c.Brush.SetColor(RGBColor(200, 40, 40));
  c.FillRect({29, 91, 65, 124});
  c.Pen.SetStyle(psSolid);
  c.Pen.SetColor(RGBColor(20, 20, 40));
  c.MoveTo(28, 59);
  c.LineTo(28, 124);
  c.MoveTo(65, 59);
  c.LineTo(65, 124);
  c.MoveTo(29, 91);
  c.LineTo(65, 91);
  // Lines of a page below it, as on a reference book.
  c.Pen.SetColor(RGBColor(150, 190, 210));
  for (int y = 156; y < 188; y += 6) {
    c.MoveTo(16, y);
    c.LineTo(y % 12 == 0 ? 60 : 77, y);
  }
  return bmp;
}

TBitmap DrawExitGlyph() {
  return twoImageGlyph({
      "..................",
      "....kkkkkkkkkk....",
      "....kddddddddk....",
      "....kdkkkkkkdk....",
      "....kdkmmkkkdk....",
      "....kdkmmmmkdk....",
      ".k..kdkmmmmmdk....",
      ".kk.kdkmmmmmdk....",
      "kkkkkdkmmmmmdk....",
      "kkkkkdkmmymmdk....",
      ".kk.kdkmmmmmdk....",
      ".k..kdkmmmmmdk....",
      "....kdkmmmmmdk....",
      "....kdkkmmmmdk....",
      "....kdkkkkmmdk....",
      "....kddddddddk....",
      "....kkkkkkkkkk....",
      "..................",
  });
}

TBitmap DrawHelpGlyph() {
  return twoImageGlyph({
      "................",
      ".....kkkkkk.....",
      "...kkyyyyyykk...",
      "..kyyyknnkyyyk..",
      "..kyyknyynkyyk..",
      ".kyyyyyyynkyyyk.",
      ".kyyyyyyknyyyyk.",
      ".kyyyyyknyyyyyk.",
      ".kyyyyynkyyyyyk.",
      ".kyyyyynyyyyyyk.",
      "..kyyyyyyyyyyk..",
      "..kyyyynnyyyyk..",
      "...kkyynnyykk...",
      ".....kkkkkk.....",
      "................",
      "................",
  });
}

TBitmap DrawAboutGlyph() {
  return twoImageGlyph({
      "................",
      "................",
      "..kkkk....kkkk..",
      ".kwwwwkk.kwwwwk.",
      ".kwddwwwkwwddwk.",
      ".kwwwwwwkwwwwwk.",
      ".kwddddwkwdddwk.",
      ".kwwwwwwkwwwwwk.",
      ".kwdddwwkwddddk.",
      ".kwwwwwwkwwwwwk.",
      ".kwddddwkwdddwk.",
      ".kwwwwwwkwwwwwk.",
      ".kkkkwwwkwwkkkk.",
      ".nnnnkkkkkknnnn.",
      "......nnnn......",
      "................",
  });
}
