// Anchor scrolling's mode (treelist_anchor_mode.h).
#include "treelist/treelist_anchor_mode.h"

#include "platform/gfx/bitmap.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/services.h"
#include "treelist/anchor_picture.h"
#include "treelist/treelist_core.h"

TqlAnchorMode::TqlAnchorMode(TCustomqlTreeList& grid, TPoint screenStart)
    : grid_(grid),
      horizontalBar_(grid.GetScrollInfo(sbHorizontal).Visible),
      verticalBar_(grid.GetScrollInfo(sbVertical).Visible),
      scroll_(screenStart, kqlAnchorPictureSize, horizontalBar_, verticalBar_),
      anchor_(std::make_unique<TScreenOverlay>()) {
  TBitmap picture;
  DrawAnchorPicture(picture, horizontalBar_, verticalBar_);
  anchor_->SetPicture(picture);
  anchor_->SetShape(AnchorShape());
  anchor_->Show({screenStart.X - picture.Width() / 2, screenStart.Y - picture.Height() / 2});
  savedScreenCursor_ = ScreenCursor();
  SetScreenCursor(Cursor());
  grid_.SetTimer(kqlAnchorScrollTimerId, TqlAnchorScroll::kTimerInterval);
  SetCapture(&grid_);
  active_ = true;
  StartInputTracking(this);
}

TqlAnchorMode::~TqlAnchorMode() { End(); }

void TqlAnchorMode::End() { finish(true); }

void TqlAnchorMode::finish(bool stopTracking) {
  if (!active_) return;
  active_ = false;
  if (stopTracking) StopInputTracking(this);
  if (GetCapture() == &grid_) ReleaseCapture();
  grid_.KillTimer(kqlAnchorScrollTimerId);
  anchor_->Hide();
  SetScreenCursor(savedScreenCursor_);
}

TCursor TqlAnchorMode::Cursor() const {
  switch (scroll_.Direction()) {
    case TqlAnchorDirection::Up: return crqlTLUpScroll;
    case TqlAnchorDirection::Right: return crqlTLRightScroll;
    case TqlAnchorDirection::Down: return crqlTLDownScroll;
    case TqlAnchorDirection::Left: return crqlTLLeftScroll;
    case TqlAnchorDirection::None: break;
  }
  if (horizontalBar_ && verticalBar_) return crqlTLFullScroll;
  return horizontalBar_ ? crqlTLHorScroll : crqlTLVerScroll;
}

void TqlAnchorMode::Tick() {
  if (!active_ || !scroll_.Tick()) return;
  switch (scroll_.Direction()) {
    case TqlAnchorDirection::Up: grid_.DispatchScroll(sbVertical, SB_LINEUP, 0); break;
    case TqlAnchorDirection::Down: grid_.DispatchScroll(sbVertical, SB_LINEDOWN, 0); break;
    case TqlAnchorDirection::Left: grid_.DispatchScroll(sbHorizontal, SB_LINEUP, 0); break;
    case TqlAnchorDirection::Right: grid_.DispatchScroll(sbHorizontal, SB_LINEDOWN, 0); break;
    case TqlAnchorDirection::None: break;
  }
}

bool TqlAnchorMode::TrackKeyDown(uint16_t key, TShiftState) {
  if (key == VK_ESCAPE) End();
  return true;
}

bool TqlAnchorMode::TrackKeyUp(uint16_t key, TShiftState) {
  if (key == VK_ESCAPE) End();
  return true;
}

bool TqlAnchorMode::TrackMouse(TMouseMessageKind kind, TMouseButton button, TPoint screenPos,
                               TShiftState) {
  switch (kind) {
    case mmMove:
      scroll_.MouseMove(screenPos);
      SetScreenCursor(Cursor());
      break;
    case mmUp:
      if (button != mbMiddle || scroll_.LeftAnchor()) End();
      break;
    case mmDown: case mmDblClick:
      if (button != mbMiddle) End();
      break;
  }
  return true;
}

bool TqlAnchorMode::TrackWheel(int, TPoint, TShiftState) {
  End();
  return true;
}

void TqlAnchorMode::TrackCancelled() { finish(false); }
