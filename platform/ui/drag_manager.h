#pragma once
// The drag manager: drag and drop of controls within the program, one drag at a time.
//
// A drag runs as an input tracker (input_tracker.h), so it sees the mouse and keys before
// any control, also outside the forms.
//
//   BeginDrag(immediate)           the source control asks for a drag
//     waiting (not immediate)      input passes on to the controls; the drag starts once the
//                                  mouse has moved the threshold from where it began; a button
//                                  press or release, Escape or a cancel before that ends it
//                                  with no event at all
//     start                        the source's press ends without a click (its capture and
//                                  pressed state go); DoStartDrag (OnStartDrag) may supply a
//                                  drag object, else a plain one is made; then a first move
//   move (mouse moves, Shift/Ctrl changes)
//                                  target = the control under the cursor (FindControlAtScreen);
//                                  when it changed: dsDragLeave to the old one, dsDragEnter to
//                                  the new one, else dsDragMove; the answer of the last enter
//                                  or move is the target's acceptance; the screen cursor
//                                  becomes GetDragCursor(accepted, point); the drag image
//                                  follows the cursor with its hot spot under it
//   end                            left release = drop; Escape, a right press, EndDrag(false)
//                                  or the window system's cancel = cancel. The cursor comes
//                                  back and the image goes first; then the target gets
//                                  dsDragLeave, then DragDrop when it is a drop it accepted,
//                                  then the source DoEndDrag (target or nullptr)
//
// Every message of a started drag is used up: no control sees mouse, wheel or key input
// until it ends. Coordinates given to controls are their client coordinates.
//
// Controls that go away: a target destroyed during the drag is dropped from it (the next
// move finds a new one); when the source goes, the drag ends at once without any further
// event. Handlers may end the drag, begin a new one from OnEndDrag, or free controls; an
// exception from one leaves no cursor, image or grab behind (the events after it in the
// same step are skipped).
#include "platform/core/types.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

class TScreenOverlay;

class TDragObject {
 public:
  explicit TDragObject(TControl* source) : source_(source) {}
  virtual ~TDragObject() = default;
  TDragObject(const TDragObject&) = delete;
  TDragObject& operator=(const TDragObject&) = delete;

  // The control the drag comes from (nullptr once it is gone).
  TControl* Source() const { return source_; }

  // The picture that follows the cursor (empty: none) and its hot spot, the picture's point
  // that lies under the cursor. A transparent picture shows only its non-transparent pixels.
  const TBitmap& DragImage() const { return image_; }
  TPoint HotSpot() const { return hotSpot_; }
  void SetDragImage(const TBitmap& image, TPoint hotSpot);

  // The cursor over a target that accepts the drag or over anything else; the default is the
  // source's DragCursor when accepted, else crNoDrop.
  virtual TCursor GetDragCursor(bool accepted, TPoint screenPos);

  // The drag ended by cancelling (Escape, a right press, EndDrag(false), the window system).
  bool Cancelled() const { return cancelled_; }
  // The control under the cursor while dragging; once the drag ends, the control dropped on
  // (nullptr when it was cancelled or dropped where nothing accepted).
  TControl* DragTarget() const { return dragTarget_; }
  // The cursor's last screen point in the drag.
  TPoint DragPos() const { return dragPos_; }

 private:
  friend class TDragSession;
  TControl* source_;           // non-owning; cleared when the control is destroyed
  TBitmap image_;
  TPoint hotSpot_{0, 0};       // in image_
  int imageVersion_ = 0;       // counts SetDragImage calls, so the shown picture follows
  bool cancelled_ = false;
  TControl* dragTarget_ = nullptr;  // non-owning
  TPoint dragPos_{0, 0};
};

// The source of the drag that runs (waiting for its threshold or started), else nullptr.
TControl* DragSourceControl();
// The object of the started drag, else nullptr.
TDragObject* CurrentDragObject();
// The window showing the drag image of the started drag (nullptr without a picture).
const TScreenOverlay* DragImageOverlay();

// Entry points of TControl (BeginDrag, EndDrag) and TApplication (ControlDestroying).
void BeginControlDrag(TControl* source, bool immediate, int threshold);
void EndControlDrag(TControl* source, bool drop);
void DragControlDestroying(TControl* control);
