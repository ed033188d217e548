#pragma once

#include <cfenv>

namespace corvane {

// Keeps the floating-point environment (control word included) across a
// platform call: it is saved when the guard is made and put back when the guard
// goes, so no platform call can change the rounding or precision of the run's
// arithmetic.
class FloatingPointGuard {
 public:
  FloatingPointGuard() { std::fegetenv(&saved_); }
  ~FloatingPointGuard() { std::fesetenv(&saved_); }
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
  std::fenv_t saved_;
};

}  // namespace corvane
