#pragma once
// TControl: the node of the control tree. Windowed controls (TWinControl) hold children;
// graphic controls (TGraphicControl: labels, bevels, images) paint on their parent's canvas.
//
// Vocabulary:
//   bounds        Left/Top/Width/Height in the parent's client coordinates
//   client rect   (0, 0, ClientWidth, ClientHeight) in the control's own coordinates; for a
//                 windowed control with a non-client frame it is smaller than the bounds
//   form coords   the client coordinates of the top-level form that holds the control
//
// Message handlers are the protected virtuals named after the Windows messages they stand
// for (WMPaint, CMMouseEnter...). Each default does what the framework's default does and
// then raises the matching event, so an override that calls the base keeps the events.
#include <functional>
#include <memory>
#include <string>

#include "platform/core/component.h"
#include "platform/core/option_set.h"
#include "platform/core/store_changed.h"
#include "platform/core/types.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/messages.h"

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoStdEvents
};
using TControlStyle = TOptionSet<TControlStyleItem>;

enum TControlStateItem { csLButtonDown, csClicked, csPalette, csFocusing, csAlignmentNeeded };
using TControlState = TOptionSet<TControlStateItem>;

// Cursors: the standard ones under the framework's negative numbers; resource cursors that
// components register use numbers of their own (see RegisterCursor in services.h).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                  crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                  crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
// The tree-list grid's drag cursors under its fixed numbers; the platform draws them itself
// (cursor_shapes.h), so they exist without being registered.
constexpr TCursor crqlTLDelete = -1124,       // a header dropped here is hidden
                  crqlTLFullScroll = -1131,   // anchor scrolling at rest, both scroll bars
                  crqlTLHorScroll = -1132,    // at rest, horizontal bar only
                  crqlTLVerScroll = -1133,    // at rest, vertical bar only
                  crqlTLUpScroll = -1134,     // anchor scrolling upward
                  crqlTLRightScroll = -1135,
                  crqlTLDownScroll = -1136,
                  crqlTLLeftScroll = -1137,
                  crqlTLDragCopy = -1138,     // a node drag that copies one node
                  crqlTLMultiDragCopy = -1139;  // ... that copies several

// Drag and drop of controls (drag_manager.h runs the drag).
class TDragObject;
// dmAutomatic: a left press on the control begins a drag that starts once the mouse has
// moved the drag threshold; dmManual: only BeginDrag begins one.
enum TDragMode { dmManual, dmAutomatic };
// What a drag-over call tells a target: the drag came over it, left it, or moved over it.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

// True when ch is the accelerator of caption: the character after a single '&' ("&&" is a
// literal ampersand), compared without case for ASCII letters.
bool IsAccel(char32_t ch, const std::string& caption);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- tree ---
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  // The form that holds this control (itself for a form), or nullptr when not on one.
  TCustomForm* GetParentForm() const;

  // --- geometry ---
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  // Offset of the client area's top-left from the window's top-left (the non-client frame).
  virtual TPoint ClientOrigin() const { return {0, 0}; }
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  TPoint ClientToForm(TPoint p) const;
  TPoint FormToClient(TPoint p) const;
  // The part of the control's window (non-client included) not hidden by its ancestors'
  // client areas, in form coordinates.
  TRect VisibleFormRect() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  // --- state ---
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and every ancestor visible (and the form shown).
  bool IsShowing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& value) { SetText(value); }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string value) { hint_ = std::move(value); }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }

  // --- font and colour, inherited from the parent while ParentFont / ParentColor ---
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  virtual void SetParentColor(bool value);

  // --- painting ---
  void Invalidate();
  void InvalidateRect(const TRect& clientRect);
  // Paints pending invalid areas of the control's form now.
  void Update();
  void Repaint() { Invalidate(); Update(); }
  // Paints the control into a canvas whose origin is at the control's client top-left.
  virtual void PaintTo(TCanvas& canvas);

  // --- drag and drop (the drag itself: drag_manager.h) ---
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  // The cursor over a target that accepts a drag from this control.
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor value) { dragCursor_ = value; }
  // Begins a drag with this control as its source; ignored while any drag runs. Immediate:
  // the drag starts now; else once the mouse has moved threshold pixels from where it is
  // (default: the system drag metric), and a button released before that ends it unseen.
  void BeginDrag(bool immediate, int threshold = -1);
  // This control is the source of the drag that runs (started or waiting for the threshold).
  bool Dragging() const;
  // Ends this control's drag: drop (on the target under the mouse when it accepts) or cancel.
  void EndDrag(bool drop);

  // --- messages without a typed handler ---
  intptr_t Perform(uint32_t Msg, intptr_t WParam = 0, intptr_t LParam = 0);

  // --- events ---
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // Entry points of the windowing layer (also used by tests to deliver synthetic input).
  void DispatchMouse(TWMMouse& msg) { WMMouse(msg); }
  void DispatchMouseEnter() { CMMouseEnter(); }
  void DispatchMouseLeave() { CMMouseLeave(); }
  void DispatchCancelMode() { WMCancelMode(); }
  // WM_ERASEBKGND with a given canvas (a child painting its parent's image under itself).
  void DispatchEraseBkgnd(TCanvas& canvas) { WMEraseBkgnd(canvas); }
  bool DispatchMouseWheel(TWMMouseWheel& msg) { WMMouseWheel(msg); return msg.Handled; }
  // WM_SETCURSOR: the cursor to show at a client point.
  virtual TCursor CursorAt(TPoint clientPos) { return cursor_; }
  virtual void WndProc(TMessage& msg) {}
  // Paint pass of the windowing layer: erase (unless csOpaque) then paint.
  virtual void PaintControl(TCanvas& canvas);

  // The one canvas-independent way for a graphic control to find its paint target.
  virtual bool IsWindowed() const { return false; }

 protected:
  // --- message handlers (defaults: framework behaviour, then the event) ---
  virtual void WMMouse(TWMMouse& msg);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  virtual void DblClick();
  virtual void WMMouseWheel(TWMMouseWheel& msg) {}
  virtual void CMMouseEnter() {}
  virtual void CMMouseLeave() {}
  virtual void WMCancelMode();
  virtual void CMEnabledChanged() { Invalidate(); }
  virtual void CMVisibleChanged() {}
  virtual void CMFontChanged() { Invalidate(); }
  virtual void CMColorChanged() { Invalidate(); }
  virtual void CMTextChanged() { Invalidate(); }
  virtual void CMSysColorChange() {}
  virtual void CMParentFontChanged();
  virtual void CMParentColorChanged();
  virtual void WMSize() {}
  virtual void WMMove() {}
  virtual void Resize() { if (OnResize) OnResize(this); }
  virtual void WMEraseBkgnd(TCanvas& canvas);
  virtual void Paint() {}

  // --- drag and drop, called by the drag manager (defaults raise the events) ---
  // The drag starts: a control may set dragObject to an object of its own, which it keeps
  // alive until DoEndDrag has returned; left nullptr, the manager makes a plain one.
  virtual void DoStartDrag(TDragObject*& dragObject);
  // The drag is over this control at client point (X, Y). Accept comes in false; the default
  // sets it to whether OnDragOver is assigned and lets the handler change it. A leave's
  // answer is not read.
  virtual void DragOver(TObject* source, int X, int Y, TDragState state, bool& accept);
  // The drag was dropped on this control, which accepted it.
  virtual void DragDrop(TObject* source, int X, int Y);
  // This control's drag ended: target is where it was dropped (X, Y in its client
  // coordinates), or nullptr with (0, 0) when cancelled or dropped where nothing accepted.
  virtual void DoEndDrag(TObject* target, int X, int Y);
  // A left press with DragMode dmAutomatic: begins a drag that waits for the threshold. A
  // control that decides itself when its drags begin overrides this with nothing.
  virtual void BeginAutoDrag() { BeginDrag(false); }

  friend class TWinControl;
  friend class TDragSession;
  friend class TCustomForm;
  friend class TApplication;

  // The guarded property setter of a painted property: stores value in field and repaints,
  // or does nothing when field already holds it. Returns whether it changed, for setters
  // that do more on a change.
  template <typename T>
  bool SetAndInvalidate(T& field, const std::type_identity_t<T>& value) {
    if (!StoreChanged(field, value)) return false;
    Invalidate();
    return true;
  }

  // Called by SetBounds after the rectangle changed.
  virtual void BoundsChanged(const TRect& oldBounds);
  void RequestAlign();
  void SetCaptureOnPress(bool on);

  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;

  // The canvas of the current paint pass (set while PaintControl runs).
  TCanvas* paintCanvas_ = nullptr;

 private:
  void fontChanged();

  TWinControl* parent_ = nullptr;  // non-owning
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
  std::string text_;
  std::string hint_;
  bool showHint_ = false;
  int tag_ = 0;
  TFont font_;
  bool parentFont_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  bool inheritingFont_ = false;  // set while the parent's font is copied in
  TDragMode dragMode_ = dmManual;
  TCursor dragCursor_ = crDrag;
};

// A control without a window of its own that paints on its parent (labels, bevels, images).
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
  // The parent's canvas positioned on this control, valid during a paint pass and, outside
  // one, drawing straight into the form's image.
  TCanvas& Canvas();

 protected:
  void PaintControl(TCanvas& canvas) override;

 private:
  std::unique_ptr<TCanvas> directCanvas_;
};

// Prepares `slot` (created on first use) as a canvas on the control's form image: origin at
// the control's client top-left, clipped to what is visible of its client area (windowed
// children excluded), and tells the window system that area changes. Off-screen controls get
// a canvas that draws nowhere.
TCanvas& DirectCanvasFor(TControl& control, std::unique_ptr<TCanvas>& slot);
