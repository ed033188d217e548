#pragma once

// The sample count as the fuzzers check it, written apart from the code under
// test.

#include <algorithm>
#include <cmath>
#include <cstdint>

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

}  // namespace corvane
