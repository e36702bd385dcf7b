#pragma once
// Scope guards: whatever they change is undone when the scope ends, also when an exception
// leaves it, so a throwing event handler cannot leave a flag raised or a counter up.
//   ScopeExit      runs a callable on the way out (disabled controls, freed handles)
//   TValueScope    gives a variable a value for the scope and puts the old one back (flags,
//                  nesting counters); the named guards of the components are built on it
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

// Saves the variable, sets it to value, and restores the saved value when the scope ends.
// A nesting counter is held with (counter, counter + 1). The variable must outlive the guard.
template <typename T>
class TValueScope {
 public:
  TValueScope(T& variable, T value)
      : variable_(variable), saved_(std::exchange(variable, std::move(value))) {}
  TValueScope(const TValueScope&) = delete;
  TValueScope& operator=(const TValueScope&) = delete;
  ~TValueScope() { variable_ = std::move(saved_); }

 private:
  T& variable_;
  T saved_;  // the value before the scope
};
