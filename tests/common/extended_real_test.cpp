// Cases that must hold also where no 80-bit long double is at hand to compare.
#include "common/extended_real.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>

namespace corvane {
namespace {

using X = ExtendedReal;
X Int(std::int64_t value) { return X::FromInteger(value); }

TEST(ExtendedRealTest, SpecialCasesGiveTheProcessorsBits) {
  struct Case {
    const char* label;
    X x;
    std::uint16_t signExponent;
    std::uint64_t significand;
  };
  const Case cases[] = {
      {"product tie, odd goes up", X::FromBits(0x403E, 0x8000000000000001) * Int(3), 0x403F, 0xC000000000000002},
      {"product tie, even stays", X::FromBits(0x403E, 0x8000000000000003) * Int(3), 0x403F, 0xC000000000000004},
      {"overflow to -infinity", X::FromBits(0xFFFE, 0xFFFFFFFFFFFFFFFF) * Int(2), 0xFFFF, 0x8000000000000000},
      {"half the smallest normal", X::FromBits(0x0001, 0x8000000000000000) / Int(2), 0x0000, 0x4000000000000000},
      {"half the smallest denormal ties to 0", X::FromBits(0x0000, 1) / Int(2), 0x0000, 0},
      {"0/0 is the default NaN", Int(0) / Int(0), 0xFFFF, 0xC000000000000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::pair(c.x.SignExponent(), c.x.Significand()), std::pair(c.signExponent, c.significand)) << c.label;
  }
}

// The duration: one extended division narrowed to a double.
TEST(ExtendedRealTest, DivideToDoubleGivesTheDurationQuotient) {
  EXPECT_EQ(DivideToDouble(10000, 44100), 0.22675736961451248);
  EXPECT_EQ(DivideToDouble(INT32_MAX, 44100), 48695.77430839002) << "largest length";
  EXPECT_EQ(DivideToDouble(100, 0), HUGE_VAL);
  EXPECT_EQ(DivideToDouble(-100, 0), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(DivideToDouble(0, 0)));
}

}  // namespace
}  // namespace corvane
