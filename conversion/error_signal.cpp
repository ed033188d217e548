#include "conversion/error_signal.hpp"

namespace corvane {

namespace {

// One 16-bit step in the units of 24-bit and 32-bit samples, as the factor
// that scales a sample into steps. Both are powers of two, so multiplying by
// them is as exact as dividing by the step.
constexpr double kPerStep24 = 1.0 / 256.0;
constexpr double kPerStep32 = 1.0 / 65536.0;
// Amplification of the error, in 16-bit steps.
constexpr double kErrorGain = 16000.0;
// Subtracted from the sum of the two uniform values to centre the dither.
constexpr double kDitherOffset = 1.0;

// Nearest integer, ties to the even one, whatever the floating-point unit's
// rounding mode. v - floor(v) is exact, and the values rounded here lie
// well inside 64-bit integers.
std::int64_t RoundHalfEven(double value) {
  auto whole = static_cast<std::int64_t>(value);    // toward zero
  if (static_cast<double>(whole) > value) --whole;  // now the floor
  const double fraction = value - static_cast<double>(whole);
  if (fraction < 0.5) return whole;
  if (fraction > 0.5) return whole + 1;
  return whole % 2 == 0 ? whole : whole + 1;
}

// One output value. Every step before the final rounding is exact in double
// precision: x has at most 16 fractional bits, q - x times the gain fits in
// 30 significant bits, and the dither values carry 31 fractional bits.
std::int16_t ErrorValue(std::int32_t sample, double perStep, DitherSource& dither) {
  const double x = sample * perStep;
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
  const double perStep = bitsPerSample == 24 ? kPerStep24 : kPerStep32;
  for (std::int32_t i = 0; i < sampleCount; ++i) {
    errors.SetInt16At(i, ErrorValue(samples.Int32At(i), perStep, dither));
  }
  return errors;
}

}  // namespace corvane
