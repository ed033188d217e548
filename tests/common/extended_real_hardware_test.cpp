// The software extended type against the processor's 80-bit long double, bit
// for bit, over seeded random operands. Built only where long double is the
// x87 format (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

#include "common/extended_real.hpp"

namespace corvane {
namespace {

using X = ExtendedReal;

// The 80-bit format's ten bytes lead a long double: the significand, then
// the sign and exponent (both little-endian).
long double ToHardware(const X& x) {
  const std::uint64_t words[2] = {x.Significand(), x.SignExponent()};
  long double value = 0;
  std::memcpy(&value, words, std::min(sizeof value, std::size_t{10}));
  return value;
}

// The ten bytes of each, as the sign and exponent word and the significand.
using Bits = std::pair<std::uint64_t, std::uint64_t>;
Bits Of(const X& x) { return {x.SignExponent(), x.Significand()}; }
Bits Of(long double value) {
  std::uint64_t words[2] = {};
  std::memcpy(words, &value, std::min(sizeof value, std::size_t{10}));
  return {words[1], words[0]};
}
Bits Of(double value) { return {0, std::bit_cast<std::uint64_t>(value)}; }
Bits Word(std::int64_t value) { return {0, static_cast<std::uint64_t>(value)}; }

// Operands drawn so that the interesting regions are hit often: results near
// overflow and deep in the denormal range, rounding ties (significands with
// their low bits cleared), the double range's edges, and every special
// encoding, invalid ones included.
class OperandSource {
 public:
  X Next() {
    const std::uint16_t sign = Below(2) != 0 ? X::kSignMask : 0;
    std::uint64_t significand = X::kIntegerBit | engine_();
    if (Below(3) == 0) significand &= ~std::uint64_t{0} << Below(64);
    const std::uint32_t kind = Below(100);
    if (kind < 6) return X::FromBits(sign, (significand & X::kFractionMask) >> Below(64));  // denormal
    if (kind < 8) return X::FromBits(sign, significand);                                    // pseudo-denormal
    if (kind < 11) return X::FromBits(sign, 0);
    if (kind < 14) return X::Infinity(sign != 0);
    if (kind < 20) {  // NaNs, quiet and signalling, with equal payloads now and then
      std::uint64_t payload = engine_() & X::kFractionMask & ~(Below(2) == 0 ? X::kQuietBit : 0);
      if (Below(4) == 0) payload &= ~std::uint64_t{0} << Below(62);
      return X::FromBits(sign | X::kExponentMask, X::kIntegerBit | (payload == 0 ? 1 : payload));
    }
    if (kind < 22) {  // unnormal, pseudo-infinity or pseudo-NaN: not valid operands
      const auto field = static_cast<std::uint16_t>(Below(2) == 0 ? X::kExponentMask : 1 + Below(0x7FFE));
      return X::FromBits(sign | field, significand & X::kFractionMask);
    }
    const std::uint32_t field = kind < 57   ? X::kExponentBias - 70 + Below(141)
                                : kind < 72 ? 1 + Below(0x7FFE)
                                : kind < 80 ? 1 + Below(140)                         // near underflow
                                : kind < 88 ? 0x7FFE - Below(140)                    // near overflow
                                : kind < 98 ? X::kExponentBias - 1100 + Below(2140)  // around doubles
                                            : X::kExponentBias + Below(66);          // integers and halves
    return X::FromBits(static_cast<std::uint16_t>(sign | field), significand);
  }

  double NextDouble() {  // subnormals, zeros, infinities and NaNs half of the time
    const std::uint32_t kind = Below(4);
    const std::uint64_t bits = kind == 0 ? engine_() & 0x800FFFFFFFFFFFFFu : engine_();
    return std::bit_cast<double>(kind == 1 ? bits | 0x7FF0000000000000u : bits);
  }

 private:
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(engine_() % bound); }
  std::mt19937_64 engine_{0x5EED0F80B175u};
};

TEST(ExtendedRealHardwareTest, MatchesTheProcessorBitForBit) {
  OperandSource source;
  int failures = 0;
  for (int pair = 0; pair < 1000000 && failures < 10; ++pair) {
    const X a = source.Next(), b = source.Next();
    const long double ha = ToHardware(a), hb = ToHardware(b);
    const double d = source.NextDouble();
    const auto check = [&](const char* operation, const Bits& got, const Bits& want) {
      EXPECT_EQ(got, want) << operation << " of " << testing::PrintToString(std::pair(Of(a), Of(b))) << ", " << d;
      failures += got != want;
    };
    check("product", Of(a * b), Of(ha * hb));
    check("quotient", Of(a / b), Of(ha / hb));
    check("integer", Of(a.RoundToInteger()), Of(std::rint(ha)));
    check("int64", Word(a.ToInt64()), Word(std::llrint(ha)));
    check("narrowing", Of(a.ToDouble()), Of(static_cast<double>(ha)));
    check("widening", Of(X::FromDouble(d)), Of(static_cast<long double>(d)));
    check("integer widening", Of(X::FromInteger(a.ToInt64())), Of(static_cast<long double>(a.ToInt64())));
    check("comparison", Bits{a < b, a == b}, Bits{ha < hb, ha == hb});
  }
  // A product that random operands hardly ever give: 7 * 2^61 times
  // (2^66 - 1) / 7 is 66 ones, whose rounding carries into a new top bit.
  const X a = X::FromBits(0x3FFF, 0xE000000000000000), b = X::FromBits(0x3FFF, 0x9249249249249249);
  EXPECT_EQ(Of(a * b), Of(ToHardware(a) * ToHardware(b)));
}

}  // namespace
}  // namespace corvane
