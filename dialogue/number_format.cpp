#include "dialogue/number_format.hpp"

#include <algorithm>

#include "dialogue/power_of_ten_table.hpp"

namespace corvane {

namespace {

constexpr int kMaxSignificantDigits = 17;
constexpr std::int32_t kLargestPower = 4096;  // the last power entry

// The digit string of a number: the sign character, then the significant
// digits as characters, then an end mark (a zero byte). Digit generation fills
// it; layout reads it. It holds at most the sign, n + 1 digits for n up to
// 17 (the last one only decides the rounding) and the end mark: 20 characters.
struct DigitString {
  static constexpr std::size_t kCapacity = 20;
  std::array<char, kCapacity> text{};
  // Count of digits before the decimal point; zero or negative below 1.
  std::int32_t pointPosition = 1;

  char Digit(std::int32_t index) const { return text[static_cast<std::size_t>(index)]; }
};

DigitString FilledDigits(char sign, char digit, int count, std::int32_t pointPosition) {
  DigitString digits;
  digits.text[0] = sign;
  for (int i = 1; i <= count; ++i) digits.text[static_cast<std::size_t>(i)] = digit;
  digits.text[static_cast<std::size_t>(count) + 1] = '\0';
  digits.pointPosition = pointPosition;
  return digits;
}

// The 18-digit integer N, 10^17 <= N < 10^18, with |x| ~ N * 10^(k - 17).
struct EighteenDigits {
  std::int64_t integer;
  std::int32_t k;
};

// k starts as floor(e * log10 2) from the binary exponent e, with
// 19728 / 65536 a little below log10 2, and is corrected by one step.
EighteenDigits ScaleToEighteenDigits(const ExtendedReal& magnitude) {
  const std::int32_t binaryExponent = magnitude.BiasedExponent() - ExtendedReal::kExponentBias;
  std::int32_t k = (binaryExponent * 19728) >> 16;  // arithmetic shift: floor
  ExtendedReal y = ScaleByPowerOfTen(magnitude, static_cast<std::int16_t>(17 - k)).RoundToInteger();
  const ExtendedReal ten = ExtendedReal::FromInteger(10);
  if (y >= kPowerOfTenTable.upperBound) {
    y = y / ten;
    ++k;
  } else if (y < ExtendedReal::FromInteger(100000000000000000)) {
    y = y * ten;
    --k;
  }
  return {y.ToInt64(), k};
}

// Rounds the digit string to n digits on digit n + 1 alone: above 5 up, 5 up
// only when digit n is odd; the digits after it are not consulted.
void RoundOnNextDigit(DigitString& digits, int n) {
  const char next = digits.Digit(n + 1);
  const bool up = next > '5' || (next == '5' && (digits.Digit(n) - '0') % 2 != 0);
  digits.text[static_cast<std::size_t>(n) + 1] = '\0';
  if (!up) return;
  int i = n;
  while (i >= 1 && digits.Digit(i) == '9') digits.text[static_cast<std::size_t>(i--)] = '0';
  if (i >= 1) {
    ++digits.text[static_cast<std::size_t>(i)];
  } else {
    digits.text[1] = '1';  // carry out of the first digit: 99..9 became 100..0
    ++digits.pointPosition;
  }
}

// Digit generation: n significant digits of value, its point position and
// its sign character.
DigitString GenerateDigits(const ExtendedReal& value, int n) {
  // Zero, denormals and NaN show as 0; infinities as all nines with the
  // point position 999.
  if (value.BiasedExponent() == 0 || value.IsNaN()) return FilledDigits(' ', '0', n, 1);
  if (value.IsInfinite()) return FilledDigits(value.IsNegative() ? '-' : ' ', '9', n, 999);

  const auto [integer, k] = ScaleToEighteenDigits(value.Abs());
  if (integer <= 0) return FilledDigits(' ', '0', n, 1);  // cannot happen for a normal value

  // Take N apart by repeated division by 10, last digit first.
  std::array<char, 19> reversed{};
  int count = 0;
  for (auto rest = static_cast<std::uint64_t>(integer); rest != 0; rest /= 10) {
    reversed[static_cast<std::size_t>(count++)] = static_cast<char>('0' + rest % 10);
  }
  DigitString digits;
  digits.text[0] = value.IsNegative() ? '-' : ' ';
  for (int i = 1; i <= n + 1; ++i) {
    digits.text[static_cast<std::size_t>(i)] = i <= count ? reversed[static_cast<std::size_t>(count - i)] : '0';
  }
  // N has 18 digits, so p = k + 1; counting N's actual digits keeps the
  // point right should the correction by one step ever fall short.
  digits.pointPosition = k + 1 + (count - 18);
  RoundOnNextDigit(digits, n);
  return digits;
}

// Appends characters to a NumberText.
class TextWriter {
 public:
  explicit TextWriter(NumberText& out) : out_(out) {}
  void Put(char c) { out_.text[out_.length++] = c; }
  void Repeat(char c, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) Put(c);
  }
  void PutDigits(const DigitString& digits, std::int32_t first, std::int32_t last) {
    for (std::int32_t i = first; i <= last; ++i) Put(digits.Digit(i));
  }
  void PutDecimal(std::int32_t value) {
    char reversed[10];
    int count = 0;
    do {
      reversed[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (count > 0) Put(reversed[--count]);
  }

 private:
  NumberText& out_;
};

void LayOutExponentForm(TextWriter& writer, const DigitString& digits, std::int32_t significant, char exponentSign,
                        std::int32_t exponent) {
  writer.Put(digits.Digit(1));
  if (significant > 1) {
    writer.Put('.');
    writer.PutDigits(digits, 2, significant);
  }
  writer.Put('E');
  writer.Put(exponentSign);
  writer.PutDecimal(exponent);
}

// Layout: positional while at most n digits stand before the point or at most
// n after it (zeros right after the point included), else exponent form.
NumberText LayOut(const DigitString& digits, std::int32_t n) {
  NumberText out;
  TextWriter writer(out);
  std::int32_t j = n;  // significant digits without the trailing zeros
  while (j > 0 && digits.Digit(j) == '0') --j;
  if (j == 0) {
    writer.Put(' ');
    writer.Put('0');
    writer.Put(' ');
    return out;
  }
  const std::int32_t p = digits.pointPosition;
  writer.Put(digits.Digit(0));
  if (p >= j) {
    if (p <= n) {
      writer.PutDigits(digits, 1, j);
      writer.Repeat('0', p - j);
    } else {
      LayOutExponentForm(writer, digits, j, '+', p - 1);
    }
  } else if (j - p <= n && p >= 1) {
    writer.PutDigits(digits, 1, p);
    writer.Put('.');
    writer.PutDigits(digits, p + 1, j);
  } else if (j - p <= n) {
    writer.Put('.');  // no zero before the point
    writer.Repeat('0', -p);
    writer.PutDigits(digits, 1, j);
  } else {
    LayOutExponentForm(writer, digits, j, '-', 1 - p);
  }
  writer.Put(' ');
  return out;
}

}  // namespace

ExtendedReal ScaleByPowerOfTen(const ExtendedReal& value, std::int16_t m) {
  const ExtendedReal& largest = kPowerOfTenTable.powers[9];
  ExtendedReal x = value;
  std::int32_t rest = m;
  // One step brings any m the display needs into the table's range; the loop
  // keeps every other 16-bit m inside the table too.
  while (rest > kLargestPower) {
    x = x * largest;
    rest -= kLargestPower;
  }
  while (rest < -kLargestPower) {
    x = x / largest;
    rest += kLargestPower;
  }
  if (rest == 0) return x;
  const std::uint32_t a = static_cast<std::uint32_t>(rest < 0 ? -rest : rest);
  ExtendedReal power = ExtendedReal::FromInteger(kPowerOfTenTable.integers[a % 8]);
  std::uint32_t bits = a / 8;
  for (std::size_t i = 0; bits != 0; ++i, bits >>= 1) {
    if ((bits & 1) != 0) power = power * kPowerOfTenTable.powers[i];
  }
  return rest > 0 ? x * power : x / power;
}

ExtendedReal RoundToPlaces(const ExtendedReal& value, std::uint32_t places) {
  constexpr std::uint32_t kMostPlaces = 18;
  const std::uint32_t used = places > kMostPlaces ? kMostPlaces : places;
  const ExtendedReal power = ScaleByPowerOfTen(ExtendedReal::FromInteger(1), static_cast<std::int16_t>(used));
  return (value * power).RoundToInteger() / power;
}

NumberText FormatNumber(const ExtendedReal& value, int significantDigits) {
  const int n = std::clamp(significantDigits, 1, kMaxSignificantDigits);
  return LayOut(GenerateDigits(value, n), n);
}

}  // namespace corvane
