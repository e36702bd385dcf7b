#pragma once
// TInputTracker: a mouse mode (anchor scrolling, a drag) that sees the program's input before
// any control does, where a message loop of its own would peek every message.
//
// Contract:
//   - at most one tracker runs; StartInputTracking cancels a running one (TrackCancelled)
//     before the new one becomes current;
//   - while one runs, every form hands it each mouse, wheel and key message first
//     (TCustomForm::Handle*); a Track* that returns true used the message up and no control
//     sees it, false passes it on to the form's ordinary routing;
//   - mouse messages come in screen coordinates, also from outside the forms: the window
//     system grabs the mouse and the keyboard for the tracker and lets go when it stops;
//   - the tracker owns the cursor through SetScreenCursor (services.h): the screen cursor
//     shows over every window, grabbed or not, and the forms' own cursor shapes stay below it;
//   - TrackCancelled runs once, when the window system ends the mode (the program lost the
//     activation, another tracker started, the grabbing window went away); the tracker is no
//     longer current when it runs.
//
// Lifetime: an owner stops its tracker in its own destructor (before the tracker's state is
// torn down). The base destructor stops a tracker that is still current too, without calling
// it, so a destroyed tracker is never called again.
#include <cstdint>

#include "platform/ui/messages.h"

class TInputTracker {
 public:
  virtual ~TInputTracker();

  // Each returns true when it used the input up (no control sees it), false to pass it on.
  virtual bool TrackKeyDown(uint16_t key, TShiftState shift) { return false; }
  virtual bool TrackKeyUp(uint16_t key, TShiftState shift) { return false; }
  virtual bool TrackChar(char32_t ch) { return false; }
  // Every mouse message of every form, in screen coordinates.
  virtual bool TrackMouse(TMouseMessageKind kind, TMouseButton button, TPoint screenPos,
                          TShiftState shift) {
    return false;
  }
  virtual bool TrackWheel(int delta, TPoint screenPos, TShiftState shift) { return false; }
  // The window system ended the mode. Called once; the tracker is no longer current.
  virtual void TrackCancelled() {}
};

// Makes tracker the current one (a running other one is cancelled first) and takes the
// mouse and keyboard for it. Nothing happens when it is current already.
void StartInputTracking(TInputTracker* tracker);
// Ends tracking without calling the tracker; a no-op unless it is the current one.
void StopInputTracking(TInputTracker* tracker);
// The window system's end of the mode: the current tracker, if any, stops and is told
// through TrackCancelled.
void CancelInputTracking();
TInputTracker* CurrentInputTracker();
