#include "conversion/dither_source.hpp"

namespace corvane {

namespace {
// The generator's multiplier, 0x08088405; the increment is 1.
constexpr std::uint32_t kMultiplier = 134775813u;
}  // namespace

double DitherSource::NextUniform() {
  // Unsigned arithmetic wraps, which is the reduction modulo 2^32.
  state_ = state_ * kMultiplier + 1u;
  constexpr double kTwoToMinus31 = 1.0 / 2147483648.0;
  return static_cast<double>(state_ >> 1) * kTwoToMinus31;
}

}  // namespace corvane
