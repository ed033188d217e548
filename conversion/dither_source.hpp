#pragma once

#include <cstdint>

#include "conversion/dither_leap.hpp"

namespace corvane {

// The uniform pseudo-random source behind the dither: a 32-bit linear
// congruential generator with a fixed starting state, never seeded from
// anything, so the same input file always gives the same output file.
class DitherSource {
 public:
  // The design's draw, the one step of the generator that every loop takes:
  // the next value u with 0 <= u < 1, the top 31 bits of the new state over
  // 2^31. It has at most 31 significant bits, so it is exact as a double.
  // Unsigned arithmetic wraps, which is the reduction modulo 2^32.
  double NextUniform() {
    state_ = state_ * kDitherMultiplier + kDitherIncrement;
    return static_cast<double>(state_ >> 1) * kDitherScale;
  }

  // The state word itself, for loops that draw many values at once: they take
  // it, advance it by every draw they make, and hand it back.
  std::uint32_t State() const { return state_; }
  void SetState(std::uint32_t state) { state_ = state; }

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace corvane
