#include "platform/ui/input_tracker.h"

#include "platform/ui/form_window.h"

namespace {
TInputTracker* current = nullptr;  // non-owning; cleared before any tracker is told it ended
}  // namespace

TInputTracker::~TInputTracker() { StopInputTracking(this); }

TInputTracker* CurrentInputTracker() { return current; }

void StartInputTracking(TInputTracker* tracker) {
  if (!tracker || current == tracker) return;
  // A cancelled tracker may start another one from TrackCancelled: that one is cancelled too,
  // the tracker asked for last wins.
  while (current) CancelInputTracking();
  current = tracker;
  SetInputTrackingGrab(true);
}

void StopInputTracking(TInputTracker* tracker) {
  if (!tracker || current != tracker) return;
  current = nullptr;
  SetInputTrackingGrab(false);
}

void CancelInputTracking() {
  TInputTracker* tracker = current;
  if (!tracker) return;
  current = nullptr;
  SetInputTrackingGrab(false);
  tracker->TrackCancelled();
}
