// The screen overlay's state (screen_overlay.h); the window itself is the toolkit's
// (qt_screen_overlay.cpp, behind TOverlayWindow in form_window.h).
#include "platform/ui/screen_overlay.h"

#include <vector>

#include "platform/ui/form_window.h"

namespace {

// The pixels of a picture other than one colour, as one rectangle per run of them in a row.
TRegion pixelsOtherThan(const TBitmap& picture, TColor color) {
  const uint32_t skipped = ColorToPixel(color);
  std::vector<TRect> runs;
  for (int y = 0; y < picture.Height(); ++y) {
    const uint32_t* row = picture.ScanLine(y);
    for (int x = 0; x < picture.Width();) {
      if (row[x] == skipped) { ++x; continue; }
      const int start = x;
      while (x < picture.Width() && row[x] != skipped) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  return TRegion::FromRects(runs);
}

}  // namespace

TScreenOverlay::TScreenOverlay() = default;
TScreenOverlay::~TScreenOverlay() = default;

void TScreenOverlay::SetPicture(const TBitmap& picture) {
  picture_ = picture;
  if (window_) window_->SetPicture(picture_);
  updateShape();
}

void TScreenOverlay::SetShape(const TRegion& shape) {
  shapeKind_ = oskRegion;
  givenShape_ = shape;
  updateShape();
}

void TScreenOverlay::SetShapeByTransparentColor() {
  shapeKind_ = oskTransparentColor;
  updateShape();
}

void TScreenOverlay::ClearShape() {
  shapeKind_ = oskRectangle;
  updateShape();
}

void TScreenOverlay::Show(TPoint screenTopLeft) {
  position_ = screenTopLeft;
  visible_ = true;
  if (window_) {
    window_->MoveTo(position_);
    updateShown();
    return;
  }
  window_ = CreateOverlayWindow();
  window_->SetPicture(picture_);
  window_->MoveTo(position_);
  pushShape();
}

void TScreenOverlay::MoveTo(TPoint screenTopLeft) {
  if (screenTopLeft == position_) return;
  position_ = screenTopLeft;
  if (window_) window_->MoveTo(position_);
}

void TScreenOverlay::Hide() {
  visible_ = false;
  updateShown();
}

void* TScreenOverlay::NativeWindow() const { return window_ ? window_->NativeWindow() : nullptr; }

void TScreenOverlay::updateShape() {
  const TRect whole = Bounds(0, 0, picture_.Width(), picture_.Height());
  switch (shapeKind_) {
    case oskRectangle: shape_ = TRegion(whole); break;
    case oskRegion: shape_ = givenShape_; shape_.Intersect(whole); break;
    case oskTransparentColor: shape_ = pixelsOtherThan(picture_, picture_.TransparentColor()); break;
  }
  pushShape();
}

void TScreenOverlay::pushShape() {
  if (!window_) return;
  const TRect whole = Bounds(0, 0, picture_.Width(), picture_.Height());
  // The window shows everything without a shape; an empty shape hides it instead.
  if (shape_ == TRegion(whole) || shape_.IsEmpty())
    window_->ClearShape();
  else
    window_->SetShape(shape_);
  updateShown();
}

void TScreenOverlay::updateShown() {
  if (window_) window_->SetShown(visible_ && !shape_.IsEmpty());
}
