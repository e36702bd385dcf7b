#include "treelist/container.h"

#include "platform/ui/services.h"

namespace {
constexpr int kWheelDeltaPerNotch = 120;
}

TCustomqlContainer::TCustomqlContainer(TComponent* AOwner) : TCustomControl(AOwner) {
  // The window starts with the container's bar style on both bars (the platform has no
  // right-to-left locales, so the flat-bar interface is always available).
  applyScrollBarStyle();
}

TCustomqlContainer::~TCustomqlContainer() = default;

void TCustomqlContainer::SetScrollBarStyle(TqlScrollBarStyle value) {
  if (scrollBarStyle_ == value) return;
  scrollBarStyle_ = value;
  applyScrollBarStyle();  // stands for recreating the window: both bars redrawn in the new look
}

void TCustomqlContainer::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool redraw) {
  TScrollInfo styled = info;
  styled.Flat = scrollBarStyle_ != TqlScrollBarStyle::Regular;
  TCustomControl::SetScrollInfo(bar, styled, redraw);
}

void TCustomqlContainer::applyScrollBarStyle() {
  for (TScrollBarKind bar : {sbHorizontal, sbVertical}) SetScrollInfo(bar, GetScrollInfo(bar));
}

std::unique_ptr<TqlEditStyle> TCustomqlContainer::CreateEditStyle(TqlStyledEditor* editor) const {
  return std::make_unique<TqlEditStyle>(editor);
}

void TCustomqlContainer::EditorKeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

// Each whole notch (120) sends one line-scroll message per configured wheel line, up for a
// turn away from the user. Deltas below a notch (high-resolution wheels, touchpads) are
// collected until they make a notch, so that small steps do not each scroll a full notch.
void TCustomqlContainer::WMMouseWheel(TWMMouseWheel& msg) {
  TCustomControl::WMMouseWheel(msg);
  if ((wheelRemainder_ > 0 && msg.WheelDelta < 0) || (wheelRemainder_ < 0 && msg.WheelDelta > 0))
    wheelRemainder_ = 0;  // a change of direction forgets the part notch
  int total = wheelRemainder_ + msg.WheelDelta;
  int notches = total / kWheelDeltaPerNotch;
  wheelRemainder_ = total % kWheelDeltaPerNotch;
  int lines = GetWheelScrollLines();
  TScrollCode code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int n = notches > 0 ? notches : -notches; n > 0; --n)
    for (int line = 0; line < lines; ++line) DispatchScroll(sbVertical, code, 0);
  msg.Handled = true;
}
