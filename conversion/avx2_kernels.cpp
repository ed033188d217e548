// The conversion's inner loops for AVX2: the twins of the plain kernels, giving
// the same bytes. This file alone is compiled for AVX2, and runs only after the
// processor has been asked; it therefore holds nothing that another file could
// share (no inline functions of other headers), so that no AVX2 instruction can
// leak into code that runs everywhere.

#include <immintrin.h>

#include <cstddef>

#include "conversion/dither_leap.hpp"
#include "conversion/sample_kernels.hpp"

namespace corvane {

namespace {

// Samples per pass of both loops: eight 32-bit lanes of a 256-bit register.
constexpr std::int32_t kSamplesPerPass = 8;
constexpr int kNearestEven = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

// The leaps from the state before a pass to the states of its draws: lane j
// of the first draws holds draw 2j + 1 of the pass (u1 of sample j), lane j of
// the second draws holds draw 2j + 2 (its u2).
constexpr DitherLeap kFirstDraws[kSamplesPerPass] = {
    DitherLeapOf(1), DitherLeapOf(3),  DitherLeapOf(5),  DitherLeapOf(7),
    DitherLeapOf(9), DitherLeapOf(11), DitherLeapOf(13), DitherLeapOf(15),
};
constexpr DitherLeap kSecondDraws[kSamplesPerPass] = {
    DitherLeapOf(2),  DitherLeapOf(4),  DitherLeapOf(6),  DitherLeapOf(8),
    DitherLeapOf(10), DitherLeapOf(12), DitherLeapOf(14), DitherLeapOf(16),
};
// Every lane moves on by the draws of one whole pass.
constexpr DitherLeap kPassLeap = DitherLeapOf(2 * kSamplesPerPass);

struct LaneLeaps {
  __m256i multipliers;
  __m256i increments;
};

__m256i EachLane(const DitherLeap (&leaps)[kSamplesPerPass], std::uint32_t DitherLeap::*part) {
  const auto lane = [&](int index) { return static_cast<int>(leaps[index].*part); };
  return _mm256_setr_epi32(lane(0), lane(1), lane(2), lane(3), lane(4), lane(5), lane(6), lane(7));
}

LaneLeaps Lanes(const DitherLeap (&leaps)[kSamplesPerPass]) {
  return LaneLeaps{EachLane(leaps, &DitherLeap::multiplier), EachLane(leaps, &DitherLeap::increment)};
}

// state * multiplier + increment in every lane, modulo 2^32.
__m256i Leap(__m256i states, __m256i multipliers, __m256i increments) {
  return _mm256_add_epi32(_mm256_mullo_epi32(states, multipliers), increments);
}

// The dither of eight samples, u1 + u2 - 1, from the states of their two
// draws. The top 31 bits of the two states add up to t < 2^32 without loss,
// and u1 + u2 - 1 = (t - 2^31) * 2^-31, where t - 2^31 fits a signed 32-bit
// lane: flipping bit 31 subtracts 2^31 modulo 2^32. One conversion per lane
// instead of two, and the value is the same exact double.
__m256i DitherNumerators(__m256i firstDraws, __m256i secondDraws) {
  const __m256i sum = _mm256_add_epi32(_mm256_srli_epi32(firstDraws, 1), _mm256_srli_epi32(secondDraws, 1));
  return _mm256_xor_si256(sum, _mm256_set1_epi32(static_cast<int>(0x80000000u)));
}

// Four error values, exactly as the plain kernel forms them: every value
// before the final rounding is exact, so adding the dither as one sum gives
// the same double as adding u1, u2 and -1 one after the other. The final
// conversion rounds as the control register says, which the caller has set to
// nearest with ties to even.
__m128i ErrorValues(__m128i samples, __m128i ditherNumerators, __m256d perStep) {
  const __m256d x = _mm256_mul_pd(_mm256_cvtepi32_pd(samples), perStep);
  const __m256d q = _mm256_round_pd(x, kNearestEven);
  const __m256d e = _mm256_mul_pd(_mm256_sub_pd(q, x), _mm256_set1_pd(kErrorGain));
  const __m256d dither = _mm256_mul_pd(_mm256_cvtepi32_pd(ditherNumerators), _mm256_set1_pd(kDitherScale));
  return _mm256_cvtpd_epi32(_mm256_add_pd(e, dither));
}

// Sets the SSE control register's rounding to nearest with ties to even for
// as long as it lives, and puts the caller's setting back after.
class NearestEvenRounding {
 public:
  NearestEvenRounding() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ & ~kRoundingBits); }
  ~NearestEvenRounding() { _mm_setcsr(saved_); }
  NearestEvenRounding(const NearestEvenRounding&) = delete;
  NearestEvenRounding& operator=(const NearestEvenRounding&) = delete;

 private:
  static constexpr unsigned kRoundingBits = 0x6000;  // bits 13 and 14; both clear is nearest-even
  unsigned saved_;
};

}  // namespace

std::uint32_t GenerateErrorsAvx2(const std::uint8_t* samples, std::uint8_t* errors, std::int32_t count, double perStep,
                                 std::uint32_t ditherState) {
  const std::int32_t passes = count / kSamplesPerPass;
  const LaneLeaps first = Lanes(kFirstDraws);
  const LaneLeaps second = Lanes(kSecondDraws);
  const __m256i state = _mm256_set1_epi32(static_cast<int>(ditherState));
  __m256i firstDraws = Leap(state, first.multipliers, first.increments);
  __m256i secondDraws = Leap(state, second.multipliers, second.increments);
  const __m256i passMultiplier = _mm256_set1_epi32(static_cast<int>(kPassLeap.multiplier));
  const __m256i passIncrement = _mm256_set1_epi32(static_cast<int>(kPassLeap.increment));
  const __m256d scale = _mm256_set1_pd(perStep);
  const NearestEvenRounding rounding;
  for (std::int32_t pass = 0; pass < passes; ++pass) {
    const std::size_t start = static_cast<std::size_t>(pass) * kSamplesPerPass;
    // Two 128-bit loads, which the conversions take straight from memory.
    const auto* four = reinterpret_cast<const __m128i*>(samples + 4 * start);
    const __m256i dither = DitherNumerators(firstDraws, secondDraws);
    const __m128i low = ErrorValues(_mm_loadu_si128(four), _mm256_castsi256_si128(dither), scale);
    const __m128i high = ErrorValues(_mm_loadu_si128(four + 1), _mm256_extracti128_si256(dither, 1), scale);
    // The values lie within +-8001, so packing with saturation changes none.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(errors + 2 * start), _mm_packs_epi32(low, high));
    firstDraws = Leap(firstDraws, passMultiplier, passIncrement);
    secondDraws = Leap(secondDraws, passMultiplier, passIncrement);
    ditherState = ditherState * kPassLeap.multiplier + kPassLeap.increment;
  }
  const std::size_t done = static_cast<std::size_t>(passes) * kSamplesPerPass;
  return GenerateErrorsPlain(samples + 4 * done, errors + 2 * done, count - passes * kSamplesPerPass, perStep,
                             ditherState);
}

void WidenCellsAvx2(std::uint8_t* block, std::int32_t count) {
  // A pass takes eight cells, 24 bytes, in two 16-byte loads from its first
  // byte and from its ninth, and puts each cell in the top three bytes of its
  // 32-bit lane; the arithmetic shift right by 8 then brings it down with its
  // sign. An index of -1 gives a zero byte.
  const __m256i spread = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11,  //
                                          -1, 4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15);
  const std::uint8_t* cells = block + count;
  std::int32_t i = 0;
  // The pass reads only its own cells and writes bytes 4i to 4i + 32, which
  // end before cell i + 8 begins at count + 3i + 24 as long as i + 8 <= count.
  for (; i + kSamplesPerPass <= count; i += kSamplesPerPass) {
    const std::uint8_t* from = cells + 3 * static_cast<std::size_t>(i);
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8));
    const __m256i placed = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), spread);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(block + 4 * static_cast<std::size_t>(i)),
                        _mm256_srai_epi32(placed, 8));
  }
  // The cells left start at byte count + 3i = (4i) + (count - i): the same
  // layout for the rest of the block.
  WidenCellsPlain(block + 4 * static_cast<std::size_t>(i), count - i);
}

}  // namespace corvane
