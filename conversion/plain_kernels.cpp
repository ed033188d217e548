// The conversion's inner loops in plain C++, for every processor.

#include <cstddef>

#include "conversion/dither_source.hpp"
#include "conversion/sample_kernels.hpp"

namespace corvane {

namespace {

constexpr std::uint32_t kSignBit24 = 0x800000;
// Subtracted from the sum of the two uniform values to centre the dither.
constexpr double kDitherOffset = 1.0;

std::int32_t LoadInt32(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                   static_cast<std::uint32_t>(bytes[2]) << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

void StoreUint32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Nearest integer, ties to the even one, whatever the floating-point unit's
// rounding mode; |value| stays far below 2^31 here. The comparisons are
// combined bit by bit rather than branched on: the fraction of a dithered
// value is as likely above a half as below, which no branch predictor guesses.
std::int32_t RoundHalfEven(double value) {
  auto whole = static_cast<std::int32_t>(value);                  // toward zero
  whole -= static_cast<int>(static_cast<double>(whole) > value);  // now the floor
  const double fraction = value - static_cast<double>(whole);     // exact
  const int above = fraction > 0.5;
  const int tie = fraction == 0.5;
  return whole + (above | (tie & whole & 1));
}

}  // namespace

void WidenCellsPlain(std::uint8_t* block, std::int32_t count) {
  const std::uint8_t* cells = block + count;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint8_t* cell = cells + 3 * static_cast<std::size_t>(i);
    const std::uint32_t bits =
        cell[0] | static_cast<std::uint32_t>(cell[1]) << 8 | static_cast<std::uint32_t>(cell[2]) << 16;
    // Flipping bit 23 and taking it away again extends the sign over the top
    // byte, modulo 2^32: 0x800000 becomes 0xFF800000, 0x7FFFFF stays.
    StoreUint32(block + 4 * static_cast<std::size_t>(i), (bits ^ kSignBit24) - kSignBit24);
  }
}

// Every step before the final rounding is exact in double precision: x has at
// most 16 fractional bits, q - x times the gain fits in 30 significant bits,
// and the dither values carry 31 fractional bits.
std::uint32_t GenerateErrorsPlain(const std::uint8_t* samples, std::uint8_t* errors, std::int32_t count, double perStep,
                                  std::uint32_t ditherState) {
  DitherSource dither;
  dither.SetState(ditherState);
  for (std::int32_t i = 0; i < count; ++i) {
    const double x = LoadInt32(samples + 4 * static_cast<std::size_t>(i)) * perStep;
    // q is held in 32 bits: a sample at or above full scale minus half a step
    // rounds to 32768, one past the 16-bit range, and e then stays in 0..8000.
    const std::int32_t q = RoundHalfEven(x);
    const double e = (q - x) * kErrorGain;
    const double u1 = dither.NextUniform();
    const double u2 = dither.NextUniform();
    // |e| <= 8000 and the dither lies in [-1, 1), so the value is within
    // +-8001 and its low 16 bits are the whole of it.
    const auto value = static_cast<std::uint16_t>(RoundHalfEven(e + u1 + u2 - kDitherOffset));
    std::uint8_t* out = errors + 2 * static_cast<std::size_t>(i);
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
  }
  return dither.State();
}

}  // namespace corvane
