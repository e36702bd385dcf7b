#pragma once
// The application's pictures, drawn in code with the canvas. The build runs
// quillon_make_resources, which draws them once and stores them in the program in the formats
// a stored form description would hold: the splash photograph as a JPEG, the About picture as
// a 24-bit bitmap and the button glyphs as 16-colour bitmaps (see app_resources.h).
#include "platform/gfx/bitmap.h"

// 768 x 512: a dark night landscape with a light parchment rectangle (picture coordinates
// 36..724 x 32..446) behind the splash window's preface text.
TBitmap DrawSplashPicture();
// The light rectangle of the splash picture, in picture coordinates.
constexpr TRect kSplashLightRect{36, 32, 724, 446};

// 93 x 196: the About window's side picture (a capsule over a tall gradient).
TBitmap DrawAboutPicture();

// Button glyphs: two images side by side (normal, disabled), olive (0x008080) background as
// the transparent colour, only the sixteen standard colours.
TBitmap DrawExitGlyph();   // 36 x 18: an open door with an arrow leaving it
TBitmap DrawHelpGlyph();   // 32 x 16: a question mark in a yellow disc
TBitmap DrawAboutGlyph();  // 32 x 16: an open book
