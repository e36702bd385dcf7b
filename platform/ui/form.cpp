#include "platform/ui/form.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form_window.h"
#include "platform/ui/input_tracker.h"
#include "platform/ui/native_edit.h"
#include "platform/ui/scroll_bar_input.h"
#include "platform/ui/services.h"

namespace {
// Classic Windows metrics: caption 18 px plus its 1 px line, fixed frame 3, sizing frame 4.
constexpr int kCaptionHeight = 19;
constexpr int kFixedFrame = 3;
constexpr int kSizingFrame = 4;

TShiftState buttonsOnly(TShiftState s) {
  return s * TShiftState{ssLeft, ssRight, ssMiddle};
}

void syncNativeEditors(TWinControl& control) {
  for (int i = 0; i < control.ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(control.Controls(i))) {
      if (TNativeEditHost* host = w->NativeEdit()) host->SyncGeometry();
      syncNativeEditors(*w);
    }
}
}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  if (Application) Application->RegisterForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy) OnDestroy(this);
  if (Application) Application->UnregisterForm(this);
  // Free owned components while the window still exists, then the window.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  window_.reset();
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  Realign();
}

TRect TCustomForm::FrameInsets() const {
  switch (borderStyle_) {
    case bsNone: return {0, 0, 0, 0};
    case bsSingle:
    case bsDialog: return {kFixedFrame, kFixedFrame + kCaptionHeight, kFixedFrame, kFixedFrame};
    case bsToolWindow: return {kFixedFrame, kFixedFrame + 16, kFixedFrame, kFixedFrame};
    case bsSizeToolWin: return {kSizingFrame, kSizingFrame + 16, kSizingFrame, kSizingFrame};
    case bsSizeable:
    default: return {kSizingFrame, kSizingFrame + kCaptionHeight, kSizingFrame, kSizingFrame};
  }
}

int TCustomForm::ClientWidth() const {
  TRect f = FrameInsets();
  return std::max(0, Width() - f.Left - f.Right);
}

int TCustomForm::ClientHeight() const {
  TRect f = FrameInsets();
  return std::max(0, Height() - f.Top - f.Bottom);
}

TPoint TCustomForm::ClientOrigin() const {
  TRect f = FrameInsets();
  return {f.Left, f.Top};
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  int cw = ClientWidth(), ch = ClientHeight();
  borderStyle_ = value;
  TRect f = FrameInsets();
  // The client size stays; the outer size follows the new frame.
  SetBounds(Left(), Top(), cw + f.Left + f.Right, ch + f.Top + f.Bottom);
  if (window_) window_->SetFrame(value);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (window_) window_->SetGeometry(BoundsRect(), FrameInsets());
}

void TCustomForm::BoundsChanged(const TRect& oldBounds) {
  TWinControl::BoundsChanged(oldBounds);
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) resizeImage();
}

void TCustomForm::WindowGeometryChanged(const TRect& outerRect) {
  if (outerRect == BoundsRect()) return;
  TWinControl::SetBounds(outerRect.Left, outerRect.Top, outerRect.Width(), outerRect.Height());
}

void TCustomForm::SetWindowState(TWindowState value) {
  windowState_ = value;
  if (shown_ && window_) window_->Show(value == wsMaximized);
}

void TCustomForm::SetText(const std::string& value) {
  TWinControl::SetText(value);
  if (window_) window_->SetCaption(value);
}

void TCustomForm::ensureWindow() {
  if (window_) return;
  window_ = CreateFormWindow(this);
  window_->SetFrame(borderStyle_);
  window_->SetCaption(Caption());
  window_->SetGeometry(BoundsRect(), FrameInsets());
}

void TCustomForm::resizeImage() {
  int w = ClientWidth(), h = ClientHeight();
  if (image_.Width() == w && image_.Height() == h) return;
  image_.SetSize(w, h);
  pending_ = TRegion(Bounds(0, 0, w, h));
  if (window_) window_->SchedulePaint();
}

void TCustomForm::placeForShowing() {
  if (position_ == poScreenCenter) {
    TRect screen = WorkAreaRect();
    SetBounds(screen.Left + (screen.Width() - Width()) / 2,
              screen.Top + (screen.Height() - Height()) / 2, Width(), Height());
  } else if (position_ == poDefault || position_ == poDefaultPosOnly) {
    // The window system's default place for a new top-level window: the work area's corner.
    TRect screen = WorkAreaRect();
    SetBounds(screen.Left, screen.Top, Width(), Height());
  }
}

void TCustomForm::Show() {
  ensureWindow();
  if (!shown_) placeForShowing();
  shown_ = true;
  TControl::SetVisible(true);
  resizeImage();
  pending_ = TRegion(Bounds(0, 0, ClientWidth(), ClientHeight()));
  window_->Show(windowState_ == wsMaximized);
  if (Application) Application->SetActiveForm(this);
  if (!activeControl_) {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) SetFocusedControl(first);
  } else {
    TWinControl* c = activeControl_;
    activeControl_ = nullptr;
    SetFocusedControl(c);
  }
  if (OnShow) OnShow(this);
  PaintPending();
}

void TCustomForm::ShowPopupAt(TPoint screenTopLeft) {
  SetBorderStyle(bsNone);
  TRect work = WorkAreaRect();
  int left = std::max(work.Left, std::min(screenTopLeft.X, work.Right - Width()));
  int top = std::max(work.Top, std::min(screenTopLeft.Y, work.Bottom - Height()));
  ensureWindow();
  SetBounds(left, top, Width(), Height());
  shown_ = true;
  TControl::SetVisible(true);
  resizeImage();
  pending_ = TRegion(Bounds(0, 0, ClientWidth(), ClientHeight()));
  window_->ShowNoActivate();
  PaintPending();
}

void TCustomForm::SetEllipticRegion(const TRect& clientRect) {
  ensureWindow();
  window_->SetEllipticRegion(clientRect);
}

void TCustomForm::SetWindowRegion(const TRegion* clientRegion) {
  ensureWindow();
  window_->SetRegion(clientRegion);
}

void TCustomForm::Hide() {
  if (!shown_) return;
  shown_ = false;
  TControl::SetVisible(false);
  if (window_) window_->Hide();
  if (OnHide) OnHide(this);
  if (Application && Application->ActiveForm() == this) {
    TCustomForm* next = nullptr;
    for (TCustomForm* f : Application->Forms())
      if (f != this && f->IsShown()) next = f;
    Application->SetActiveForm(next);
  }
}

TModalResult TCustomForm::ShowModal() {
  if (shown_ || modalLevel_ > 0) throw EInvalidOperation("Cannot make a visible window modal");
  // Every other shown form is disabled while this one is up.
  std::vector<TCustomForm*> disabled;
  if (Application)
    for (TCustomForm* f : Application->Forms())
      if (f != this && f->IsShown() && f->Enabled()) {
        f->SetEnabled(false);
        if (f->window_) f->window_->SetInputEnabled(false);
        disabled.push_back(f);
      }
  TCustomForm* previousActive = Application ? Application->ActiveForm() : nullptr;
  struct Restore {
    std::vector<TCustomForm*>& forms;
    TCustomForm* active;
    ~Restore() {
      for (TCustomForm* f : forms) {
        f->SetEnabled(true);
        if (f->window_) f->window_->SetInputEnabled(true);
      }
      if (Application && active && active->IsShown()) Application->SetActiveForm(active);
    }
  } restore{disabled, previousActive};

  ++modalLevel_;
  struct Level { int& l; ~Level() { --l; } } level{modalLevel_};
  modalResult_ = mrNone;
  ensureWindow();
  window_->SetModal(true);
  Show();
  Application->RunLoopUntil([this] {
    if (modalResult_ != mrNone) {
      // A close request while modal may still be refused by CloseQuery; a failure in it is
      // shown by the application's handler and refuses too, so the form stays up.
      bool canClose = false;
      try {
        canClose = CloseQuery();
      } catch (const std::exception& e) {
        Application->HandleException(e);
      }
      if (!canClose) modalResult_ = mrNone;
    }
    return modalResult_ != mrNone || !shown_ || Application->Terminated();
  });
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  Hide();
  window_->SetModal(false);
  return modalResult_;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modalLevel_ > 0) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Hide();
    Application->Terminate();
  } else {
    Hide();
  }
}

// --- focus ---

bool TCustomForm::Active() const {
  return Application ? Application->ActiveForm() == this : shown_;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == nullptr) {
    TWinControl* old = activeControl_;
    activeControl_ = nullptr;
    if (old && old != this) {
      old->DispatchKillFocus();
      old->DispatchExit();
    }
    if (window_) window_->FocusForm();
    return;
  }
  if (!shown_) {
    activeControl_ = control;  // the focus goes there when the form is shown
    return;
  }
  SetFocusedControl(control);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == activeControl_) return true;
  if (control && control != this && !control->CanFocus()) return false;
  TWinControl* old = activeControl_;
  activeControl_ = control;
  if (old) old->DispatchKillFocus();
  if (control) control->DispatchSetFocus();
  // Exit every control on the way from the old focus up to the common parent, then enter
  // every control from below that parent down to the new focus.
  TWinControl* common = old;
  while (common && control && !common->ContainsControl(control)) {
    common->DispatchExit();
    common = common->Parent();
  }
  if (!control) {
    for (TWinControl* c = common; c && c != this; c = c->Parent()) c->DispatchExit();
  } else {
    std::vector<TWinControl*> chain;
    for (TWinControl* c = control; c && c != common && c != this; c = c->Parent()) chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      if (activeControl_ != control) break;  // a handler moved the focus on
      (*it)->DispatchEnter();
    }
  }
  if (window_ && activeControl_ == control) {
    TNativeEditHost* host = control ? control->NativeEdit() : nullptr;
    if (host && !host->Hidden())
      host->TakeKeyboardFocus();
    else
      window_->FocusForm();
  }
  return true;
}

// --- input ---

void TCustomForm::SetCaptureControl(TControl* control) { captureControl_ = control; }

void TCustomForm::ForgetControl(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (inside(captureControl_)) captureControl_ = nullptr;
  if (inside(scrollDrag_.control)) scrollDrag_ = TScrollDrag{};
  if (activeControl_ && inside(activeControl_)) {
    if (activeControl_->IsDestroying()) {
      // Half destroyed already: it can take no kill-focus or exit any more.
      activeControl_ = nullptr;
      if (window_) window_->FocusForm();
    } else {
      SetActiveControl(nullptr);
    }
  }
}

TControl* TCustomForm::controlAt(TPoint formPos, bool allowDisabled) const {
  const TWinControl* w = this;
  TControl* found = const_cast<TCustomForm*>(this);
  TPoint pos = formPos;
  while (w) {
    TControl* child = w->ControlAtPos(pos, allowDisabled);
    if (!child) break;
    TPoint origin = child->ClientOrigin();
    pos = {pos.X - child->Left() - origin.X, pos.Y - child->Top() - origin.Y};
    found = child;
    w = dynamic_cast<const TWinControl*>(child);
  }
  return found;
}

void TCustomForm::HandleMouse(TMouseMessageKind kind, TMouseButton button, TPoint formPos,
                              TShiftState shift) {
  const TPoint screenPos = ClientToScreen(formPos);
  SetCursorPos(screenPos);
  // A running mouse mode sees the input first; the form's own cursor logic stays out of its
  // way while it uses the messages up.
  if (TInputTracker* tracker = CurrentInputTracker())
    if (tracker->TrackMouse(kind, button, screenPos, shift)) return;
  if (!Enabled()) return;
  TControl* target = captureControl_ ? captureControl_ : controlAt(formPos, false);
  if (scrollDrag_.control) target = scrollDrag_.control;
  if (!target) return;
  if (auto* w = dynamic_cast<TWinControl*>(target)) {
    TPoint client = w->FormToClient(formPos);
    TPoint origin = w->ClientOrigin();
    bool inClient = w->ClientRect().Contains(client);
    if ((!inClient || scrollDrag_.control == w) &&
        HandleScrollBarMouse(*w, kind, {client.X + origin.X, client.Y + origin.Y}, scrollDrag_))
      return;
  }
  TWMMouse msg{kind, button, shift, target->FormToClient(formPos)};
  target->DispatchMouse(msg);
  // Once every button is up nothing holds the mouse any more.
  if (kind == mmUp && buttonsOnly(shift).empty()) captureControl_ = nullptr;
  if (window_ && kind == mmMove) {
    TControl* under = captureControl_ ? captureControl_ : controlAt(formPos, false);
    TCursor cursor = crDefault;
    for (TControl* c = under; c && cursor == crDefault; c = c->Parent())
      cursor = c->CursorAt(c->FormToClient(formPos));
    window_->SetCursorShape(cursor);
  }
}

void TCustomForm::HandleWheel(int delta, TPoint formPos, TShiftState shift) {
  if (TInputTracker* tracker = CurrentInputTracker())
    if (tracker->TrackWheel(delta, ClientToScreen(formPos), shift)) return;
  if (!Enabled()) return;
  TWMMouseWheel msg{shift, delta, ClientToScreen(formPos), false};
  // The wheel goes to the focused control first, then up its parents (as Windows does).
  for (TControl* c = activeControl_ ? static_cast<TControl*>(activeControl_) : this; c; c = c->Parent())
    if (c->DispatchMouseWheel(msg)) return;
}

bool TCustomForm::HandleKeyDown(uint16_t key, TShiftState shift) {
  if (TInputTracker* tracker = CurrentInputTracker())
    if (tracker->TrackKeyDown(key, shift)) return true;
  if (!Enabled()) return true;
  TWinControl* target = activeControl_ ? activeControl_ : this;
  int mask = 0;
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  // Only the key's own flag counts: a control that wants all keys still lets Tab go.
  const bool wanted = target != this && (target->DispatchGetDlgCode() & mask) != 0;
  if (mask != 0 && !wanted) {
    // A dialog key the control does not want: the form navigates with it.
    if (key == VK_TAB && target != this) {
      SelectNext(target, !shift.contains(ssShift), true);
      return true;
    }
    if ((key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) && target != this) {
      bool forward = key == VK_RIGHT || key == VK_DOWN;
      if (TWinControl* parent = target->Parent())
        if (TWinControl* next = parent->FindNextControl(target, forward, false, true)) {
          next->SetFocus();
          return true;
        }
    }
    // Enter and Escape go to the controls first (the default and the cancel button).
    if ((key == VK_RETURN || key == VK_ESCAPE) && DispatchDialogKey(key, shift)) return true;
  }
  TWMKey msg{key, shift};
  if (keyPreview_ && target != this) DispatchKeyDown(msg);
  if (msg.CharCode != 0) target->DispatchKeyDown(msg);
  return msg.CharCode == 0;
}

void TCustomForm::HandleKeyUp(uint16_t key, TShiftState shift) {
  if (TInputTracker* tracker = CurrentInputTracker())
    if (tracker->TrackKeyUp(key, shift)) return;
  if (!Enabled()) return;
  TWinControl* target = activeControl_ ? activeControl_ : this;
  TWMKey msg{key, shift};
  target->DispatchKeyUp(msg);
}

void TCustomForm::HandleChar(char32_t ch) {
  if (TInputTracker* tracker = CurrentInputTracker())
    if (tracker->TrackChar(ch)) return;
  if (!Enabled()) return;
  TWinControl* target = activeControl_ ? activeControl_ : this;
  if ((target->DispatchGetDlgCode() & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) == 0 || target == this) {
    // Offered to every control as a possible accelerator first.
    if (DispatchDialogChar(ch)) return;
  }
  target->DispatchChar(ch);
}

// --- painting ---

void TCustomForm::InvalidateFormRect(const TRect& formRect) {
  TRect r = IntersectRect(formRect, Bounds(0, 0, ClientWidth(), ClientHeight()));
  if (r.IsEmpty()) return;
  pending_.Union(r);
  if (window_) window_->SchedulePaint();
}

void TCustomForm::PaintPending() {
  if (!shown_ || pending_.IsEmpty()) return;
  resizeImage();
  TRegion region = std::move(pending_);
  pending_ = TRegion();
  syncNativeEditors(*this);
  paintRegion(region);
  if (window_) window_->ImageChanged(region.BoundingBox());
}

void TCustomForm::ImageChanged(const TRect& formRect) {
  if (window_) window_->ImageChanged(formRect);
}

void TCustomForm::paintRegion(const TRegion& region) {
  TCanvas& canvas = image_.Canvas();
  paintWindowed(this, region, canvas);
}

void TCustomForm::paintWindowed(TWinControl* control, const TRegion& region, TCanvas& canvas) {
  if (!control->Visible()) return;
  TRegion area = region;
  area.Intersect(control->VisibleFormRect());
  if (area.IsEmpty()) return;
  TPoint clientTopLeft = control->ClientToForm({0, 0});
  TRect clientRect = Bounds(clientTopLeft.X, clientTopLeft.Y, control->ClientWidth(), control->ClientHeight());
  TPoint origin = control->ClientOrigin();
  TPoint windowTopLeft{clientTopLeft.X - origin.X, clientTopLeft.Y - origin.Y};

  if (control != this) {
    TRegion frame = area;
    frame.Subtract(clientRect);
    if (!frame.IsEmpty()) {
      TCanvasStateGuard guard(canvas);
      canvas.SelectClipRgn(&frame);
      canvas.SetViewportOrg(windowTopLeft.X, windowTopLeft.Y);
      control->WMNCPaint(canvas);
    }
  }

  TRegion client = area;
  client.Intersect(clientRect);
  if (client.IsEmpty()) return;
  TRegion own = client;
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (child->IsWindowed() && child->Visible())
      own.Subtract(child->BoundsRect().Offset(clientTopLeft.X, clientTopLeft.Y));
  }
  if (!own.IsEmpty()) {
    TCanvasStateGuard guard(canvas);
    canvas.SelectClipRgn(&own);
    canvas.SetViewportOrg(clientTopLeft.X, clientTopLeft.Y);
    canvas.SetBrushOrg(0, 0);
    control->PaintControl(canvas);
  }
  for (int i = 0; i < control->ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(control->Controls(i)))
      paintWindowed(child, client, canvas);
}


TCanvas& DirectCanvasFor(TControl& control, std::unique_ptr<TCanvas>& slot) {
  if (!slot) slot = std::make_unique<TCanvas>();
  TCanvas& canvas = *slot;
  TCustomForm* form = control.GetParentForm();
  if (!form || !control.IsShowing() || form->Image().Empty()) {
    canvas.Bind(nullptr, 0, 0, 0);
    return canvas;
  }
  TBitmap& image = form->Image();
  canvas.Bind(image.Bits(), image.Width(), image.Height(), image.Width());
  TPoint topLeft = control.ClientToForm({0, 0});
  TRegion clip(IntersectRect(control.VisibleFormRect(),
                             Bounds(topLeft.X, topLeft.Y, control.ClientWidth(), control.ClientHeight())));
  if (auto* w = dynamic_cast<TWinControl*>(&control))
    for (int i = 0; i < w->ControlCount(); ++i)
      if (w->Controls(i)->IsWindowed() && w->Controls(i)->Visible())
        clip.Subtract(w->Controls(i)->BoundsRect().Offset(topLeft.X, topLeft.Y));
  canvas.SelectClipRgn(&clip);
  canvas.SetViewportOrg(topLeft.X, topLeft.Y);
  form->ImageChanged(clip.BoundingBox());
  return canvas;
}
