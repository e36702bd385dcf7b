#pragma once
// Frame, drop shadow and window region of the drop-down popups of the grid family.
//
// Frame kinds:
//   1  a single-pixel monochrome line (clWindowFrame)
//   2  a raised two-pixel edge, inside it a flat one-pixel ring (clBtnFace), inside that a
//      sunken one-pixel edge
//   3  a raised two-pixel edge
//   any other: no frame
// With a shadow the frame takes the rectangle less shadowSize at the right and bottom, and the
// shadow fills the strips that the frame moved by shadowSize leaves below and to the right.
#include "platform/core/types.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/region.h"

class TWinControl;

inline constexpr int kPopupFrameMono = 1;
inline constexpr int kPopupFrameDeep = 2;
inline constexpr int kPopupFrameRaised = 3;

// Draws the frame of rect; with withSizeGrip the bottom-right square inside the frame that a
// vertical and a horizontal scroll bar would share is filled with clBtnFace.
void DrawPopupFrame(TCanvas& canvas, const TRect& rect, int frameKind, int shadowSize,
                    bool withShadow, bool withSizeGrip);
// The same on a whole window: canvas has its origin at the window's top-left (as in
// non-client painting), the frame takes the window's rectangle.
void DrawPopupWindowFrame(const TWinControl& window, TCanvas& canvas, int frameKind, int shadowSize,
                          bool withShadow, bool withSizeGrip);
// Fills the strip of height size along the bottom of shadowRect (its full width), then the
// strip of width size along its right side (its full height).
void DrawPopupShadow(TCanvas& canvas, const TRect& shadowRect, int size, const TBrush& brush);
// The pixels a popup with a shadow covers in a window rectangle: the frame's rectangle (the
// window less the shadow at right and bottom) and the same moved by the shadow size. Without
// a shadow the whole rectangle.
TRegion PopupShadowRegion(const TRect& windowRect, int shadowSize, bool withShadow);
