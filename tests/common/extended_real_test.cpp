#include "common/extended_real.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace corvane {
namespace {

struct Bits {
  std::uint16_t signExponent;
  std::uint64_t significand;
};

::testing::AssertionResult HasBits(const ExtendedReal& x, Bits expected) {
  if (x.SignExponent() == expected.signExponent && x.Significand() == expected.significand) {
    return ::testing::AssertionSuccess();
  }
  char text[64];
  std::snprintf(text, sizeof text, "got %04X:%016llX, expected %04X:%016llX", static_cast<unsigned>(x.SignExponent()),
                static_cast<unsigned long long>(x.Significand()), static_cast<unsigned>(expected.signExponent),
                static_cast<unsigned long long>(expected.significand));
  return ::testing::AssertionFailure() << text;
}

ExtendedReal Int(std::int64_t value) { return ExtendedReal::FromInteger(value); }

TEST(ExtendedRealTest, IntegersAndDoublesWidenExactly) {
  struct Case {
    const char* label;
    ExtendedReal value;
    Bits expected;
  };
  const Case cases[] = {
      {"zero", Int(0), {0x0000, 0}},
      {"one", Int(1), {0x3FFF, 0x8000000000000000}},
      {"minus three", Int(-3), {0xC000, 0xC000000000000000}},
      {"int16 min", Int(INT16_MIN), {0xC00E, 0x8000000000000000}},
      {"int32 max", Int(INT32_MAX), {0x401D, 0xFFFFFFFE00000000}},
      {"int64 max", Int(INT64_MAX), {0x403D, 0xFFFFFFFFFFFFFFFE}},
      {"int64 min", Int(INT64_MIN), {0xC03E, 0x8000000000000000}},
      {"double 0.1", ExtendedReal::FromDouble(0.1), {0x3FFB, 0xCCCCCCCCCCCCD000}},
      {"double -0", ExtendedReal::FromDouble(-0.0), {0x8000, 0}},
      {"smallest subnormal double", ExtendedReal::FromDouble(std::numeric_limits<double>::denorm_min()),
       {0x3BCD, 0x8000000000000000}},
      {"double infinity", ExtendedReal::FromDouble(-std::numeric_limits<double>::infinity()),
       {0xFFFF, 0x8000000000000000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_TRUE(HasBits(c.value, c.expected));
  }
}

TEST(ExtendedRealTest, ArithmeticRoundsToNearestEven) {
  const ExtendedReal third = Int(1) / Int(3);
  EXPECT_TRUE(HasBits(third, {0x3FFD, 0xAAAAAAAAAAAAAAAB}));
  EXPECT_TRUE(HasBits(Int(2) / Int(3), {0x3FFE, 0xAAAAAAAAAAAAAAAB}));
  EXPECT_TRUE(HasBits(Int(-1) * Int(0), {0x8000, 0}));
  // (2^64 - 1) * 3 = 0x2FFFFFFFFFFFFFFFD needs 66 bits; the dropped bits 01
  // are below half.
  const ExtendedReal allOnes = ExtendedReal::FromBits(0x403E, 0xFFFFFFFFFFFFFFFF);
  EXPECT_TRUE(HasBits(allOnes * Int(3), {0x4040, 0xBFFFFFFFFFFFFFFF}));
  // (2^63 + 1) * 3 and (2^63 + 3) * 3 need 65 bits and end in a half: the odd
  // candidate goes up, the even one stays.
  EXPECT_TRUE(HasBits(ExtendedReal::FromBits(0x403E, 0x8000000000000001) * Int(3), {0x403F, 0xC000000000000002}));
  EXPECT_TRUE(HasBits(ExtendedReal::FromBits(0x403E, 0x8000000000000003) * Int(3), {0x403F, 0xC000000000000004}));
}

TEST(ExtendedRealTest, ExtremesOverflowAndUnderflowQuietly) {
  const ExtendedReal largest = ExtendedReal::FromBits(0x7FFE, 0xFFFFFFFFFFFFFFFF);
  const ExtendedReal smallestNormal = ExtendedReal::FromBits(0x0001, 0x8000000000000000);
  EXPECT_TRUE(largest * Int(2) == ExtendedReal::Infinity(false));
  EXPECT_TRUE(HasBits(Int(-1) * largest * Int(2), {0xFFFF, 0x8000000000000000}));
  // Halving the smallest normal gives a denormal, not zero.
  EXPECT_TRUE(HasBits(smallestNormal / Int(2), {0x0000, 0x4000000000000000}));
  // Half of the smallest denormal is a tie that goes to the even zero;
  // three quarters of it rounds up to it.
  const ExtendedReal smallestDenormal = ExtendedReal::FromBits(0x0000, 1);
  EXPECT_TRUE(HasBits(smallestDenormal / Int(2), {0x0000, 0}));
  EXPECT_TRUE(HasBits(smallestDenormal * Int(3) / Int(4), {0x0000, 1}));
}

TEST(ExtendedRealTest, SpecialValuesNeverTrap) {
  const ExtendedReal inf = ExtendedReal::Infinity(false);
  EXPECT_TRUE((inf * Int(0)).IsNaN());
  EXPECT_TRUE((inf / inf).IsNaN());
  EXPECT_TRUE((Int(0) / Int(0)).IsNaN());
  EXPECT_TRUE(Int(-5) / Int(0) == ExtendedReal::Infinity(true));
  EXPECT_TRUE(HasBits(Int(5) / inf.Negated(), {0x8000, 0}));
  EXPECT_EQ(inf.ToInt64(), INT64_MIN);
  EXPECT_EQ(ExtendedReal::DefaultNaN().ToInt64(), INT64_MIN);
}

TEST(ExtendedRealTest, DivideToDoubleGivesTheDurationQuotient) {
  struct Case {
    const char* label;
    std::int32_t numerator;
    std::int32_t denominator;
    double expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"whole minute", 2646000, 44100, 60.0},
      {"quarter second", 12000, 48000, 0.25},
      {"inexact", 146853, 44100, 3.33},
      {"inexact small", 10000, 44100, 0.22675736961451248},
      {"largest length", INT32_MAX, 44100, 48695.77430839002},
      {"negative rate", 10000, -1, -10000.0},
      {"zero length", 0, 44100, 0.0},
      {"positive over zero", 100, 0, inf},
      {"negative over zero", -100, 0, -inf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(DivideToDouble(c.numerator, c.denominator)),
              std::bit_cast<std::uint64_t>(c.expected));
  }
  EXPECT_TRUE(std::isnan(DivideToDouble(0, 0)));
}

TEST(ExtendedRealTest, ComparesNumerically) {
  const ExtendedReal nan = ExtendedReal::DefaultNaN();
  EXPECT_TRUE(ExtendedReal::FromDouble(-0.0) == Int(0));
  EXPECT_TRUE(Int(-2) < Int(-1));
  EXPECT_TRUE(Int(1) / Int(3) < ExtendedReal::FromDouble(0.33333333333333337));
  EXPECT_TRUE(ExtendedReal::Infinity(true) < ExtendedReal::FromBits(0xFFFE, 0xFFFFFFFFFFFFFFFF));
  // A pseudo-denormal equals the normal it stands for.
  EXPECT_TRUE(ExtendedReal::FromBits(0x0000, 0x8000000000000000) == ExtendedReal::FromBits(0x0001, 0x8000000000000000));
  EXPECT_FALSE(nan == nan);
  EXPECT_FALSE(nan < Int(0) || nan > Int(0));
}

}  // namespace
}  // namespace corvane
