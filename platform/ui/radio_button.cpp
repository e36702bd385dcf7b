#include "platform/ui/radio_button.h"

#include "platform/gfx/canvas.h"

namespace {

constexpr int kCircleSize = 12;
constexpr int kCaptionLeft = 16;  // the circle and a 4-pixel gap

// The classic radio circle, one character per pixel:
//   S clBtnShadow    H clBtnHighlight   (outer ring: upper-left / lower-right half)
//   D cl3DDkShadow   F clBtnFace        (inner ring: upper-left / lower-right half)
//   W the inside     . left alone (the background shows)
// The halves split along the anti-diagonal; on the inner ring the top row's right end stays
// dark and the bottom-left end light, as the classic bitmap has them.
constexpr const char* kClassicRadioMask[kCircleSize] = {
    "....SSSS....",
    "..SSDDDDSS..",
    ".SDDWWWWDDH.",
    ".SDWWWWWWFH.",
    "SDWWWWWWWWFH",
    "SDWWWWWWWWFH",
    "SDWWWWWWWWFH",
    "SDWWWWWWWWFH",
    ".SDWWWWWWFH.",
    ".SFFWWWWFFH.",
    "..HHFFFFHH..",
    "....HHHH....",
};

// The check dot: 4 x 4 at (4, 4) of the box, corners left out.
constexpr const char* kDotMask[4] = {".XX.", "XXXX", "XXXX", ".XX."};
constexpr int kDotOffset = 4;

}  // namespace

TRadioButton::TRadioButton(TComponent* AOwner) : TCustomControl(AOwner) {
  // No csClickEvents: OnClick comes from checking, never from the framework's click.
  SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 113, 17);
  SetParentColor(true);
}

// ===== checking ==============================================================================

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  SetTabStop(value);
  Invalidate();
  if (!value) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  Click();
}

TRadioButton* TRadioButton::neighbour(bool forward) const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  std::vector<TRadioButton*> group;
  for (TWinControl* c : parent->GetTabOrderList())
    if (auto* radio = dynamic_cast<TRadioButton*>(c); radio && radio->Parent() == parent)
      group.push_back(radio);
  const int n = static_cast<int>(group.size());
  int at = 0;
  while (at < n && group[at] != this) ++at;
  if (at == n) return nullptr;
  for (int step = 1; step < n; ++step) {
    TRadioButton* candidate = group[(at + (forward ? step : n - step)) % n];
    if (candidate->CanFocus()) return candidate;
  }
  return nullptr;
}

// ===== mouse and keys ========================================================================

void TRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Enabled()) {
    if (CanFocus() && !Focused()) SetFocus();
    mouseHeld_ = true;
    mouseInside_ = true;
    Invalidate();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TRadioButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (mouseHeld_) SetAndInvalidate(mouseInside_, ClientRect().Contains({X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && mouseHeld_) {
    const bool inside = ClientRect().Contains({X, Y});
    mouseHeld_ = false;
    mouseInside_ = false;
    Invalidate();
    if (inside) SetChecked(true);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TRadioButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && Shift.empty()) {
    SetAndInvalidate(spaceHeld_, true);
    Key = 0;
    return;
  }
  const bool back = Key == VK_LEFT || Key == VK_UP;
  const bool forward = Key == VK_RIGHT || Key == VK_DOWN;
  if (!back && !forward) return;
  Key = 0;
  if (TRadioButton* next = neighbour(forward)) {
    next->SetFocus();
    next->SetChecked(true);
  }
}

void TRadioButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key != VK_SPACE || !spaceHeld_) return;
  SetAndInvalidate(spaceHeld_, false);
  Key = 0;
  SetChecked(true);
}

int TRadioButton::WMGetDlgCode() { return DLGC_WANTARROWS; }

bool TRadioButton::CMDialogChar(char32_t ch) {
  if (IsAccel(ch, Caption()) && CanFocus()) {
    SetFocus();
    SetChecked(true);
    return true;
  }
  return TCustomControl::CMDialogChar(ch);
}

void TRadioButton::WMKillFocus() {
  SetAndInvalidate(spaceHeld_, false);
  Invalidate();
}

void TRadioButton::WMCancelMode() {
  mouseHeld_ = mouseInside_ = spaceHeld_ = false;
  Invalidate();
  TCustomControl::WMCancelMode();
}

void TRadioButton::CMEnabledChanged() {
  mouseHeld_ = mouseInside_ = spaceHeld_ = false;
  TCustomControl::CMEnabledChanged();
}

// ===== painting ==============================================================================

TRect TRadioButton::CircleRect() const {
  return Bounds(0, (ClientHeight() - kCircleSize) / 2, kCircleSize, kCircleSize);
}

TRect TRadioButton::CaptionRect() const {
  if (Caption().empty()) return {};
  TCanvas measure;
  measure.Font = Font();
  TRect text{0, 0, 0, 0};
  measure.DrawText(Caption(), text, DT_CALCRECT | DT_SINGLELINE);
  const int top = (ClientHeight() - text.Height()) / 2;
  return Bounds(kCaptionLeft, top, text.Width(), text.Height());
}

void TRadioButton::paintCircle(TCanvas& canvas, TPoint origin) const {
  const bool enabled = Enabled();
  const TColor inside = enabled && !IsPushed() ? clWindow : clBtnFace;
  for (int y = 0; y < kCircleSize; ++y)
    for (int x = 0; x < kCircleSize; ++x) {
      TColor color;
      switch (kClassicRadioMask[y][x]) {
        case 'S': color = clBtnShadow; break;
        case 'H': color = clBtnHighlight; break;
        case 'D': color = cl3DDkShadow; break;
        case 'F': color = clBtnFace; break;
        case 'W': color = inside; break;
        default: continue;
      }
      canvas.SetPixels(origin.X + x, origin.Y + y, color);
    }
  if (!checked_) return;
  const TColor dot = enabled ? clWindowText : clBtnShadow;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if (kDotMask[y][x] == 'X')
        canvas.SetPixels(origin.X + kDotOffset + x, origin.Y + kDotOffset + y, dot);
}

void TRadioButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect circle = CircleRect();
  paintCircle(canvas, {circle.Left, circle.Top});
  if (Caption().empty()) return;

  const TRect text = CaptionRect();
  canvas.Font = Font();
  canvas.Brush.SetStyle(bsClear);
  const unsigned flags = DT_SINGLELINE | DT_LEFT | DT_TOP;
  if (Enabled()) {
    canvas.DrawText(Caption(), text, flags);
  } else {
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(Caption(), text.Offset(1, 1), flags);
    canvas.Font.SetColor(clBtnShadow);
    canvas.DrawText(Caption(), text, flags);
  }
  if (Focused()) {
    const TRect focus = IntersectRect({text.Left - 1, text.Top, text.Right + 1, text.Bottom}, ClientRect());
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(Color());
    canvas.SetTextColor(clBlack);
    canvas.SetBkColor(clWhite);
    canvas.DrawFocusRect(focus);
  }
}
