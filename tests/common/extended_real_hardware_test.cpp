// Differential test: the software extended type against the processor's own
// 80-bit long double, bit for bit, over seeded random operands. It runs only
// where long double is the 80-bit format with a 64-bit significand.
#include "common/extended_real.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace corvane {
namespace {

constexpr bool kHardwareExtended = std::numeric_limits<long double>::digits == 64;

// The ten bytes of the 80-bit format, read from or written to a long double.
struct RawBytes {
  unsigned char bytes[16] = {};
};

long double ToHardware(const ExtendedReal& x) {
  RawBytes raw;
  const std::uint64_t significand = x.Significand();
  const std::uint16_t signExponent = x.SignExponent();
  std::memcpy(raw.bytes, &significand, 8);
  std::memcpy(raw.bytes + 8, &signExponent, 2);
  long double value = 0;
  std::memcpy(&value, raw.bytes, sizeof(value) < 16 ? sizeof(value) : 16);
  return value;
}

ExtendedReal FromHardware(long double value) {
  RawBytes raw;
  std::memcpy(raw.bytes, &value, sizeof(value) < 16 ? sizeof(value) : 16);
  std::uint64_t significand = 0;
  std::uint16_t signExponent = 0;
  std::memcpy(&significand, raw.bytes, 8);
  std::memcpy(&signExponent, raw.bytes + 8, 2);
  return ExtendedReal::FromBits(signExponent, significand);
}

// Operands drawn so that the interesting regions are hit often: results near
// overflow and deep in the denormal range, rounding ties (significands with
// their low bits cleared), the double range's edges, and every special
// encoding, invalid ones included.
class OperandSource {
 public:
  explicit OperandSource(std::uint64_t seed) : engine_(seed) {}

  ExtendedReal Next() {
    const std::uint32_t kind = Below(100);
    const std::uint16_t sign = Below(2) != 0 ? ExtendedReal::kSignMask : 0;
    std::uint64_t significand = ExtendedReal::kIntegerBit | engine_();
    if (Below(3) == 0) significand &= ~std::uint64_t{0} << Below(64);
    std::uint32_t field = 0;
    if (kind < 35) {
      field = ExtendedReal::kExponentBias - 70 + Below(141);
    } else if (kind < 50) {
      field = 1 + Below(0x7FFE);
    } else if (kind < 58) {
      field = 1 + Below(140);
    } else if (kind < 66) {
      field = 0x7FFE - Below(140);
    } else if (kind < 76) {
      field = ExtendedReal::kExponentBias - 1100 + Below(2140);  // around the double range
    } else if (kind < 82) {
      return ExtendedReal::FromBits(sign, (significand & ExtendedReal::kFractionMask) >> Below(64));
    } else if (kind < 84) {
      return ExtendedReal::FromBits(sign, significand);  // pseudo-denormal
    } else if (kind < 87) {
      return ExtendedReal::FromBits(sign, 0);
    } else if (kind < 90) {
      return ExtendedReal::Infinity(sign != 0);
    } else if (kind < 96) {
      std::uint64_t payload = engine_() & ExtendedReal::kFractionMask;
      if (Below(2) == 0) payload &= ~ExtendedReal::kQuietBit;
      if (Below(4) == 0) payload &= ~std::uint64_t{0} << Below(62);  // equal payloads now and then
      if (payload == 0) payload = 1;
      return ExtendedReal::FromBits(sign | ExtendedReal::kExponentMask, ExtendedReal::kIntegerBit | payload);
    } else if (kind < 98) {
      // Unnormal, pseudo-infinity or pseudo-NaN: not valid operands.
      const auto invalidField =
          static_cast<std::uint16_t>(Below(2) == 0 ? ExtendedReal::kExponentMask : 1 + Below(0x7FFE));
      return ExtendedReal::FromBits(sign | invalidField, significand & ExtendedReal::kFractionMask);
    } else {
      field = ExtendedReal::kExponentBias + Below(66);  // integers and halves
    }
    return ExtendedReal::FromBits(static_cast<std::uint16_t>(sign | field), significand);
  }

  double NextDouble() {
    std::uint64_t bits = engine_();
    switch (Below(4)) {
      case 0: bits &= 0x800FFFFFFFFFFFFFu; break;  // subnormal or zero
      case 1: bits |= 0x7FF0000000000000u; break;  // infinity or NaN
      default: break;
    }
    return std::bit_cast<double>(bits);
  }

 private:
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(engine_() % bound); }

  std::mt19937_64 engine_;
};

std::string Hex(const ExtendedReal& x) {
  char text[24];
  std::snprintf(text, sizeof text, "%04X:%016llX", static_cast<unsigned>(x.SignExponent()),
                static_cast<unsigned long long>(x.Significand()));
  return text;
}

::testing::AssertionResult SameBits(const char* operation, const ExtendedReal& a, const ExtendedReal& b,
                                    const ExtendedReal& got, long double want) {
  const ExtendedReal expected = FromHardware(want);
  if (got.SignExponent() == expected.SignExponent() && got.Significand() == expected.Significand()) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << operation << " of " << Hex(a) << " and " << Hex(b) << " gave " << Hex(got)
                                       << ", hardware " << Hex(expected);
}

TEST(ExtendedRealHardwareTest, MatchesTheProcessorBitForBit) {
  if (!kHardwareExtended) GTEST_SKIP() << "long double is not the 80-bit extended format here";
  constexpr int kPairs = 1000000;
  OperandSource source(0x5EED0F80B175u);
  int failures = 0;
  auto check = [&failures](::testing::AssertionResult result) {
    if (!result && ++failures <= 10) ADD_FAILURE() << result.message();
  };
  for (int i = 0; i < kPairs; ++i) {
    const ExtendedReal a = source.Next();
    const ExtendedReal b = source.Next();
    const long double ha = ToHardware(a);
    const long double hb = ToHardware(b);
    check(SameBits("product", a, b, a * b, ha * hb));
    check(SameBits("quotient", a, b, a / b, ha / hb));
    check(SameBits("integer", a, a, a.RoundToInteger(), std::rint(ha)));
    const long long wantInteger = std::llrint(ha);
    if (a.ToInt64() != wantInteger && ++failures <= 10) {
      ADD_FAILURE() << "int64 of " << Hex(a) << " gave " << a.ToInt64() << ", hardware " << wantInteger;
    }
    const auto wantDouble = std::bit_cast<std::uint64_t>(static_cast<double>(ha));
    if (std::bit_cast<std::uint64_t>(a.ToDouble()) != wantDouble && ++failures <= 10) {
      ADD_FAILURE() << "double of " << Hex(a) << " gave " << ::testing::PrintToString(a.ToDouble())
                    << ", hardware " << ::testing::PrintToString(static_cast<double>(ha)) << " (bits differ)";
    }
    const double d = source.NextDouble();
    const ExtendedReal fromDouble = ExtendedReal::FromDouble(d);
    check(SameBits("widening", fromDouble, fromDouble, fromDouble, static_cast<long double>(d)));
    const bool wantLess = ha < hb;
    const bool wantEqual = ha == hb;
    if ((a < b) != wantLess || (a == b) != wantEqual) {
      if (++failures <= 10) ADD_FAILURE() << "comparison differs at pair " << i;
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace corvane
