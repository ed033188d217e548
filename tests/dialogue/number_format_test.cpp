#include "dialogue/number_format.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>

namespace corvane {
namespace {

ExtendedReal Int(std::int64_t value) { return ExtendedReal::FromInteger(value); }
ExtendedReal Real(double value) { return ExtendedReal::FromDouble(value); }

constexpr int kShort = SignificantDigits(NumberForm::Short);
constexpr int kLong = SignificantDigits(NumberForm::Long);

std::string Text(const ExtendedReal& value, int digits) { return std::string(FormatNumber(value, digits).View()); }

TEST(NumberFormatTest, EveryIntegerThatFitsShowsItsPlainDigits) {
  auto plain = [](std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value).ptr;
    std::string shown(1, value < 0 ? '-' : ' ');
    shown.append(digits, end).push_back(' ');
    return shown;
  };
  for (std::int32_t value = INT16_MIN; value <= INT16_MAX; ++value) {
    ASSERT_EQ(Text(Int(value), kShort), plain(value)) << value;
  }
  std::mt19937 engine(20240611);
  for (int i = 0; i < 100000; ++i) {
    const auto value = static_cast<std::int32_t>(engine());
    ASSERT_EQ(Text(Int(value), kLong), plain(value)) << value;
  }
  EXPECT_EQ(Text(Int(INT32_MIN), kLong), plain(INT32_MIN));
}

// Each text: the sign character, the body, a trailing blank. Positional while
// the digits fit the form's count, exponent form beyond it; the rounding looks
// at the next digit alone, ties to even, and may carry out of the first digit.
// Infinities show as the largest nines, NaN and denormals as 0.
TEST(NumberFormatTest, TextsAtTheFormBoundariesInRoundingAndForSpecialValues) {
  const struct {
    ExtendedReal value;
    int digits;
    const char* text;
  } cases[] = {
      // Each boundary's two sides on one line.
      // clang-format off
      {Int(9999999), kShort, " 9999999 "},                   {Int(10000000), kShort, " 1E+7 "},
      {Int(999999999999999), kLong, " 999999999999999 "},    {Int(1234567890123456), kLong, " 1.23456789012346E+15 "},
      {Real(1e-7), kShort, " .0000001 "},                    {Real(1e-8), kShort, " 1E-8 "},
      {Real(0.000000000000123), kLong, " .000000000000123 "}, {Real(0.0000000000000123), kLong, " 1.23E-14 "},
      {Real(12345678.1234567), kLong, " 12345678.1234567 "}, {Real(-0.000012345678), kShort, "-1.234568E-5 "},
      // Rounding: carries, ties, and the ninth digit that would break the tie upwards but is not looked at.
      {Real(9999999.5), kShort, " 1E+7 "}, {Real(0.099999996), kShort, " .1 "}, {Real(9.9999999), kShort, " 10 "},
      {Int(2) / Int(3), kLong, " .666666666666667 "}, {Real(1234566.5), kShort, " 1234566 "},
      {Int(-12345675), kShort, "-1.234568E+7 "},      {Real(0.12345665000001), kShort, " .1234566 "},
      // Special values and the extremes.
      {ExtendedReal::Infinity(true), kLong, "-9.99999999999999E+998 "}, {Real(-0.0), kLong, " 0 "},
      {ExtendedReal::Infinity(false), kShort, " 9.999999E+998 "},     {ExtendedReal::DefaultNaN(), kLong, " 0 "},
      {ExtendedReal::FromBits(0x8000, 0x4000000000000000), kLong, " 0 "},
      {ExtendedReal::FromBits(0x7FFE, 0xFFFFFFFFFFFFFFFF), kLong, " 1.18973149535723E+4932 "},
      {ExtendedReal::FromBits(0x8001, 0x8000000000000000), kLong, "-3.36210314311209E-4932 "},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(Text(c.value, c.digits), c.text);
}

// The duration shown is the double quotient rounded to two places.
TEST(NumberFormatTest, DurationsAsTheDialogueShowsThem) {
  const struct {
    std::int32_t length, sampleRate;
    const char* text;
  } cases[] = {{146853, 44100, " 3.33 "}, {6000, 48000, " .12 "}, {-100, 0, "-9.99999999999999E+998 "},
               {240, 48000, " .01 "},     {220, 44100, " 0 "},    {2147483647, 44100, " 48695.77 "},
               {10000, -1, "-10000 "},    {0, 0, " 0 "}};
  for (const auto& c : cases) {
    EXPECT_EQ(Text(RoundToPlaces(Real(DivideToDouble(c.length, c.sampleRate)), 2), kLong), c.text) << c.length;
  }
}

// 1.005 is stored below the tie, 12.345 above it.
TEST(NumberFormatTest, RoundToPlacesRoundsTheStoredValue) {
  const struct {
    double value;
    std::uint32_t places;
    double expected;
  } cases[] = {{0.5, 0, 0.0}, {1.5, 0, 2.0}, {1.005, 2, 1.0}, {12.345, 2, 12.35}, {-0.004, 2, -0.0}, {1e300, 2, 1e300}};
  for (const auto& c : cases) {
    const ExtendedReal rounded = RoundToPlaces(Real(c.value), c.places);
    EXPECT_EQ(rounded.ToDouble(), c.expected) << c.value;
    EXPECT_EQ(rounded.IsNegative(), std::signbit(c.expected)) << c.value;
  }
  // 12.35 is the extended quotient 1235 / 100, not the double 12.35 widened.
  EXPECT_TRUE(RoundToPlaces(Real(12.345), 2) == Int(1235) / Int(100));
  // Places above 18 count as 18, and 18 differ from 17.
  const ExtendedReal third = Int(1) / Int(3);
  EXPECT_TRUE(RoundToPlaces(third, 25) == RoundToPlaces(third, 18));
  EXPECT_FALSE(RoundToPlaces(third, 17) == RoundToPlaces(third, 18));
  // Scaling by more than 8192 places takes several steps through the table.
  EXPECT_TRUE(ScaleByPowerOfTen(Int(1), INT16_MAX).IsInfinite());
  EXPECT_TRUE(ScaleByPowerOfTen(Int(1), INT16_MIN).IsZero());
}

}  // namespace
}  // namespace corvane
