#pragma once
// Anchor scrolling as a mode of the input side: a middle-button press in idle state shows the
// anchor (a round picture of the ways the grid can scroll) centred on the mouse and scrolls
// the grid toward wherever the mouse goes, faster the farther it is (anchor_scroll.h), on a
// 20 ms timer of the grid.
//
// While it runs the mode sees every input before any control (an input tracker): Escape
// pressed or released ends it, other keys are swallowed; moves set the direction, speed and
// cursor; releasing the middle button ends it only after the mouse has left the anchor (a
// click without moving leaves it on until another button's click); any other button or the
// wheel ends it; the window system taking the input away ends it too. The end releases the capture,
// stops the timer, hides the anchor and gives the screen cursor back.
#include <memory>

#include "platform/core/types.h"
#include "platform/ui/control.h"
#include "platform/ui/input_tracker.h"
#include "treelist/anchor_scroll.h"
#include "treelist/input_timers.h"

class TCustomqlTreeList;
class TScreenOverlay;


class TqlAnchorMode : public TInputTracker {
 public:
  // Starts at a screen point with the scroll bars the grid has now.
  TqlAnchorMode(TCustomqlTreeList& grid, TPoint screenStart);
  ~TqlAnchorMode() override;
  TqlAnchorMode(const TqlAnchorMode&) = delete;
  TqlAnchorMode& operator=(const TqlAnchorMode&) = delete;

  bool Active() const { return active_; }
  void End();
  // The grid's 20 ms timer: one scroll line when the speed says so.
  void Tick();
  const TqlAnchorScroll& Scroll() const { return scroll_; }
  const TScreenOverlay& Anchor() const { return *anchor_; }
  // The cursor for the direction: the neutral cursor of the bars the grid has, or an arrow.
  TCursor Cursor() const;

  bool TrackKeyDown(uint16_t key, TShiftState shift) override;
  bool TrackKeyUp(uint16_t key, TShiftState shift) override;
  bool TrackChar(char32_t ch) override { return true; }
  bool TrackMouse(TMouseMessageKind kind, TMouseButton button, TPoint screenPos,
                  TShiftState shift) override;
  bool TrackWheel(int delta, TPoint screenPos, TShiftState shift) override;
  void TrackCancelled() override;

 private:
  void finish(bool stopTracking);

  TCustomqlTreeList& grid_;
  const bool horizontalBar_;
  const bool verticalBar_;
  TqlAnchorScroll scroll_;
  std::unique_ptr<TScreenOverlay> anchor_;
  TCursor savedScreenCursor_ = crDefault;
  bool active_ = false;
};
