#pragma once

#include <compare>
#include <cstdint>

namespace corvane {

// A real number in the 80-bit extended format: a sign bit, a 15-bit exponent
// biased by 16383 and a 64-bit significand whose top bit is the explicit
// integer bit. All arithmetic is done in integers, rounded to nearest with ties
// to even, with every exception masked, so a result has the same bits on every
// processor and compiler: the bits the x87 unit gives at full precision.
//
// Encodings (exponent field / integer bit / fraction):
//   0 / 0 / 0            zero
//   0 / 0 / nonzero      denormal: fraction * 2^-16445
//   0 / 1 / any          pseudo-denormal: read as if the exponent field were 1
//   1..7FFE / 1 / any    normal: significand * 2^(exponent - 16383 - 63)
//   1..7FFE / 0 / any    unnormal: not a valid operand (gives the default NaN)
//   7FFF / 1 / 0         infinity
//   7FFF / 1 / nonzero   NaN, quiet if fraction bit 62 is set
//   7FFF / 0 / any       pseudo-infinity or pseudo-NaN: not a valid operand
class ExtendedReal {
 public:
  static constexpr std::uint16_t kSignMask = 0x8000;
  static constexpr std::uint16_t kExponentMask = 0x7FFF;
  static constexpr std::int32_t kExponentBias = 16383;
  static constexpr std::int32_t kSignificandSize = 64;
  static constexpr std::uint64_t kIntegerBit = 0x8000000000000000u;
  static constexpr std::uint64_t kFractionMask = 0x7FFFFFFFFFFFFFFFu;
  static constexpr std::uint64_t kQuietBit = 0x4000000000000000u;

  // Positive zero.
  constexpr ExtendedReal() = default;

  static constexpr ExtendedReal FromBits(std::uint16_t signExponent, std::uint64_t significand) {
    ExtendedReal value;
    value.signExponent_ = signExponent;
    value.significand_ = significand;
    return value;
  }
  static ExtendedReal FromInteger(std::int64_t value);
  static ExtendedReal FromDouble(double value);
  static constexpr ExtendedReal Infinity(bool negative) {
    return FromBits(static_cast<std::uint16_t>((negative ? kSignMask : 0) | kExponentMask), kIntegerBit);
  }
  // The default NaN that an invalid operation gives ("real indefinite").
  static constexpr ExtendedReal DefaultNaN() { return FromBits(0xFFFF, kIntegerBit | kQuietBit); }

  constexpr std::uint16_t SignExponent() const { return signExponent_; }
  constexpr std::uint64_t Significand() const { return significand_; }
  constexpr std::int32_t BiasedExponent() const { return signExponent_ & kExponentMask; }
  constexpr bool IsNegative() const { return (signExponent_ & kSignMask) != 0; }
  bool IsZero() const;
  bool IsInfinite() const;
  // True for every NaN and for the encodings that are not valid operands.
  bool IsNaN() const;

  ExtendedReal Abs() const { return FromBits(signExponent_ & kExponentMask, significand_); }
  ExtendedReal Negated() const { return FromBits(signExponent_ ^ kSignMask, significand_); }

  // The nearest integer, ties to even; the sign of a zero result is kept.
  ExtendedReal RoundToInteger() const;
  // The nearest 64-bit integer, ties to even. A NaN, an infinity or a value
  // outside the 64-bit range gives INT64_MIN, as the x87 store does.
  std::int64_t ToInt64() const;
  // The nearest double, ties to even; too large gives an infinity, too small a
  // correctly rounded subnormal or zero.
  double ToDouble() const;

  friend ExtendedReal operator*(const ExtendedReal& left, const ExtendedReal& right);
  friend ExtendedReal operator/(const ExtendedReal& left, const ExtendedReal& right);
  // Numeric comparison: -0 equals +0, a NaN is unordered with everything.
  friend bool operator==(const ExtendedReal& left, const ExtendedReal& right);
  friend std::partial_ordering operator<=>(const ExtendedReal& left, const ExtendedReal& right);

 private:
  std::uint16_t signExponent_ = 0;
  std::uint64_t significand_ = 0;
};

// numerator / denominator: both converted exactly, one extended division
// rounded to 64 bits, the quotient narrowed to a double. A zero denominator
// gives an infinity of the numerator's sign, or a NaN for 0 / 0.
double DivideToDouble(std::int64_t numerator, std::int32_t denominator);

}  // namespace corvane
