#include "conversion/error_signal.hpp"

#include <cmath>

namespace corvane {

namespace {

// One 16-bit step in the units of 24-bit and 32-bit samples.
constexpr double kStep24 = 256.0;
constexpr double kStep32 = 65536.0;
// Amplification of the error, in 16-bit steps.
constexpr double kErrorGain = 16000.0;
// Subtracted from the sum of the two uniform values to centre the dither.
constexpr double kDitherOffset = 1.0;

// Nearest integer, ties to the even one, whatever the floating-point unit's
// rounding mode. v - floor(v) is exact for every double.
double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// One output value. Every step before the final rounding is exact in double
// precision: x has at most 16 fractional bits, q - x times the gain fits in
// 30 significant bits, and the dither values carry 31 fractional bits.
std::int16_t ErrorValue(std::int32_t sample, double step, DitherSource& dither) {
  const double x = sample / step;
  // q is held in 32 bits: a sample at or above full scale minus half a step
  // rounds to 32768, one past the 16-bit range, and e then stays in 0..8000.
  const auto q = static_cast<std::int32_t>(RoundHalfEven(x));
  const double e = (q - x) * kErrorGain;
  const double u1 = dither.NextUniform();
  const double u2 = dither.NextUniform();
  const double v = e + u1 + u2 - kDitherOffset;
  // |e| <= 8000 and the dither lies in [-1, 1), so the result is within +-8001.
  return static_cast<std::int16_t>(RoundHalfEven(v));
}

}  // namespace

PackedArray GenerateErrorSignal(const PackedArray& samples, std::int32_t sampleCount, std::int32_t bitsPerSample,
                                DitherSource& dither) {
  PackedArray errors;
  CreateArray(errors, sampleCount, 2);
  if (!errors.HasStorage()) return errors;
  if (!samples.HasStorage() || samples.Count() < sampleCount) {
    // The samples were never loaded; their loader has set the error number.
    ReleaseArray(errors);
    return errors;
  }
  const double step = bitsPerSample == 24 ? kStep24 : kStep32;
  for (std::int32_t i = 0; i < sampleCount; ++i) {
    errors.SetInt16At(i, ErrorValue(samples.Int32At(i), step, dither));
  }
  return errors;
}

}  // namespace corvane
