#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/extended_real.hpp"

namespace corvane {

class ConsoleText;

// Short: 7 significant digits (16-bit values). Long: 15 (32-bit values and
// reals).
enum class NumberForm { Short, Long };

constexpr int SignificantDigits(NumberForm form) { return form == NumberForm::Short ? 7 : 15; }

// The display text of a number: a sign character (blank or "-"), the number
// in positional or exponent form, and one trailing blank. The longest text is
// 24 characters (sign, 15 digits, point, "E", exponent sign, 4 exponent
// digits, blank); the buffer has room for the 17 digits the formatter allows.
struct NumberText {
  static constexpr std::size_t kCapacity = 32;
  std::array<char, kCapacity> text{};
  std::size_t length = 0;

  std::string_view View() const { return {text.data(), length}; }
};

// value * 10^m, with the powers taken from the PowerOfTenTable.
ExtendedReal ScaleByPowerOfTen(const ExtendedReal& value, std::int16_t m);

// value rounded to `places` decimal places (at most 18; more count as 18),
// ties to even on the extended product value * 10^places.
ExtendedReal RoundToPlaces(const ExtendedReal& value, std::uint32_t places);

// The display text of value with significantDigits significant digits (7 or
// 15 in use; values outside 1 to 17 are clamped to that range).
NumberText FormatNumber(const ExtendedReal& value, int significantDigits);

// Prints FormatNumber's text at the cursor with one PrintText call, trailing
// blank included, and nothing else.
void PrintNumber(ConsoleText& console, const ExtendedReal& value, NumberForm form);

}  // namespace corvane
