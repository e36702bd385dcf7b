#pragma once
// Drawing helpers, value types and hover tracking shared by the flat controls
// (TFlatButton, TFlatEdit, TFlatMemo, TFlatRadioButton, TFlatPanel).
//
// Everything here is a pure function of its arguments or draws only into the canvas it is
// given, except HoverTracker, which each tracking control class keeps one of.
#include "platform/ui/button_layout.h"
#include <functional>
#include <memory>
#include <string>

#include "flat/flat_colors.h"
#include "platform/core/types.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/timer.h"

// Enumerations, values in ordinal order.
enum TTransparentMode { tmAlways, tmNotFocused, tmNone };
enum TRadioButtonLayout { radioLeft, radioRight };
using TNumGlyphs = int;  // 1..4 images side by side in a glyph

// Two-colour frame of `width` rings inside rect: per ring, the left column and top row
// (without the top-right pixel) in topColor, the right column and bottom row (with the
// top-right and bottom-left pixels) in bottomColor. Polylines leave out their last point,
// which is what puts those corners on the bottom side. Width 0 draws nothing.
void PaintBevelFrame(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor,
                     int width);

// Draws into canvas (origin at the control's client top-left) what the control's parent
// paints under it: the parent's erase step then its paint step (graphic children included),
// clipped to the parent's client area. Nothing without a parent.
void PaintParentBackground(TControl& control, TCanvas& canvas);

// The disabled look of a one-image glyph: a bitmap of the source's size in faceColor, with
// the pixels of keyColor in shadowColor and, when drawHighlight, a highlightColor copy of
// that shape one pixel to the lower right underneath. Owned by the caller.
std::unique_ptr<TBitmap> MakeEmbossedGlyph(const TBitmap& source, TColor keyColor,
                                           TColor faceColor, bool drawHighlight,
                                           TColor shadowColor, TColor highlightColor);

struct TGlyphCaptionLayout {
  TPoint GlyphPos;   // top-left of the glyph image
  TRect TextBounds;  // the caption's one-line box
};

// Places a glyph (one of numGlyphs images of glyph; nullptr or empty: none) and a one-line
// caption (measured with canvas's font) in client, moved by pressOffset (0,0 or 1,1).
// margin -1 and spacing -1 mean automatic.
TGlyphCaptionLayout LayoutGlyphAndCaption(TCanvas& canvas, const TRect& client,
                                          TPoint pressOffset, TButtonLayout layout,
                                          int spacing, int margin, const TBitmap* glyph,
                                          int numGlyphs, const std::string& caption);

// One per tracking control class (flat button, flat radio button): knows the one control of
// the class the mouse is over and checks every 100 ms whether the mouse has left it, because
// those controls do not rely on the window system's leave notification.
//
//   mouse move over a control   Track(): the previous tracked control leaves; with an active
//                               application window this control becomes tracked and enters
//   timer tick                  the tracked control leaves when it is no longer the topmost
//                               control under the cursor (disabled controls count)
//   leave / disable / destroy   the control calls StopTracking(this)
class HoverTracker {
 public:
  HoverTracker() = default;
  ~HoverTracker();
  HoverTracker(const HoverTracker&) = delete;
  HoverTracker& operator=(const HoverTracker&) = delete;

  // Instance counting: the first creates the (disabled) timer, the last frees it.
  void AddInstance();
  void RemoveInstance(TControl* control);

  // A mouse move at screenPos over control, whose enter and leave steps are given.
  void Track(TControl* control, TPoint screenPos, std::function<void()> enterStep,
             std::function<void()> leaveStep);
  // Stops the timer and forgets the tracked control, if it is control.
  void StopTracking(TControl* control);
  // The tick: the tracked control leaves once the cursor is no longer over it.
  void Check();

  TControl* Tracked() const { return tracked_; }
  TTimer* Timer() const { return timer_.get(); }  // nullptr when no instance lives
  int InstanceCount() const { return instances_; }

  static constexpr int Interval = 100;  // ms

 private:
  std::unique_ptr<TTimer> timer_;
  int instances_ = 0;
  TControl* tracked_ = nullptr;        // non-owning; the control the mouse is over
  std::function<void()> trackedLeave_;  // its mouse-leave step
};
