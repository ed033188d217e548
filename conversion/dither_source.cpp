#include "conversion/dither_source.hpp"

#include <cmath>

namespace corvane {

namespace {
// The generator's multiplier, 0x08088405; the increment is 1.
constexpr std::uint32_t kMultiplier = 134775813u;
}  // namespace

double DitherSource::NextUniform() {
  // Unsigned arithmetic wraps, which is the reduction modulo 2^32.
  state_ = state_ * kMultiplier + 1u;
  return std::ldexp(static_cast<double>(state_ >> 1), -31);
}

}  // namespace corvane
