#pragma once
// The program's icon, drawn in code at any size: a teal rounded square holding a white list of
// terms, with an amber magnifying glass over its lower right. The same drawing becomes the
// windows' icon (SetApplicationIcon, at start-up) and the PNG files of a desktop install
// (quillon_make_icons, at build time).
//
// The shapes are laid out on the unit square (y down) and filled at kSamples x kSamples points
// per pixel, painted back to front with "over" blending; a pixel's opacity is the mean
// coverage of its samples and its colour the mean colour of what covers them.
#include <vector>

#include "platform/gfx/bitmap.h"

struct AppIconPicture {
  int Size = 0;     // pixels on each side
  TBitmap Colors;   // straight (not premultiplied) colours; black where nothing covers
  TBitmap Opacity;  // grey level = opacity: black transparent, white opaque
};

AppIconPicture DrawAppIcon(int size);

// The sizes a desktop icon theme holds (hicolor), smallest first.
const std::vector<int>& AppIconThemeSizes();
// The sizes given to the windows: what title bars and task switchers show.
const std::vector<int>& AppIconWindowSizes();
