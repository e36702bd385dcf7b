#pragma once
// TTimer: a component that raises OnTimer every Interval milliseconds while Enabled, on the
// user-interface thread (a window timer).
#include <memory>

#include "platform/core/component.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int Interval() const { return interval_; }
  void SetInterval(int value);
  // Runs OnTimer now, as a tick would (tests drive timers with it).
  void Tick();

  TNotifyEvent OnTimer;

 private:
  void update();
  struct Impl;
  std::unique_ptr<Impl> impl_;
  bool enabled_ = true;
  int interval_ = 1000;
};
