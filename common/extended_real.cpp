#include "common/extended_real.hpp"

#include <bit>

namespace corvane {

namespace {

// GCC and Clang (mingw-w64 included) have a 128-bit integer; __extension__
// keeps -Wpedantic quiet about it.
__extension__ typedef unsigned __int128 Wide;

// The exponent of the last significand bit of a denormal (and of the smallest
// normal): 2^(1 - 16383 - 63).
constexpr std::int32_t kDenormalLsbExponent = 1 - ExtendedReal::kExponentBias - 63;

enum class Kind { Zero, Finite, Infinite, QuietNaN, SignalingNaN, Invalid };

Kind Classify(const ExtendedReal& x) {
  const std::int32_t field = x.BiasedExponent();
  const std::uint64_t significand = x.Significand();
  const bool integerBit = (significand & ExtendedReal::kIntegerBit) != 0;
  if (field == ExtendedReal::kExponentMask) {
    if (!integerBit) return Kind::Invalid;
    if ((significand & ExtendedReal::kFractionMask) == 0) return Kind::Infinite;
    return (significand & ExtendedReal::kQuietBit) != 0 ? Kind::QuietNaN : Kind::SignalingNaN;
  }
  if (field == 0) return significand == 0 ? Kind::Zero : Kind::Finite;
  return integerBit ? Kind::Finite : Kind::Invalid;
}

bool IsNaNKind(Kind kind) { return kind == Kind::QuietNaN || kind == Kind::SignalingNaN || kind == Kind::Invalid; }

// A finite nonzero value as significand * 2^lsbExponent, the significand
// shifted so that its top bit is set.
struct Unpacked {
  std::uint64_t significand;
  std::int32_t lsbExponent;
};

Unpacked Unpack(const ExtendedReal& x) {
  // A denormal or pseudo-denormal has the scale of exponent field 1.
  const std::int32_t field = x.BiasedExponent() == 0 ? 1 : x.BiasedExponent();
  const int leadingZeros = std::countl_zero(x.Significand());
  return {x.Significand() << leadingZeros, field - ExtendedReal::kExponentBias - 63 - leadingZeros};
}

// The exponent of the top bit: 2^exponent <= |x| < 2^(exponent + 1).
std::int32_t TopExponent(const Unpacked& u) { return u.lsbExponent + 63; }

// (value + a fraction below one unit when sticky) >> shift, rounded to
// nearest with ties to even. shift may be of any size.
Wide RoundRightShift(Wide value, std::int32_t shift, bool sticky) {
  if (shift <= 0) return value << -shift;  // callers ensure nothing is lost
  if (shift > 128) return 0;               // below half of one unit
  const Wide quotient = shift == 128 ? 0 : value >> shift;
  const Wide remainder = value - (shift == 128 ? 0 : quotient << shift);
  const Wide half = Wide{1} << (shift - 1);
  const bool above = remainder > half || (remainder == half && sticky);
  const bool tie = remainder == half && !sticky;
  return quotient + ((above || (tie && (quotient & 1) != 0)) ? 1 : 0);
}

ExtendedReal SignedZero(bool negative) { return ExtendedReal::FromBits(negative ? ExtendedReal::kSignMask : 0, 0); }

// Rounds (magnitude + sticky fraction) * 2^scale to the extended format. The
// last kept bit is that of a 64-bit significand, but never below the denormal
// scale, so tiny results come out as correctly rounded denormals or zero.
ExtendedReal RoundAndPack(bool negative, Wide magnitude, std::int32_t scale, bool sticky) {
  const std::uint16_t sign = negative ? ExtendedReal::kSignMask : 0;
  const std::uint64_t high = static_cast<std::uint64_t>(magnitude >> 64);
  const std::int32_t topBit =
      high != 0 ? 127 - std::countl_zero(high) : 63 - std::countl_zero(static_cast<std::uint64_t>(magnitude));
  const std::int32_t topExponent = topBit + scale;
  if (topExponent + ExtendedReal::kExponentBias >= ExtendedReal::kExponentMask) return ExtendedReal::Infinity(negative);
  std::int32_t lsbExponent = topExponent - 63 > kDenormalLsbExponent ? topExponent - 63 : kDenormalLsbExponent;
  Wide rounded = RoundRightShift(magnitude, lsbExponent - scale, sticky);
  if (rounded >> 64 != 0) {  // rounding carried into a 65th bit
    rounded >>= 1;
    ++lsbExponent;
  }
  const std::uint64_t significand = static_cast<std::uint64_t>(rounded);
  if ((significand & ExtendedReal::kIntegerBit) == 0) return ExtendedReal::FromBits(sign, significand);
  const std::int32_t field = lsbExponent + 63 + ExtendedReal::kExponentBias;
  if (field >= ExtendedReal::kExponentMask) return ExtendedReal::Infinity(negative);
  return ExtendedReal::FromBits(static_cast<std::uint16_t>(sign | field), significand);
}

ExtendedReal Quieted(const ExtendedReal& x) {
  return ExtendedReal::FromBits(x.SignExponent(), x.Significand() | ExtendedReal::kQuietBit);
}

// The NaN result of an operation with a NaN operand: an invalid encoding gives
// the default NaN; of two NaNs a quiet one beats a signaling one, then the
// larger significand wins, then the positive sign.
ExtendedReal PropagateNaN(const ExtendedReal& left, Kind leftKind, const ExtendedReal& right, Kind rightKind) {
  if (leftKind == Kind::Invalid || rightKind == Kind::Invalid) return ExtendedReal::DefaultNaN();
  if (!IsNaNKind(rightKind)) return Quieted(left);
  if (!IsNaNKind(leftKind)) return Quieted(right);
  if (leftKind != rightKind) return leftKind == Kind::QuietNaN ? left : right;
  if (left.Significand() != right.Significand()) {
    return Quieted(left.Significand() > right.Significand() ? left : right);
  }
  return Quieted(left.IsNegative() ? right : left);
}

}  // namespace

ExtendedReal ExtendedReal::FromInteger(std::int64_t value) {
  if (value == 0) return ExtendedReal();
  const std::uint64_t magnitude =
      value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  return RoundAndPack(value < 0, magnitude, 0, false);
}

ExtendedReal ExtendedReal::FromDouble(double value) {
  constexpr std::uint64_t kDoubleFraction = (std::uint64_t{1} << 52) - 1;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const std::uint16_t sign = negative ? kSignMask : 0;
  const std::int32_t field = static_cast<std::int32_t>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & kDoubleFraction;
  if (field == 0x7FF) {
    // A signaling NaN arrives quiet, as the x87 load delivers it.
    const std::uint64_t nanBits = fraction == 0 ? 0 : kQuietBit;
    return FromBits(sign | kExponentMask, kIntegerBit | nanBits | (fraction << 11));
  }
  if (field == 0) return fraction == 0 ? SignedZero(negative) : RoundAndPack(negative, fraction, -1074, false);
  return FromBits(static_cast<std::uint16_t>(sign | (field - 1023 + kExponentBias)), kIntegerBit | (fraction << 11));
}

bool ExtendedReal::IsZero() const { return Classify(*this) == Kind::Zero; }
bool ExtendedReal::IsInfinite() const { return Classify(*this) == Kind::Infinite; }
bool ExtendedReal::IsNaN() const { return IsNaNKind(Classify(*this)); }

ExtendedReal ExtendedReal::RoundToInteger() const {
  const Kind kind = Classify(*this);
  if (kind == Kind::Invalid) return DefaultNaN();
  if (IsNaNKind(kind)) return Quieted(*this);
  if (kind != Kind::Finite) return *this;
  const Unpacked u = Unpack(*this);
  if (u.lsbExponent >= 0) return *this;  // no fraction bits
  const Wide rounded = RoundRightShift(u.significand, -u.lsbExponent, false);
  if (rounded == 0) return SignedZero(IsNegative());
  return RoundAndPack(IsNegative(), rounded, 0, false);
}

std::int64_t ExtendedReal::ToInt64() const {
  constexpr std::int64_t kIndefinite = INT64_MIN;
  const Kind kind = Classify(*this);
  if (kind == Kind::Zero) return 0;
  if (kind != Kind::Finite) return kIndefinite;
  const Unpacked u = Unpack(*this);
  if (u.lsbExponent >= 0) return kIndefinite;  // at least 2^63 in magnitude
  const Wide rounded = RoundRightShift(u.significand, -u.lsbExponent, false);
  // 2^63 and above do not fit; -2^63 is INT64_MIN itself.
  if (rounded >= (Wide{1} << 63)) return kIndefinite;
  const auto magnitude = static_cast<std::int64_t>(rounded);
  return IsNegative() ? -magnitude : magnitude;
}

double ExtendedReal::ToDouble() const {
  constexpr std::uint64_t kDoubleFraction = (std::uint64_t{1} << 52) - 1;
  constexpr std::uint64_t kDoubleInfinity = std::uint64_t{0x7FF} << 52;
  constexpr std::uint64_t kDoubleQuietBit = std::uint64_t{1} << 51;
  const Kind kind = Classify(*this);
  const std::uint64_t sign = IsNegative() ? std::uint64_t{1} << 63 : 0;
  switch (kind) {
    case Kind::Zero: return std::bit_cast<double>(sign);
    case Kind::Infinite: return std::bit_cast<double>(sign | kDoubleInfinity);
    case Kind::Invalid: return std::bit_cast<double>((std::uint64_t{1} << 63) | kDoubleInfinity | kDoubleQuietBit);
    case Kind::QuietNaN:
    case Kind::SignalingNaN:
      // The top fraction bits carry over; the result is always quiet.
      return std::bit_cast<double>(sign | kDoubleInfinity | kDoubleQuietBit | ((significand_ >> 11) & kDoubleFraction));
    case Kind::Finite: break;
  }
  const Unpacked u = Unpack(*this);
  const std::int32_t top = TopExponent(u);
  std::int32_t lsbExponent = top - 52 > -1074 ? top - 52 : -1074;
  auto rounded = static_cast<std::uint64_t>(RoundRightShift(u.significand, lsbExponent - u.lsbExponent, false));
  if (rounded >> 53 != 0) {  // rounding carried into a 54th bit
    rounded >>= 1;
    ++lsbExponent;
  }
  if ((rounded >> 52) == 0) return std::bit_cast<double>(sign | rounded);  // subnormal or zero
  const std::int64_t field = lsbExponent + 52 + 1023;
  if (field >= 0x7FF) return std::bit_cast<double>(sign | kDoubleInfinity);
  return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(field) << 52) | (rounded & kDoubleFraction));
}

ExtendedReal operator*(const ExtendedReal& left, const ExtendedReal& right) {
  const Kind leftKind = Classify(left);
  const Kind rightKind = Classify(right);
  if (IsNaNKind(leftKind) || IsNaNKind(rightKind)) return PropagateNaN(left, leftKind, right, rightKind);
  const bool negative = left.IsNegative() != right.IsNegative();
  if (leftKind == Kind::Infinite || rightKind == Kind::Infinite) {
    // Infinity times zero has no value.
    if (leftKind == Kind::Zero || rightKind == Kind::Zero) return ExtendedReal::DefaultNaN();
    return ExtendedReal::Infinity(negative);
  }
  if (leftKind == Kind::Zero || rightKind == Kind::Zero) return SignedZero(negative);
  const Unpacked a = Unpack(left);
  const Unpacked b = Unpack(right);
  return RoundAndPack(negative, Wide{a.significand} * b.significand, a.lsbExponent + b.lsbExponent, false);
}

ExtendedReal operator/(const ExtendedReal& left, const ExtendedReal& right) {
  const Kind leftKind = Classify(left);
  const Kind rightKind = Classify(right);
  if (IsNaNKind(leftKind) || IsNaNKind(rightKind)) return PropagateNaN(left, leftKind, right, rightKind);
  const bool negative = left.IsNegative() != right.IsNegative();
  if (leftKind == Kind::Infinite) {
    return rightKind == Kind::Infinite ? ExtendedReal::DefaultNaN() : ExtendedReal::Infinity(negative);
  }
  if (rightKind == Kind::Infinite) return SignedZero(negative);
  if (rightKind == Kind::Zero) {
    return leftKind == Kind::Zero ? ExtendedReal::DefaultNaN() : ExtendedReal::Infinity(negative);
  }
  if (leftKind == Kind::Zero) return SignedZero(negative);
  const Unpacked a = Unpack(left);
  const Unpacked b = Unpack(right);
  // Long division in two 64-bit steps gives a quotient of 127 or 128 bits and
  // a remainder that only tells whether anything is left:
  //   a / b = (q1 * 2^64 + q2 + r2 / b) * 2^-127, with q1 < 2^64 as a < 2b.
  const Wide first = Wide{a.significand} << 63;
  const Wide q1 = first / b.significand;
  const Wide r1 = first % b.significand;
  const Wide second = r1 << 64;
  const Wide q2 = second / b.significand;
  const bool sticky = second % b.significand != 0;
  return RoundAndPack(negative, (q1 << 64) | q2, a.lsbExponent - b.lsbExponent - 127, sticky);
}

std::partial_ordering operator<=>(const ExtendedReal& left, const ExtendedReal& right) {
  const Kind leftKind = Classify(left);
  const Kind rightKind = Classify(right);
  if (IsNaNKind(leftKind) || IsNaNKind(rightKind)) return std::partial_ordering::unordered;
  if (leftKind == Kind::Zero && rightKind == Kind::Zero) return std::partial_ordering::equivalent;
  // Order of magnitudes: zero, finite values by exponent then significand, infinity.
  auto magnitudeRank = [](const ExtendedReal& x, Kind kind) {
    struct Rank {
      int tier;
      std::int32_t exponent;
      std::uint64_t significand;
      auto operator<=>(const Rank&) const = default;
    };
    if (kind != Kind::Finite) return Rank{kind == Kind::Zero ? 0 : 2, 0, 0};
    const Unpacked u = Unpack(x);
    return Rank{1, u.lsbExponent, u.significand};
  };
  const auto leftRank = magnitudeRank(left, leftKind);
  const auto rightRank = magnitudeRank(right, rightKind);
  const bool leftNegative = leftKind != Kind::Zero && left.IsNegative();
  const bool rightNegative = rightKind != Kind::Zero && right.IsNegative();
  if (leftNegative != rightNegative) return leftNegative ? std::partial_ordering::less : std::partial_ordering::greater;
  const std::strong_ordering byMagnitude = leftRank <=> rightRank;
  return leftNegative ? 0 <=> byMagnitude : byMagnitude;
}

bool operator==(const ExtendedReal& left, const ExtendedReal& right) { return (left <=> right) == 0; }

double DivideToDouble(std::int64_t numerator, std::int32_t denominator) {
  return (ExtendedReal::FromInteger(numerator) / ExtendedReal::FromInteger(denominator)).ToDouble();
}

}  // namespace corvane
