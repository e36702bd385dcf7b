#pragma once
// ScopeExit: runs a callable when the scope ends, also when an exception leaves it. Used for
// every "undo on the way out" (counters, flags, disabled controls) so a throwing event
// handler cannot leave them raised.
#include <utility>

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() { if (armed_) f_(); }
  void Release() { armed_ = false; }  // keep the change after all

 private:
  F f_;
  bool armed_ = true;
};
