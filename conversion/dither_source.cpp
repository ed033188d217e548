#include "conversion/dither_source.hpp"

#include "conversion/dither_leap.hpp"

namespace corvane {

double DitherSource::NextUniform() {
  // Unsigned arithmetic wraps, which is the reduction modulo 2^32.
  state_ = state_ * kDitherMultiplier + kDitherIncrement;
  return static_cast<double>(state_ >> 1) * kDitherScale;
}

}  // namespace corvane
