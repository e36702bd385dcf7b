#pragma once
// The pictures stored in the program, as a form description stores them: the splash
// photograph as JPEG bytes, the About picture as a 24-bit Windows bitmap, the glyphs as
// 16-colour Windows bitmaps. Generated at build time by quillon_make_resources (app_art.h
// draws them); the forms decode them when they are created.
#include <cstddef>
#include <cstdint>

struct TResourceBytes {
  const uint8_t* Data;
  size_t Size;
};

TResourceBytes SplashJpeg();       // 768 x 512, three components
TResourceBytes AboutBitmap();      // 93 x 196, 24 bits per pixel
TResourceBytes ExitGlyphBitmap();  // 36 x 18, 4 bits per pixel
TResourceBytes HelpGlyphBitmap();  // 32 x 16, 4 bits per pixel
TResourceBytes AboutGlyphBitmap(); // 32 x 16, 4 bits per pixel
