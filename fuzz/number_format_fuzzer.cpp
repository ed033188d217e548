// Formats any 80-bit pattern, and the same value rounded to a number of
// places, in both display forms and checks the shape of each text.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "dialogue/number_format.hpp"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A sign character, the number, one blank; the number is made of digits, at
// most one point, and an exponent; a fraction ends in a nonzero digit. Returns
// the count of digits after the point of a positional text (0 otherwise).
std::size_t CheckText(std::string_view text, std::size_t longest) {
  Require(text.size() >= 3 && text.size() <= longest);
  Require(text.front() == ' ' || text.front() == '-');
  Require(text.back() == ' ' && text[text.size() - 2] != ' ');
  const std::string_view number = text.substr(1, text.size() - 2);
  Require(number.find_first_not_of("0123456789.E+-") == std::string_view::npos);
  const std::string_view mantissa = number.substr(0, number.find('E'));
  Require(mantissa.find_first_of("+-") == std::string_view::npos);
  const std::size_t point = mantissa.find('.');
  if (point == std::string_view::npos) return 0;
  Require(std::count(mantissa.begin(), mantissa.end(), '.') == 1 && mantissa.back() != '0' && mantissa.back() != '.');
  return mantissa.size() == number.size() ? mantissa.size() - point - 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  if (size < 11) return 0;
  std::uint64_t significand = 0;
  for (int i = 9; i >= 2; --i) significand = (significand << 8) | data[i];
  const auto value = ExtendedReal::FromBits(static_cast<std::uint16_t>(data[0] | data[1] << 8), significand);
  const std::uint32_t places = data[10] % 24;
  CheckText(FormatNumber(value, SignificantDigits(NumberForm::Short)).View(), 16);
  CheckText(FormatNumber(value, SignificantDigits(NumberForm::Long)).View(), 24);
  const ExtendedReal rounded = RoundToPlaces(value, places);
  CheckText(FormatNumber(rounded, SignificantDigits(NumberForm::Short)).View(), 16);
  // A value rounded to some places shows no more places than that.
  const std::size_t shownPlaces = CheckText(FormatNumber(rounded, SignificantDigits(NumberForm::Long)).View(), 24);
  Require(shownPlaces <= std::min<std::uint32_t>(places, 18));
  return 0;
}
