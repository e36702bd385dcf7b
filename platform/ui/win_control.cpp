#include "platform/ui/win_control.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/scroll_bar_geometry.h"

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  for (const RunningTimer& timer : std::vector<RunningTimer>(timers_)) KillTimer(timer.Id);
  // Children that are not owned by us (owned by the form) lose their parent.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

void TWinControl::insertControl(TControl* child) {
  controls_.push_back(child);
  if (auto* w = dynamic_cast<TWinControl*>(child)) tabList_.push_back(w);
}

void TWinControl::removeControl(TControl* child) {
  if (TCustomForm* form = GetParentForm()) form->ForgetControl(child);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), child), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint clientPos, bool allowDisabled, bool allowWindowed) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    if (!allowWindowed && c->IsWindowed()) continue;
    if (c->BoundsRect().Contains(clientPos)) return c;
  }
  return nullptr;
}

void TWinControl::BringToFront(TControl* child) {
  auto it = std::find(controls_.begin(), controls_.end(), child);
  if (it == controls_.end()) return;
  controls_.erase(it);
  controls_.push_back(child);
  child->Invalidate();
}

void TWinControl::SendToBack(TControl* child) {
  auto it = std::find(controls_.begin(), controls_.end(), child);
  if (it == controls_.end()) return;
  controls_.erase(it);
  controls_.insert(controls_.begin(), child);
  child->Invalidate();
}

void TWinControl::Broadcast(TMessage& msg) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WndProc(msg);
    if (msg.Result != 0) return;
  }
}

void TWinControl::notifyChildren(void (TControl::*handler)()) {
  for (TControl* c : std::vector<TControl*>(controls_)) (c->*handler)();
}

// --- tab order and focus ---

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const {
  std::vector<TWinControl*> out;
  for (TWinControl* c : tabList_) {
    out.push_back(c);
    auto inner = c->GetTabOrderList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

bool TWinControl::CanFocus() const {
  if (!GetParentForm()) return false;
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    form->SetFocusedControl(this);
  }
}

bool TWinControl::Focused() const {
  TCustomForm* form = GetParentForm();
  return form && form->ActiveControl() == this && form->Active();
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list = GetTabOrderList();
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[i];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

// --- layout ---

int TWinControl::ClientWidth() const {
  int w = Width() - ncInsets_.Left - ncInsets_.Right;
  if (scroll_[sbVertical].Visible) w -= kScrollBarSize;
  return std::max(0, w);
}

int TWinControl::ClientHeight() const {
  int h = Height() - ncInsets_.Top - ncInsets_.Bottom;
  if (scroll_[sbHorizontal].Visible) h -= kScrollBarSize;
  return std::max(0, h);
}

void TWinControl::SetNonClientInsets(const TRect& insets) {
  if (!StoreChanged(ncInsets_, insets)) return;
  WMSize();
  Realign();
  Invalidate();
}

void TWinControl::EnableAlign() {
  if (--alignDisabled_ == 0) Realign();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || realigning_ || IsLoading()) return;
  realigning_ = true;
  struct Reset { bool& f; ~Reset() { f = false; } } reset{realigning_};
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(rect);
}

void TWinControl::AlignControls(TRect& rect) {
  const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : order) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == align) list.push_back(c);
    // Controls of one alignment keep their order along the edge they stick to.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = c->Width(), h = c->Height();
      switch (align) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
          rect.Top += h;
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
          rect.Bottom -= h;
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, w, rect.Height());
          rect.Left += w;
          break;
        case alRight:
          c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
          rect.Right -= w;
          break;
        case alClient:
          c->SetBounds(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
          break;
        default: break;
      }
    }
  }
}

void TWinControl::BoundsChanged(const TRect& oldBounds) {
  TControl::BoundsChanged(oldBounds);
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) Realign();
}

// --- notifications that children follow ---

void TWinControl::CMEnabledChanged() {
  if (!Enabled()) {
    if (TCustomForm* form = GetParentForm())
      if (form->ActiveControl() && ContainsControl(form->ActiveControl()) && form != this)
        form->SetActiveControl(nullptr);
  }
  Invalidate();
}

void TWinControl::CMFontChanged() {
  Invalidate();
  notifyChildren(&TControl::CMParentFontChanged);
}

void TWinControl::CMColorChanged() {
  Invalidate();
  notifyChildren(&TControl::CMParentColorChanged);
}

void TWinControl::CMVisibleChanged() {
  if (!Visible())
    if (TCustomForm* form = GetParentForm())
      if (form != this && form->ActiveControl() && ContainsControl(form->ActiveControl()))
        form->SetActiveControl(nullptr);
}

void TWinControl::NotifySysColorChange() {
  CMSysColorChange();
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      w->NotifySysColorChange();
    else
      c->CMSysColorChange();
  }
  Invalidate();
}

// --- keys ---

void TWinControl::WMKeyDown(TWMKey& msg) { KeyDown(msg.CharCode, msg.Shift); }
void TWinControl::WMKeyUp(TWMKey& msg) { KeyUp(msg.CharCode, msg.Shift); }
void TWinControl::WMChar(char32_t& ch) { KeyPress(ch); }

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::CMDialogChar(char32_t ch) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (w->Visible() && w->Enabled() && w->CMDialogChar(ch)) return true;
  return false;
}

bool TWinControl::CMDialogKey(uint16_t key, TShiftState shift) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (w->Visible() && w->Enabled() && w->CMDialogKey(key, shift)) return true;
  return false;
}

// --- timers and scroll bars ---

void TWinControl::SetTimer(int id, int intervalMs) {
  auto it = timers_.begin() + (findTimer(id) - timers_.cbegin());
  if (it == timers_.end()) timers_.push_back({id, intervalMs});
  else it->Interval = intervalMs;
  StartControlTimer(this, id, intervalMs);
}

void TWinControl::KillTimer(int id) {
  auto it = findTimer(id);
  if (it == timers_.end()) return;
  timers_.erase(it);
  StopControlTimer(this, id);
}

bool TWinControl::HasTimer(int id) const { return findTimer(id) != timers_.end(); }

int TWinControl::TimerInterval(int id) const {
  auto it = findTimer(id);
  return it == timers_.end() ? 0 : it->Interval;
}

std::vector<TWinControl::RunningTimer>::const_iterator TWinControl::findTimer(int id) const {
  return std::find_if(timers_.begin(), timers_.end(),
                      [id](const RunningTimer& t) { return t.Id == id; });
}

void TWinControl::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool redraw) {
  bool visibilityChanged = info.Visible != scroll_[bar].Visible;
  scroll_[bar] = info;
  int maxPos = std::max(info.Min, info.Max - std::max(info.Page - 1, 0));
  scroll_[bar].Pos = std::clamp(info.Pos, info.Min, maxPos);
  if (visibilityChanged) {
    WMSize();
    Realign();
  }
  if (redraw) Invalidate();
}

void TWinControl::ShowScrollBar(TScrollBarKind bar, bool show) {
  TScrollInfo info = scroll_[bar];
  info.Visible = show;
  SetScrollInfo(bar, info);
}

// --- painting ---

void TWinControl::WMNCPaint(TCanvas& canvas) {
  PaintScrollBars(*this, canvas);
}

void TWinControl::PaintControls(TCanvas& canvas) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->IsWindowed() || !c->Visible()) continue;
    TRect bounds = c->BoundsRect();
    if (!canvas.RectVisible(bounds)) continue;
    TCanvasStateGuard guard(canvas);
    canvas.IntersectClipRect(bounds);
    canvas.OffsetViewportOrg(bounds.Left, bounds.Top);
    c->PaintControl(canvas);
  }
}

void TWinControl::PaintTo(TCanvas& canvas) {
  TControl::PaintTo(canvas);
  PaintControls(canvas);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() {
  if (paintCanvas_) return *paintCanvas_;
  return DirectCanvasFor(*this, directCanvas_);
}
