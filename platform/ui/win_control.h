#pragma once
// TWinControl: a control that holds children, takes the keyboard focus and receives keys,
// timers and scroll requests. TCustomControl adds a canvas of its own for Paint().
//
// Children are kept in z-order (first = bottom). Tab order is a separate list of the windowed
// children. Aligned children are placed in the order alTop, alBottom, alLeft, alRight,
// alClient inside the area AdjustClientRect leaves.
#include <memory>
#include <vector>

#include "platform/ui/control.h"

struct TScrollInfo {
  int Min = 0;
  int Max = 100;
  int Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Visible = false;
  bool Flat = false;  // drawn in the common controls' flat style
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }

  // --- children ---
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_[index]; }
  bool ContainsControl(const TControl* control) const;  // descendants included
  // Topmost visible child (windowed or graphic) whose bounds hold the client point.
  TControl* ControlAtPos(TPoint clientPos, bool allowDisabled, bool allowWindowed = true) const;
  void BringToFront(TControl* child);
  void SendToBack(TControl* child);
  void Broadcast(TMessage& msg);

  // --- tab order and focus ---
  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Windowed children in tab order.
  std::vector<TWinControl*> GetTabOrderList() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;
  // Next or previous focusable tab stop after `current` among the descendants, wrapping.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // --- layout ---
  int ClientWidth() const override;
  int ClientHeight() const override;
  TPoint ClientOrigin() const override { return {ncInsets_.Left, ncInsets_.Top}; }
  // The area aligned children share (the client rect unless a subclass insets it).
  virtual void AdjustClientRect(TRect& rect) const {}
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  // --- non-client frame (WM_NCCALCSIZE): widths of the frame on each side ---
  TRect NonClientInsets() const { return ncInsets_; }
  void SetNonClientInsets(const TRect& insets);

  // --- timers by identifier (WM_TIMER) ---
  void SetTimer(int id, int intervalMs);
  void KillTimer(int id);
  bool HasTimer(int id) const;
  // The interval a running timer was last set with, 0 when it does not run.
  int TimerInterval(int id) const;

  // --- scroll bars of the window (standard or flat) ---
  const TScrollInfo& GetScrollInfo(TScrollBarKind bar) const { return scroll_[bar]; }
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool redraw = true);
  void ShowScrollBar(TScrollBarKind bar, bool show);

  // --- key entry points (the form routes keys to its active control through these) ---
  void DispatchKeyDown(TWMKey& msg) { WMKeyDown(msg); }
  void DispatchKeyUp(TWMKey& msg) { WMKeyUp(msg); }
  void DispatchChar(char32_t& ch) { WMChar(ch); }
  int DispatchGetDlgCode() { return WMGetDlgCode(); }
  bool DispatchDialogChar(char32_t ch) { return CMDialogChar(ch); }
  bool DispatchDialogKey(uint16_t key, TShiftState shift) { return CMDialogKey(key, shift); }
  void DispatchTimer(int id) { WMTimer(id); }
  void DispatchScroll(TScrollBarKind bar, TScrollCode code, int pos) {
    bar == sbVertical ? WMVScroll(code, pos) : WMHScroll(code, pos);
  }
  void DispatchSetFocus() { WMSetFocus(); }
  void DispatchKillFocus() { WMKillFocus(); }
  void DispatchEnter() { CMEnter(); }
  void DispatchExit() { CMExit(); }
  void NotifySysColorChange();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Paint, then the graphic children (the paint pass erases first; windowed children follow).
  void PaintTo(TCanvas& canvas) override;
  // Draws the window's frame and scroll bars; origin at the window's top-left.
  virtual void WMNCPaint(TCanvas& canvas);

  // The native text editor a subclass hosts, if any (see native_edit.h).
  virtual class TNativeEditHost* NativeEdit() { return nullptr; }

 protected:
  // Children with an Align are placed once loading ends (realigning waits while loading).
  void Loaded() override;
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void WMKeyDown(TWMKey& msg);
  virtual void WMKeyUp(TWMKey& msg);
  virtual void WMChar(char32_t& ch);
  virtual int WMGetDlgCode() { return 0; }
  virtual bool CMDialogChar(char32_t ch);
  // Enter or Escape that the focused control does not want, offered to every control of the
  // form (the default and cancel buttons take them); true when one used it. The base offers
  // it to the windowed children in z-order.
  virtual bool CMDialogKey(uint16_t key, TShiftState shift);
  virtual void WMTimer(int id) {}
  virtual void WMHScroll(TScrollCode code, int pos) {}
  virtual void WMVScroll(TScrollCode code, int pos) {}
  virtual void WMSetFocus() {}
  virtual void WMKillFocus() {}
  virtual void CMEnter() { if (OnEnter) OnEnter(this); }
  virtual void CMExit() { if (OnExit) OnExit(this); }
  virtual void AlignControls(TRect& rect);
  void PaintControls(TCanvas& canvas);
  void CMEnabledChanged() override;
  void CMFontChanged() override;
  void CMColorChanged() override;
  void CMVisibleChanged() override;
  void BoundsChanged(const TRect& oldBounds) override;

  friend class TControl;
  friend class TCustomForm;

 private:
  void insertControl(TControl* child);
  void removeControl(TControl* child);
  void notifyChildren(void (TControl::*handler)());

  std::vector<TControl*> controls_;     // z-order, non-owning
  std::vector<TWinControl*> tabList_;   // tab order, non-owning
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool realigning_ = false;
  TRect ncInsets_{};
  TScrollInfo scroll_[2];
  struct RunningTimer {
    int Id;
    int Interval;  // milliseconds
  };
  std::vector<RunningTimer> timers_;
  std::vector<RunningTimer>::const_iterator findTimer(int id) const;
};

// A windowed control that paints itself through Canvas() in Paint().
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // During a paint pass: the pass's canvas. Outside one: a canvas on the form's image,
  // clipped to what is visible of the client area, whose drawing reaches the screen at once.
  TCanvas& Canvas();

 private:
  std::unique_ptr<TCanvas> directCanvas_;
};

// RAII: raises the align lock of a control for the scope (so an exception cannot leave it).
class TAlignLock {
 public:
  explicit TAlignLock(TWinControl& c) : c_(c) { c_.DisableAlign(); }
  ~TAlignLock() { c_.EnableAlign(); }
  TAlignLock(const TAlignLock&) = delete;
  TAlignLock& operator=(const TAlignLock&) = delete;

 private:
  TWinControl& c_;
};
