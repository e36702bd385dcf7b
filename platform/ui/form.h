#pragma once
// TCustomForm: a top-level window. It owns the form's image (every control of the form
// paints into it; the screen only shows copies of it), the pending update region, the active
// control, and routes the window system's mouse and key input to its controls.
//
// Outer size vs client: Left/Top/Width/Height are the window's outer rectangle as Windows
// has it (caption and frame included, classic metrics); ClientWidth/ClientHeight the inside.
#include <functional>
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/ui/scroll_bar_input.h"
#include "platform/ui/win_control.h"

enum TFormBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIconItem { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TOptionSet<TBorderIconItem>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TFormWindow;  // the window system's side (Qt), see form_window.h

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value) { borderIcons_ = value; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }

  // Frame widths for the border style (classic Windows metrics).
  TRect FrameInsets() const;
  int ClientWidth() const override;
  int ClientHeight() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // --- showing ---
  void Show();
  void Hide();
  // Shows the form as a pop-up at a screen point without activating it; the window is moved
  // so that it lies inside the monitor's work area.
  void ShowPopupAt(TPoint screenTopLeft);
  // Restricts the window to the ellipse inscribed in a client rectangle (empty: no region).
  void SetEllipticRegion(const TRect& clientRect);
  // Restricts the window to a region of its client area (nullptr: no region).
  void SetWindowRegion(const TRegion* clientRegion);
  TModalResult ShowModal();
  bool Modal() const { return modalLevel_ > 0; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  void Close();
  bool IsShown() const { return shown_; }
  // The window system may move or resize the window (maximise, user drag).
  void WindowGeometryChanged(const TRect& outerRect);

  // --- focus ---
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Called by a control's SetFocus and by the native editors when they take the focus.
  bool SetFocusedControl(TWinControl* control);
  bool Active() const;

  // --- input from the window system or from tests (form client coordinates) ---
  // A running input tracker (input_tracker.h) sees each of these first.
  void HandleMouse(TMouseMessageKind kind, TMouseButton button, TPoint formPos,
                   TShiftState shift);
  void HandleWheel(int delta, TPoint formPos, TShiftState shift);
  // Returns true when the key was consumed (so a native editor must not see it).
  bool HandleKeyDown(uint16_t key, TShiftState shift);
  void HandleKeyUp(uint16_t key, TShiftState shift);
  void HandleChar(char32_t ch);
  TControl* CaptureControl() const { return captureControl_; }
  // The deepest visible control under a point of the client area (the form itself if none).
  TControl* ControlAtFormPos(TPoint formPos, bool allowDisabled) const {
    return controlAt(formPos, allowDisabled);
  }
  void SetCaptureControl(TControl* control);
  // A control leaves the form: nothing may keep pointing at it.
  void ForgetControl(TControl* control);

  // --- painting ---
  TBitmap& Image() { return image_; }
  void InvalidateFormRect(const TRect& formRect);
  bool HasPendingPaint() const { return !pending_.IsEmpty(); }
  // Paints the pending region into the image and shows it.
  void PaintPending();
  // Tells the window system that this part of the image changed outside a paint pass.
  void ImageChanged(const TRect& formRect);

  TFormWindow* Window() const { return window_.get(); }
  // The caption bar's text.
  void SetText(const std::string& value) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  // Runs OnCreate; a form constructor calls it last, after EndLoading.
  void DoCreate() { if (OnCreate) OnCreate(this); }
  void BoundsChanged(const TRect& oldBounds) override;
  virtual bool CloseQuery();
  void Loaded() override;

 private:
  void ensureWindow();
  void resizeImage();
  void paintRegion(const TRegion& region);
  void paintWindowed(TWinControl* control, const TRegion& region, TCanvas& canvas);
  void placeForShowing();
  TControl* controlAt(TPoint formPos, bool allowDisabled) const;
  friend class TApplication;

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  bool shown_ = false;
  int modalLevel_ = 0;
  TModalResult modalResult_ = mrNone;
  TWinControl* activeControl_ = nullptr;  // non-owning
  TControl* captureControl_ = nullptr;    // non-owning
  TControl* pressedControl_ = nullptr;    // where the last button went down
  TScrollDrag scrollDrag_;                // set while a scroll thumb is dragged
  TBitmap image_;
  TRegion pending_;
  std::unique_ptr<TFormWindow> window_;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};
