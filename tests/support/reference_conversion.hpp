#pragma once

// The conversion as it was first written, one sample at a time: the reference
// that the fast kernels and the whole conversion are checked against.

#include <cmath>
#include <cstdint>
#include <vector>

#include "conversion/dither_source.hpp"

namespace corvane {

// To the nearest integer, ties to the even one, whatever the caller's rounding
// mode: the tests run the code under every mode against this.
inline std::int64_t ReferenceRound(double value) {
  const double floor = std::floor(value), fraction = value - floor;
  const auto whole = static_cast<std::int64_t>(floor);
  return fraction < 0.5 || (fraction == 0.5 && whole % 2 == 0) ? whole : whole + 1;
}

// How often the reference met a tie, where the rounding goes to the even side.
struct Ties {
  int inSamples = 0;  // x half way between two 16-bit steps
  int inValues = 0;   // the dithered value half way between two integers
};

inline std::vector<std::uint8_t> ReferenceErrors(const std::vector<std::int32_t>& samples, double perStep,
                                                 DitherSource& dither, Ties& ties) {
  std::vector<std::uint8_t> errors;
  errors.reserve(2 * samples.size());
  for (const std::int32_t sample : samples) {
    const double x = sample / (1.0 / perStep);
    const double e = (static_cast<double>(ReferenceRound(x)) - x) * 16000.0;
    const double u1 = dither.NextUniform();
    const double u2 = dither.NextUniform();
    const double v = e + u1 + u2 - 1.0;
    ties.inSamples += x - std::floor(x) == 0.5;
    ties.inValues += v - std::floor(v) == 0.5;
    const auto error = static_cast<std::uint16_t>(ReferenceRound(v));  // two's complement, lowest byte first
    errors.insert(errors.end(), {static_cast<std::uint8_t>(error), static_cast<std::uint8_t>(error >> 8)});
  }
  return errors;
}

// 3-byte cells, lowest byte first, bit 23 the sign, widened cell by cell.
inline std::vector<std::int32_t> ReferenceWiden(const std::vector<std::uint8_t>& cells) {
  std::vector<std::int32_t> values;
  for (std::size_t i = 0; i + 3 <= cells.size(); i += 3) {
    const std::int32_t value = cells[i] | cells[i + 1] << 8 | cells[i + 2] << 16;
    values.push_back(value > 0x7FFFFF ? value - 0x1000000 : value);
  }
  return values;
}

}  // namespace corvane
