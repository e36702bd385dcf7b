// The drag manager (drag_manager.h): one TDragSession per drag, the input tracker that runs
// it.
//
// Re-entry: every event handler may end the drag, free the source or the target, or begin a
// new drag. So a session is never freed while any drag-manager call is on the stack: an ended
// session is only marked, and the outermost call frees the ended ones when it returns
// (TEntry). After each handler the session checks whether it has ended and reads its control
// pointers again, which DragControlDestroying clears when their controls go.
#include "platform/ui/drag_manager.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/ui/input_tracker.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/services.h"

void TDragObject::SetDragImage(const TBitmap& image, TPoint hotSpot) {
  image_ = image;
  hotSpot_ = hotSpot;
  ++imageVersion_;
}

TCursor TDragObject::GetDragCursor(bool accepted, TPoint) {
  return accepted && source_ ? source_->DragCursor() : crNoDrop;
}

class TDragSession final : public TInputTracker {
 public:
  TDragSession(TControl* source, int threshold, TPoint start)
      : source_(source), threshold_(threshold), start_(start), pos_(start) {}

  bool TrackKeyDown(uint16_t key, TShiftState shift) override;
  bool TrackKeyUp(uint16_t key, TShiftState shift) override;
  bool TrackChar(char32_t) override { return started_; }
  bool TrackMouse(TMouseMessageKind kind, TMouseButton button, TPoint screenPos,
                  TShiftState shift) override;
  bool TrackWheel(int, TPoint, TShiftState) override { return started_; }
  void TrackCancelled() override { finish(false); }

  // Starts the drag: the source's DoStartDrag, then the first move.
  void start();
  // Ends the drag as a drop or a cancel, with the events of a started drag.
  void finish(bool drop);
  // Ends the drag without any event (it never started, or its source is gone).
  void abandon();
  // A control is being destroyed: nothing may point at it any more.
  void forget(TControl* control);

  bool Ended() const { return ended_; }
  bool Started() const { return started_; }
  TControl* Source() const { return source_; }
  TDragObject* Object() const { return object_; }
  const TScreenOverlay* ImageOverlay() const { return image_.get(); }

 private:
  void moveTo(TPoint screenPos);
  void showFeedback();
  // A drag-over call to control at the current point; returns its acceptance.
  bool sendOver(TControl* control, TDragState state);
  TObject* sourceObject() const { return object_ ? object_->Source() : nullptr; }
  // Marks the session ended and takes away the grab, the cursor and the image.
  void close();

  TControl* source_;                 // non-owning; nullptr once destroyed
  TControl* target_ = nullptr;       // under the cursor and told so (enter sent, no leave yet)
  TControl* dropTarget_ = nullptr;   // while ending: the accepting target of a drop
  bool accepted_ = false;            // target_'s last answer
  TDragObject* object_ = nullptr;    // the source's or ownObject_; nullptr before the start
  std::unique_ptr<TDragObject> ownObject_;
  const int threshold_;              // pixels the mouse moves before a waiting drag starts
  const TPoint start_;               // screen point where the drag began
  TPoint pos_;                       // the cursor's screen point, as last seen
  bool started_ = false;             // the drag object is set and the first move sent
  bool ended_ = false;
  TCursor savedCursor_ = crDefault;  // the screen cursor before the start
  std::unique_ptr<TScreenOverlay> image_;  // shown while object_ has a picture
  int shownImageVersion_ = -1;       // object_'s picture version that image_ shows
};

namespace {

TDragSession* running = nullptr;                       // not ended; owned by `sessions`
std::vector<std::unique_ptr<TDragSession>> sessions;  // the running one and ended ones
int depth = 0;                                         // drag-manager calls on the stack

// Held by every entry into the manager: when the outermost returns, ended sessions go.
struct TEntry {
  TEntry() { ++depth; }
  ~TEntry() {
    if (--depth > 0) return;
    std::erase_if(sessions, [](const std::unique_ptr<TDragSession>& s) { return s->Ended(); });
  }
  TEntry(const TEntry&) = delete;
  TEntry& operator=(const TEntry&) = delete;
};

}  // namespace

TControl* DragSourceControl() { return running ? running->Source() : nullptr; }

TDragObject* CurrentDragObject() { return running && running->Started() ? running->Object() : nullptr; }

const TScreenOverlay* DragImageOverlay() { return running ? running->ImageOverlay() : nullptr; }

void BeginControlDrag(TControl* source, bool immediate, int threshold) {
  if (!source || running) return;
  TEntry entry;
  if (threshold < 0) threshold = GetSystemMetrics(SM_CXDRAG);
  sessions.push_back(std::make_unique<TDragSession>(source, threshold, GetCursorPos()));
  TDragSession* session = sessions.back().get();
  running = session;
  StartInputTracking(session);  // a running mouse mode is cancelled: its handler may run
  if (immediate && !session->Ended()) session->start();
}

void EndControlDrag(TControl* source, bool drop) {
  if (!running || !source || running->Source() != source) return;
  TEntry entry;
  if (running->Started())
    running->finish(drop);
  else
    running->abandon();
}

void DragControlDestroying(TControl* control) {
  TEntry entry;
  // Handlers of the ones ending may still be on the stack: each of them forgets too.
  for (size_t i = 0; i < sessions.size(); ++i) sessions[i]->forget(control);
}

// --- the session ---

void TDragSession::close() {
  ended_ = true;
  if (running == this) running = nullptr;
  StopInputTracking(this);
  if (started_) SetScreenCursor(savedCursor_);
  image_.reset();
}

void TDragSession::abandon() {
  if (!ended_) close();
}

void TDragSession::forget(TControl* control) {
  if (control == target_) {
    target_ = nullptr;
    accepted_ = false;
  }
  if (control == dropTarget_) dropTarget_ = nullptr;
  if (object_ && object_->dragTarget_ == control) object_->dragTarget_ = nullptr;
  if (control != source_) return;
  source_ = nullptr;
  // A drag object of the source's own may go with it; the plain one stays, without source.
  if (ownObject_)
    ownObject_->source_ = nullptr;
  else
    object_ = nullptr;
  abandon();
}

void TDragSession::start() {
  TEntry entry;
  // The drag holds the mouse from now on: the source's press ends without a click.
  source_->controlState_.exclude(csClicked);
  source_->controlState_.exclude(csLButtonDown);
  ReleaseCapture();
  savedCursor_ = ScreenCursor();
  // A failing OnStartDrag leaves no drag behind.
  struct TAbandonOnThrow {
    TDragSession* session;
    ~TAbandonOnThrow() {
      if (session) session->abandon();
    }
  } guard{this};
  TDragObject* supplied = nullptr;
  source_->DoStartDrag(supplied);
  guard.session = nullptr;
  if (ended_) return;
  if (supplied) {
    object_ = supplied;
  } else {
    ownObject_ = std::make_unique<TDragObject>(source_);
    object_ = ownObject_.get();
  }
  started_ = true;
  moveTo(pos_);
}

void TDragSession::moveTo(TPoint screenPos) {
  pos_ = screenPos;
  object_->dragPos_ = screenPos;
  TControl* found = FindControlAtScreen(screenPos, false);
  if (found != target_) {
    if (TControl* old = target_) {
      target_ = nullptr;
      accepted_ = false;
      object_->dragTarget_ = nullptr;
      sendOver(old, dsDragLeave);
      if (ended_) return;
      // The handler may have freed the control that was found.
      found = FindControlAtScreen(screenPos, false);
    }
    target_ = found;
    object_->dragTarget_ = found;
    if (found) {
      const bool accepted = sendOver(found, dsDragEnter);
      if (ended_) return;
      if (target_ == found) accepted_ = accepted;
    }
  } else if (target_) {
    const bool accepted = sendOver(target_, dsDragMove);
    if (ended_) return;
    accepted_ = target_ ? accepted : false;
  }
  showFeedback();
}

bool TDragSession::sendOver(TControl* control, TDragState state) {
  bool accept = false;
  const TPoint client = control->ScreenToClient(pos_);
  control->DragOver(sourceObject(), client.X, client.Y, state, accept);
  return accept;
}

void TDragSession::showFeedback() {
  const TCursor cursor = object_->GetDragCursor(accepted_ && target_, pos_);
  if (ended_) return;
  SetScreenCursor(cursor);
  if (object_->imageVersion_ != shownImageVersion_) {
    shownImageVersion_ = object_->imageVersion_;
    const TBitmap& picture = object_->image_;
    if (picture.Empty()) {
      image_.reset();
    } else {
      if (!image_) image_ = std::make_unique<TScreenOverlay>();
      image_->SetPicture(picture);
      if (picture.Transparent())
        image_->SetShapeByTransparentColor();
      else
        image_->ClearShape();
    }
  }
  if (!image_) return;
  const TPoint topLeft{pos_.X - object_->hotSpot_.X, pos_.Y - object_->hotSpot_.Y};
  if (image_->Visible())
    image_->MoveTo(topLeft);
  else
    image_->Show(topLeft);
}

void TDragSession::finish(bool drop) {
  if (ended_) return;
  TEntry entry;
  close();
  if (!started_) return;
  object_->cancelled_ = !drop;
  dropTarget_ = drop && accepted_ ? target_ : nullptr;
  object_->dragTarget_ = dropTarget_;
  TPoint dropPoint{0, 0};
  if (dropTarget_) dropPoint = dropTarget_->ScreenToClient(pos_);
  if (TControl* last = target_) {
    target_ = nullptr;
    sendOver(last, dsDragLeave);
  }
  if (dropTarget_) dropTarget_->DragDrop(sourceObject(), dropPoint.X, dropPoint.Y);
  if (!dropTarget_) dropPoint = {0, 0};
  // The source's own drag object may be freed by it from here on: nothing touches it after.
  if (source_) source_->DoEndDrag(dropTarget_, dropPoint.X, dropPoint.Y);
}

bool TDragSession::TrackMouse(TMouseMessageKind kind, TMouseButton button, TPoint screenPos,
                              TShiftState) {
  TEntry entry;
  if (!started_) {
    if (kind != mmMove) {
      // A press or release before the threshold: no drag, the controls see it as usual.
      abandon();
      return false;
    }
    if (std::abs(screenPos.X - start_.X) < threshold_ &&
        std::abs(screenPos.Y - start_.Y) < threshold_)
      return false;
    pos_ = screenPos;
    start();
    return true;
  }
  switch (kind) {
    case mmMove:
      moveTo(screenPos);
      break;
    case mmUp:
      if (button != mbLeft) break;
      if (!(screenPos == pos_)) moveTo(screenPos);
      finish(true);
      break;
    case mmDown:
    case mmDblClick:
      if (button == mbRight) finish(false);
      break;
  }
  return true;
}

bool TDragSession::TrackKeyDown(uint16_t key, TShiftState) {
  TEntry entry;
  if (key == VK_ESCAPE) {
    if (started_)
      finish(false);
    else
      abandon();
    return started_;
  }
  if (!started_) return false;
  // A modifier may change what a drop would do: targets and the cursor look again.
  if (key == VK_SHIFT || key == VK_CONTROL) moveTo(pos_);
  return true;
}

bool TDragSession::TrackKeyUp(uint16_t key, TShiftState) {
  TEntry entry;
  if (!started_) return false;
  if (!ended_ && (key == VK_SHIFT || key == VK_CONTROL)) moveTo(pos_);
  return true;
}
