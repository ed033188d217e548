#pragma once

#include <cstdint>

namespace corvane {

// The dither generator's arithmetic. Each draw maps the 32-bit state S to
// S * kDitherMultiplier + kDitherIncrement (mod 2^32); the value drawn is the
// new state's top 31 bits times kDitherScale, which is exact in a double.
inline constexpr std::uint32_t kDitherMultiplier = 134775813u;  // 0x08088405
inline constexpr std::uint32_t kDitherIncrement = 1u;
inline constexpr double kDitherScale = 1.0 / 2147483648.0;  // 2^-31

// Several draws in one step. A draw is an affine map of the state modulo 2^32,
// and affine maps compose into affine maps, so the state k draws after S is
// S * multiplier + increment (mod 2^32) for the leap of k draws. Loops that
// draw many values at once use it to advance lanes of the sequence together.
struct DitherLeap {
  std::uint32_t multiplier;
  std::uint32_t increment;
};

consteval DitherLeap DitherLeapOf(int draws) {
  DitherLeap leap{1u, 0u};
  for (int i = 0; i < draws; ++i) {
    leap = DitherLeap{leap.multiplier * kDitherMultiplier, leap.increment * kDitherMultiplier + kDitherIncrement};
  }
  return leap;
}

}  // namespace corvane
