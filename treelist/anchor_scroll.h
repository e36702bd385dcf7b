#pragma once
// Anchor scrolling's arithmetic: after a middle-button press the grid scrolls toward wherever
// the mouse goes, faster the farther it is from where the press was. The loop that runs it
// (capture, timer, the anchor window) asks this class what a mouse position means and when a
// timer tick sends the next scroll line.
//
// The neutral zone is a square of the anchor bitmap's width centred on the press, stretched
// over the whole screen height without a vertical scroll bar and over the whole width without
// a horizontal one. Outside it the direction is vertical when there is no horizontal bar, or
// when there is a vertical bar and the mouse is at least as far off vertically as
// horizontally; else horizontal. Speed = (distance along that axis - half the bitmap width)
// / 5 + 1, at most 12; a line is sent on every (13 - speed)-th tick of the 20 ms timer, so
// speed 12 scrolls every 20 ms and speed 1 every 240 ms.
#include "platform/core/types.h"

// Directions as the loop sends scroll lines; None inside the neutral zone.
enum class TqlAnchorDirection { None = 0, Left = 1, Up = 2, Right = 3, Down = 4 };

class TqlAnchorScroll {
 public:
  static constexpr int kTimerInterval = 20;  // milliseconds
  static constexpr int kMaxSpeed = 12;

  TqlAnchorScroll(TPoint start, int bitmapWidth, bool horizontalBar, bool verticalBar)
      : start_(start), half_(bitmapWidth / 2), horizontal_(horizontalBar),
        vertical_(verticalBar) {}

  // A mouse move (screen coordinates): direction and speed follow it.
  void MouseMove(TPoint p);
  // A timer tick: true when a scroll line in Direction() is due now.
  bool Tick();

  TqlAnchorDirection Direction() const { return direction_; }
  int Speed() const { return speed_; }
  // The mouse has been outside the neutral zone once. Until then a release of the middle
  // button leaves the mode on (a click without moving starts it for good, the next click
  // ends it).
  bool LeftAnchor() const { return leftAnchor_; }

 private:
  TPoint start_;
  int half_;
  bool horizontal_, vertical_;
  TqlAnchorDirection direction_ = TqlAnchorDirection::None;
  int speed_ = 0;
  int ticks_ = 0;
  bool leftAnchor_ = false;
};
