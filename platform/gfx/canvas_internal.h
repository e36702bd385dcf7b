#pragma once
// Shared by the canvas's source files (internal): the saved DC state and small helpers that
// turn the canvas's tools into raster inputs.
#include <optional>

#include "platform/gfx/canvas.h"
#include "platform/gfx/raster.h"

struct TCanvas::SavedState {
  std::optional<TRegion> clip;
  TPoint viewportOrg, brushOrg, penPos;
  TPen pen;
  TBrush brush;
  TFont font;
  uint32_t copyMode;
  TColor textColor, bkColor;
  int bkMode;
  unsigned textAlign;
  int polyFillMode;
  TColor realisedFontColor, realisedBrushColor;
  TBrushStyle realisedBrushStyle;
};
