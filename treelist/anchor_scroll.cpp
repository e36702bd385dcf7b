// Anchor scrolling's arithmetic (anchor_scroll.h).
#include "treelist/anchor_scroll.h"

#include <algorithm>
#include <cstdlib>

void TqlAnchorScroll::MouseMove(TPoint p) {
  const int dx = p.X - start_.X;
  const int dy = p.Y - start_.Y;
  // Without a bar the zone covers the whole screen along that bar's axis.
  const bool outsideX = horizontal_ && std::abs(dx) > half_;
  const bool outsideY = vertical_ && std::abs(dy) > half_;
  if (!outsideX && !outsideY) {
    direction_ = TqlAnchorDirection::None;
    speed_ = 0;
    return;
  }
  leftAnchor_ = true;
  const bool vertical = !horizontal_ || (vertical_ && std::abs(dy) >= std::abs(dx));
  const int distance = vertical ? std::abs(dy) : std::abs(dx);
  if (vertical)
    direction_ = dy < 0 ? TqlAnchorDirection::Up : TqlAnchorDirection::Down;
  else
    direction_ = dx < 0 ? TqlAnchorDirection::Left : TqlAnchorDirection::Right;
  speed_ = std::clamp((distance - half_) / 5 + 1, 1, kMaxSpeed);
}

bool TqlAnchorScroll::Tick() {
  ++ticks_;
  return speed_ > 0 && ticks_ % (kMaxSpeed + 1 - speed_) == 0;
}
