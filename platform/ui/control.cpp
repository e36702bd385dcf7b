#include "platform/ui/control.h"

#include "platform/core/utf8.h"
#include "platform/ui/application.h"
#include "platform/ui/drag_manager.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "platform/ui/win_control.h"

bool IsAccel(char32_t ch, const std::string& caption) {
  std::u32string text = Utf8ToUtf32(caption);
  char32_t hotKey = 0;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != U'&') continue;
    if (text[i + 1] == U'&') {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    hotKey = text[i + 1];
    break;
  }
  if (hotKey == 0) return false;
  auto upper = [](char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; };
  return upper(hotKey) == upper(ch);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this](TObject*) { fontChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (Application) Application->ControlDestroying(this);
  if (parent_) SetParent(nullptr);
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
  Invalidate();
  if (parent_) {
    TWinControl* old = parent_;
    old->removeControl(this);
    parent_ = nullptr;
    if (align_ != alNone) old->Realign();
  }
  if (AParent) {
    parent_ = AParent;
    AParent->insertControl(this);
    if (parentFont_) CMParentFontChanged();
    if (parentColor_) CMParentColorChanged();
    RequestAlign();
  }
  Invalidate();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  TRect old = BoundsRect();
  Invalidate();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  BoundsChanged(old);
  Invalidate();
}

void TControl::BoundsChanged(const TRect& oldBounds) {
  if (oldBounds.Left != left_ || oldBounds.Top != top_) WMMove();
  if (oldBounds.Width() != width_ || oldBounds.Height() != height_) {
    WMSize();
    Resize();
  }
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetClientWidth(int v) { SetWidth(v + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (height_ - ClientHeight())); }

TPoint TControl::ClientToForm(TPoint p) const {
  const TControl* c = this;
  while (c->parent_) {
    TPoint origin = c->ClientOrigin();
    p.X += c->left_ + origin.X;
    p.Y += c->top_ + origin.Y;
    c = c->parent_;
  }
  return p;
}

TPoint TControl::FormToClient(TPoint p) const {
  TPoint zero = ClientToForm({0, 0});
  return {p.X - zero.X, p.Y - zero.Y};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint f = ClientToForm(p);
  const TControl* top = this;
  while (top->parent_) top = top->parent_;
  TPoint origin = top->ClientOrigin();
  return {f.X + top->left_ + origin.X, f.Y + top->top_ + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint zero = ClientToScreen({0, 0});
  return {p.X - zero.X, p.Y - zero.Y};
}

TRect TControl::VisibleFormRect() const {
  TPoint clientTopLeft = ClientToForm({0, 0});
  TPoint origin = ClientOrigin();
  TRect r = Bounds(clientTopLeft.X - origin.X, clientTopLeft.Y - origin.Y, width_, height_);
  if (!parent_) {
    // A form: its image holds the client area only.
    return IntersectRect(r, Bounds(0, 0, ClientWidth(), ClientHeight()));
  }
  for (const TWinControl* p = parent_; p; p = p->parent_) {
    TPoint pc = p->ClientToForm({0, 0});
    r = IntersectRect(r, Bounds(pc.X, pc.Y, p->ClientWidth(), p->ClientHeight()));
  }
  return r;
}

void TControl::SetAlign(TAlign value) {
  if (StoreChanged(align_, value)) RequestAlign();
}

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  if (!value) Invalidate();
  visible_ = value;
  CMVisibleChanged();
  if (parent_ && align_ != alNone) parent_->Realign();
  if (value) Invalidate();
}

bool TControl::IsShowing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (!c->parent_) {
      auto* form = dynamic_cast<const TCustomForm*>(c);
      return form && form->IsShown();
    }
  }
  return false;
}

void TControl::SetEnabled(bool value) {
  if (StoreChanged(enabled_, value)) CMEnabledChanged();
}

void TControl::SetCursor(TCursor value) { cursor_ = value; }

void TControl::SetText(const std::string& value) {
  if (StoreChanged(text_, value)) CMTextChanged();
}

void TControl::fontChanged() {
  if (!inheritingFont_) parentFont_ = false;
  CMFontChanged();
}

void TControl::SetParentFont(bool value) {
  if (StoreChanged(parentFont_, value) && value && parent_) CMParentFontChanged();
}

void TControl::CMParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  inheritingFont_ = true;
  struct Reset { bool& flag; ~Reset() { flag = false; } } reset{inheritingFont_};
  font_.Assign(parent_->Font());
}

void TControl::SetColor(TColor value) {
  if (color_ == value) {
    parentColor_ = false;
    return;
  }
  color_ = value;
  parentColor_ = false;
  CMColorChanged();
}

void TControl::SetParentColor(bool value) {
  if (StoreChanged(parentColor_, value) && value && parent_) CMParentColorChanged();
}

void TControl::CMParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  if (color_ == parent_->Color()) return;
  color_ = parent_->Color();
  CMColorChanged();
}

void TControl::Invalidate() { InvalidateRect(Bounds(-ClientOrigin().X, -ClientOrigin().Y, width_, height_)); }

void TControl::InvalidateRect(const TRect& clientRect) {
  TCustomForm* form = GetParentForm();
  if (!form || !visible_) return;
  TPoint zero = ClientToForm({0, 0});
  TRect r = IntersectRect(clientRect.Offset(zero.X, zero.Y), VisibleFormRect());
  if (!r.IsEmpty()) form->InvalidateFormRect(r);
}

void TControl::Update() {
  if (TCustomForm* form = GetParentForm()) form->PaintPending();
}

void TControl::PaintTo(TCanvas& canvas) {
  TCanvas* saved = paintCanvas_;
  paintCanvas_ = &canvas;
  struct Restore { TCanvas*& slot; TCanvas* value; ~Restore() { slot = value; } } restore{
      paintCanvas_, saved};
  Paint();
}

void TControl::PaintControl(TCanvas& canvas) {
  if (!controlStyle_.contains(csOpaque)) WMEraseBkgnd(canvas);
  PaintTo(canvas);
}

void TControl::WMEraseBkgnd(TCanvas& canvas) {
  canvas.Brush.SetColor(color_);
  canvas.Brush.SetStyle(bsSolid);
  canvas.FillRect(ClientRect());
}

intptr_t TControl::Perform(uint32_t Msg, intptr_t WParam, intptr_t LParam) {
  TMessage msg{Msg, WParam, LParam, 0};
  WndProc(msg);
  return msg.Result;
}

void TControl::SetCaptureOnPress(bool on) {
  TCustomForm* form = GetParentForm();
  if (!form) return;
  if (on) {
    form->SetCaptureControl(this);
  } else if (form->CaptureControl() == this) {
    form->SetCaptureControl(nullptr);
  }
}

void TControl::WMMouse(TWMMouse& msg) {
  switch (msg.Kind) {
    case mmDown:
      if (controlStyle_.contains(csCaptureMouse)) SetCaptureOnPress(true);
      if (msg.Button == mbLeft && controlStyle_.contains(csClickEvents))
        controlState_.include(csClicked);
      if (msg.Button == mbLeft) controlState_.include(csLButtonDown);
      if (msg.Button == mbLeft && dragMode_ == dmAutomatic && !Dragging()) BeginAutoDrag();
      MouseDown(msg.Button, msg.Shift, msg.Pos.X, msg.Pos.Y);
      break;
    case mmDblClick:
      if (!controlStyle_.contains(csDoubleClicks)) {
        msg.Kind = mmDown;
        WMMouse(msg);
        return;
      }
      if (controlStyle_.contains(csCaptureMouse)) SetCaptureOnPress(true);
      if (msg.Button == mbLeft && controlStyle_.contains(csClickEvents)) DblClick();
      msg.Shift.include(ssDouble);
      MouseDown(msg.Button, msg.Shift, msg.Pos.X, msg.Pos.Y);
      break;
    case mmMove:
      MouseMove(msg.Shift, msg.Pos.X, msg.Pos.Y);
      break;
    case mmUp:
      if (controlStyle_.contains(csCaptureMouse)) SetCaptureOnPress(false);
      if (msg.Button == mbLeft) {
        controlState_.exclude(csLButtonDown);
        if (controlState_.contains(csClicked)) {
          controlState_.exclude(csClicked);
          if (ClientRect().Contains(msg.Pos)) Click();
        }
      }
      MouseUp(msg.Button, msg.Shift, msg.Pos.X, msg.Pos.Y);
      break;
  }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::BeginDrag(bool immediate, int threshold) {
  BeginControlDrag(this, immediate, threshold);
}

bool TControl::Dragging() const { return DragSourceControl() == this; }

void TControl::EndDrag(bool drop) { EndControlDrag(this, drop); }

void TControl::DoStartDrag(TDragObject*& dragObject) {
  if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DragOver(TObject* source, int X, int Y, TDragState state, bool& accept) {
  accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, source, X, Y, state, accept);
}

void TControl::DragDrop(TObject* source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, source, X, Y);
}

void TControl::DoEndDrag(TObject* target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, target, X, Y);
}

void TControl::WMCancelMode() {
  controlState_.exclude(csClicked);
  controlState_.exclude(csLButtonDown);
  SetCaptureOnPress(false);
}

TCanvas& TGraphicControl::Canvas() {
  if (paintCanvas_) return *paintCanvas_;
  return DirectCanvasFor(*this, directCanvas_);
}

void TGraphicControl::PaintControl(TCanvas& canvas) { PaintTo(canvas); }
