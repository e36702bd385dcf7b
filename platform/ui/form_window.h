#pragma once
// The window system's side of a form, of a screen overlay and of control timers. Implemented
// with Qt in qt_form_window.cpp, qt_screen_overlay.cpp and qt_timers.cpp; nothing above the
// platform sees these.
#include <memory>
#include <string>

#include "platform/core/types.h"
#include "platform/ui/control.h"

class TBitmap;
class TCustomForm;
class TRegion;
class TWinControl;
enum TFormBorderStyle : int;

class TFormWindow {
 public:
  virtual ~TFormWindow() = default;
  // Outer rectangle on screen (frame included) and the frame widths around the client.
  virtual void SetGeometry(const TRect& outer, const TRect& frameInsets) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetFrame(TFormBorderStyle style) = 0;
  virtual void Show(bool maximized) = 0;
  virtual void Hide() = 0;
  // A frameless pop-up (hint window, drop-down) shown without taking the activation.
  virtual void ShowNoActivate() = 0;
  // Disabled while a modal form it owns is shown.
  virtual void SetInputEnabled(bool enabled) = 0;
  virtual void SetModal(bool modal) = 0;
  // Part of the form image changed: copy it to the screen soon.
  virtual void ImageChanged(const TRect& formRect) = 0;
  // Paint the pending region soon (the paint message is posted, not sent).
  virtual void SchedulePaint() = 0;
  virtual void SetCursorShape(TCursor cursor) = 0;
  // Keyboard focus to the form itself rather than a native editor inside it.
  virtual void FocusForm() = 0;
  virtual bool IsActive() const = 0;
  virtual void Activate() = 0;
  // The elliptic window region of pop-ups that have one (empty rect: none).
  virtual void SetEllipticRegion(const TRect& clientRect) = 0;
  // Only the region's pixels of the window show and take the mouse (client coordinates);
  // nullptr: the whole window.
  virtual void SetRegion(const TRegion* clientRegion) = 0;
  // The toolkit widget that native editors go into (QWidget*).
  virtual void* NativeParent() = 0;
};

std::unique_ptr<TFormWindow> CreateFormWindow(TCustomForm* form);

// The window of a TScreenOverlay (screen_overlay.h states what it guarantees).
class TOverlayWindow {
 public:
  virtual ~TOverlayWindow() = default;
  // Copies the picture and takes its size.
  virtual void SetPicture(const TBitmap& picture) = 0;
  // Only the region's pixels show (window coordinates, not empty); ClearShape: all of them.
  virtual void SetShape(const TRegion& shape) = 0;
  virtual void ClearShape() = 0;
  virtual void MoveTo(TPoint screenTopLeft) = 0;
  // Showing a hidden window puts it above the other overlays.
  virtual void SetShown(bool shown) = 0;
  virtual void* NativeWindow() = 0;  // QWidget*
};

std::unique_ptr<TOverlayWindow> CreateOverlayWindow();

// The grab of a running input tracker (input_tracker.h): while on, the mouse goes to the
// window of the form under the cursor (else the active form) and the keyboard to the active
// form's window, wherever the pointer is. A grabbing window that is hidden or destroyed
// cancels the tracking.
void SetInputTrackingGrab(bool on);

// WM_TIMER delivery: the control's DispatchTimer(id) runs every intervalMs on the UI thread.
void StartControlTimer(TWinControl* control, int id, int intervalMs);
void StopControlTimer(TWinControl* control, int id);

// Draws the window's visible scroll bars into its non-client area (origin at the window's
// top-left).
void PaintScrollBars(TWinControl& control, TCanvas& canvas);
