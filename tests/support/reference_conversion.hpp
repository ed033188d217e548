#pragma once

// The conversion as it was first written, one sample at a time through the
// packing's accessors: the reference that the fast kernels and the whole
// conversion are checked against.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "conversion/dither_source.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// The sample count of a file of `fileBytes` bytes whose header declares
// `declaredSize` bytes of samples from `firstSamplePosition` on: only the
// bytes the file holds count, and the count is their quotient by the sample
// width as a double, rounded to nearest with ties to even.
inline std::int64_t ReferenceSampleCount(std::uint64_t declaredSize, std::uint64_t fileBytes,
                                         std::int64_t firstSamplePosition, int bits) {
  const auto start = static_cast<std::uint64_t>(firstSamplePosition - 1);
  const std::uint64_t held = fileBytes > start ? fileBytes - start : 0;
  return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(std::min(declaredSize, held)) / (bits / 8)));
}

inline std::int64_t ReferenceRound(double value) {
  auto whole = static_cast<std::int64_t>(value);
  if (static_cast<double>(whole) > value) --whole;
  const double fraction = value - static_cast<double>(whole);
  if (fraction < 0.5) return whole;
  if (fraction > 0.5) return whole + 1;
  return whole % 2 == 0 ? whole : whole + 1;
}

// How often the reference met a tie, where the rounding goes to the even side.
struct Ties {
  int inSamples = 0;  // x half way between two 16-bit steps
  int inValues = 0;   // the dithered value half way between two integers
};

inline bool IsTie(double value) { return value - std::floor(value) == 0.5; }

inline std::vector<std::uint8_t> ReferenceErrors(const std::vector<std::int32_t>& samples, double perStep,
                                                 DitherSource& dither, Ties& ties) {
  PackedArray errors;
  CreateArray(errors, static_cast<std::int64_t>(samples.size()), 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double x = samples[i] / (1.0 / perStep);
    const auto q = static_cast<std::int32_t>(ReferenceRound(x));
    const double e = (q - x) * 16000.0;
    const double u1 = dither.NextUniform();
    const double u2 = dither.NextUniform();
    const double v = e + u1 + u2 - 1.0;
    ties.inSamples += IsTie(x);
    ties.inValues += IsTie(v);
    errors.SetInt16At(static_cast<std::int32_t>(i), static_cast<std::int16_t>(ReferenceRound(v)));
  }
  const std::uint8_t* bytes = errors.Storage();
  return std::vector<std::uint8_t>(bytes, bytes + errors.ByteSize());
}

// The staging array of 3-byte cells, widened cell by cell.
inline std::vector<std::int32_t> ReferenceWiden(const std::vector<std::uint8_t>& cells) {
  const auto count = static_cast<std::int32_t>(cells.size() / 3);
  PackedArray staging;
  CreateArray(staging, count, 3);
  std::copy(cells.begin(), cells.end(), staging.Storage());
  std::vector<std::int32_t> values;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t value = DecodeInt32(CellBytes(staging, i));
    if (value > 0x7FFFFF) value -= 0x1000000;
    values.push_back(value);
  }
  return values;
}

}  // namespace corvane
