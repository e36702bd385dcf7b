#pragma once
// TScreenOverlay: a picture shown on the screen above every window, outside any form, for
// marks that follow the mouse during a drag (drop arrows, a drag image, the anchor of anchor
// scrolling) without repainting the windows underneath.
//
// Contract of the window behind it (qt_screen_overlay.cpp):
//   - a top-level window of the picture's size, its top-left corner at Position() in screen
//     coordinates, with no frame, no taskbar entry, kept above other windows;
//   - it never takes the activation or the keyboard focus, also when shown;
//   - it is transparent to the mouse: presses, moves and the cursor belong to the window
//     under it;
//   - only the pixels of Shape() show; an overlay whose shape is empty shows nothing;
//   - each overlay is its own window: several may be shown at once, the one shown last on top.
// The window is created on the first Show, so an overlay that is never shown costs no window.
#include <memory>

#include "platform/core/types.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"

class TOverlayWindow;

// How the overlay is shaped.
enum TOverlayShapeKind {
  oskRectangle,         // the whole picture
  oskRegion,            // the region given, clipped to the picture
  oskTransparentColor,  // the picture's pixels other than its TransparentColor()
};

class TScreenOverlay {
 public:
  TScreenOverlay();
  ~TScreenOverlay();
  TScreenOverlay(const TScreenOverlay&) = delete;
  TScreenOverlay& operator=(const TScreenOverlay&) = delete;

  // The picture shown (copied); the overlay takes its size. A shape that follows the
  // transparent colour follows the new picture.
  void SetPicture(const TBitmap& picture);
  const TBitmap& Picture() const { return picture_; }

  // The shape, in the picture's coordinates (an elliptic region, an arrow's outline...).
  void SetShape(const TRegion& shape);
  // The shape is the picture's pixels that are not its transparent colour.
  void SetShapeByTransparentColor();
  // The whole picture shows (the default).
  void ClearShape();
  TOverlayShapeKind ShapeKind() const { return shapeKind_; }
  // The pixels that show, in the picture's coordinates.
  const TRegion& Shape() const { return shape_; }

  // Shows the overlay with the picture's top-left corner at a screen point, on top of the
  // other overlays.
  void Show(TPoint screenTopLeft);
  // Moves it, shown or not.
  void MoveTo(TPoint screenTopLeft);
  void Hide();
  bool Visible() const { return visible_; }
  TPoint Position() const { return position_; }

  // The toolkit window (QWidget*) once shown, else nullptr; for the toolkit bridge's tests.
  void* NativeWindow() const;

 private:
  void updateShape();  // recomputes shape_, then pushShape
  void pushShape();    // hands shape_ to the window, then updateShown
  void updateShown();  // shows the window when visible_ and the shape is not empty

  TBitmap picture_;
  TOverlayShapeKind shapeKind_ = oskRectangle;
  TRegion givenShape_;   // the region of SetShape; meaningful for oskRegion
  TRegion shape_;        // the pixels that show: always inside (0, 0, width, height)
  TPoint position_{0, 0};  // screen point of the picture's top-left corner
  bool visible_ = false;   // between Show and Hide
  std::unique_ptr<TOverlayWindow> window_;  // created on the first Show
};
