#pragma once

#include <cstdint>

namespace corvane {

// The uniform pseudo-random source behind the dither: a 32-bit linear
// congruential generator with a fixed starting state, never seeded from
// anything, so the same input file always gives the same output file.
class DitherSource {
 public:
  // The next value u with 0 <= u < 1: the top 31 bits of the new state over
  // 2^31. It has at most 31 significant bits, so it is exact as a double.
  double NextUniform();

  // The state word itself, for loops that draw many values at once: they take
  // it, advance it by every draw they make, and hand it back.
  std::uint32_t State() const { return state_; }
  void SetState(std::uint32_t state) { state_ = state; }

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace corvane
