#include "flat/flat_colors.h"

#include <algorithm>

#include "flat/hsl.h"
#include "platform/core/store_changed.h"
#include "platform/ui/control.h"

void FlatColors::Derive(TColor base) {
  if (!UseAdv) return;
  Focused = ShiftLightness(base, Focused, AdvFocused, false);
  Down = ShiftLightness(base, Down, AdvDown, true);
  Border = ShiftLightness(base, Border, AdvBorder, true);
}

bool FlatColors::SetShift(TAdvColors& shift, TAdvColors value, TColor base) {
  if (!StoreChanged(shift, std::clamp(value, 0, 100))) return false;
  Derive(base);
  return true;
}

void FlatColors::FollowColorChange(TControl& control) {
  if (UseAdv) {
    control.SetParentColor(true);
    Derive(control.Color());
  }
  control.Invalidate();
}
