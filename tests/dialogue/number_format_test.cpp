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

std::string Short(const ExtendedReal& value) { return std::string(FormatNumber(value, 7).View()); }
std::string Long(const ExtendedReal& value) { return std::string(FormatNumber(value, 15).View()); }

struct FormatCase {
  const char* label;
  ExtendedReal value;
  NumberForm form;
  const char* text;  // sign character, body, trailing blank
};

void ExpectTexts(std::initializer_list<FormatCase> cases) {
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(FormatNumber(c.value, SignificantDigits(c.form)).View(), std::string_view(c.text));
  }
}

TEST(NumberFormatTest, EveryIntegerThatFitsShowsItsPlainDigits) {
  auto plain = [](std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value).ptr;
    std::string shown(1, value < 0 ? '-' : ' ');
    shown.append(digits, end).push_back(' ');
    return shown;
  };
  for (std::int32_t value = INT16_MIN; value <= INT16_MAX; ++value) {
    ASSERT_EQ(Short(Int(value)), plain(value)) << value;
  }
  std::mt19937 engine(20240611);
  for (int i = 0; i < 100000; ++i) {
    const auto value = static_cast<std::int32_t>(engine());
    ASSERT_EQ(Long(Int(value)), plain(value)) << value;
  }
  EXPECT_EQ(Long(Int(INT32_MIN)), plain(INT32_MIN));
}

// Positional while the digits fit the form's count, exponent form beyond it.
TEST(NumberFormatTest, FormSwitchesAtTheDigitCount) {
  const ExtendedReal third = Int(1) / Int(3);
  ExpectTexts({
      {"seven nines", Int(9999999), NumberForm::Short, " 9999999 "},
      {"eight digits", Int(10000000), NumberForm::Short, " 1E+7 "},
      {"eight digits rounded", Int(12345678), NumberForm::Short, " 1.234568E+7 "},
      {"fifteen nines", Int(999999999999999), NumberForm::Long, " 999999999999999 "},
      {"sixteen digits", Int(1234567890123456), NumberForm::Long, " 1.23456789012346E+15 "},
      {"minus half", Real(-0.5), NumberForm::Long, "-.5 "},
      {"3.33", Real(3.33), NumberForm::Long, " 3.33 "},
      {"third long", third, NumberForm::Long, " .333333333333333 "},
      {"two thirds long", Int(2) / Int(3), NumberForm::Long, " .666666666666667 "},
      {"third short", third, NumberForm::Short, " .3333333 "},
      {"short seven places", Real(1e-7), NumberForm::Short, " .0000001 "},
      {"short eight places", Real(1e-8), NumberForm::Short, " 1E-8 "},
      {"short negative exponent form", Real(-0.000012345678), NumberForm::Short, "-1.234568E-5 "},
      {"long fifteen places", Real(0.000000000000123), NumberForm::Long, " .000000000000123 "},
      {"long sixteen places", Real(0.0000000000000123), NumberForm::Long, " 1.23E-14 "},
      {"long fraction fits", Real(12345678.1234567), NumberForm::Long, " 12345678.1234567 "},
      {"1e100", Real(1e100), NumberForm::Long, " 1E+100 "},
      {"1.5e-100", Real(1.5e-100), NumberForm::Long, " 1.5E-100 "},
  });
}

TEST(NumberFormatTest, RoundingLooksAtOneDigitAndCarries) {
  ExpectTexts({
      {"carry to a new first digit", Real(9999999.5), NumberForm::Short, " 1E+7 "},
      {"carry through nines", Real(0.099999996), NumberForm::Short, " .1 "},
      {"carry to a whole number", Real(9.9999999), NumberForm::Short, " 10 "},
      {"tie on even stays", Real(1234566.5), NumberForm::Short, " 1234566 "},
      {"tie on odd goes up", Int(-12345675), NumberForm::Short, "-1.234568E+7 "},
      // 0.12345665000001: the ninth digit would break the tie upwards, but
      // only the eighth is looked at.
      {"later digits ignored", Real(0.12345665000001), NumberForm::Short, " .1234566 "},
      {"above half goes up", Int(12345666), NumberForm::Short, " 1.234567E+7 "},
  });
}

TEST(NumberFormatTest, SpecialValuesShowAsNinesOrZero) {
  ExpectTexts({
      {"positive infinity", ExtendedReal::Infinity(false), NumberForm::Long, " 9.99999999999999E+998 "},
      {"negative infinity", ExtendedReal::Infinity(true), NumberForm::Long, "-9.99999999999999E+998 "},
      {"infinity short", ExtendedReal::Infinity(false), NumberForm::Short, " 9.999999E+998 "},
      {"NaN", ExtendedReal::DefaultNaN(), NumberForm::Long, " 0 "},
      {"negative zero", Real(-0.0), NumberForm::Long, " 0 "},
      {"denormal", ExtendedReal::FromBits(0x8000, 0x4000000000000000), NumberForm::Long, " 0 "},
      {"largest", ExtendedReal::FromBits(0x7FFE, 0xFFFFFFFFFFFFFFFF), NumberForm::Long, " 1.18973149535723E+4932 "},
      {"smallest normal", ExtendedReal::FromBits(0x8001, 0x8000000000000000), NumberForm::Long,
       "-3.36210314311209E-4932 "},
  });
}

// The duration shown is the double quotient rounded to two places.
TEST(NumberFormatTest, DurationsAsTheDialogueShowsThem) {
  struct Case {
    std::int32_t length;
    std::int32_t sampleRate;
    const char* text;
  };
  const Case cases[] = {
      {2646000, 44100, " 60 "},
      {551250, 44100, " 12.5 "},
      {146853, 44100, " 3.33 "},
      {6000, 48000, " .12 "},
      {240, 48000, " .01 "},
      {220, 44100, " 0 "},
      {2147483647, 44100, " 48695.77 "},
      {10000, -1, "-10000 "},
      {-100, 0, "-9.99999999999999E+998 "},
      {0, 0, " 0 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + " / " + std::to_string(c.sampleRate));
    EXPECT_EQ(Long(RoundToPlaces(Real(DivideToDouble(c.length, c.sampleRate)), 2)), c.text);
  }
}

TEST(NumberFormatTest, RoundToPlacesRoundsTheStoredValue) {
  struct Case {
    const char* label;
    double value;
    std::uint32_t places;
    double expected;
  };
  const Case cases[] = {
      {"half to even zero", 0.5, 0, 0.0},
      {"one and a half up", 1.5, 0, 2.0},
      {"1.005 is stored below", 1.005, 2, 1.0},
      {"12.345 is stored above", 12.345, 2, 12.35},
      {"negative to negative zero", -0.004, 2, -0.0},
      {"no places left for a huge value", 1e300, 2, 1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ExtendedReal rounded = RoundToPlaces(Real(c.value), c.places);
    EXPECT_EQ(rounded.ToDouble(), c.expected);
    EXPECT_EQ(rounded.IsNegative(), std::signbit(c.expected));
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
