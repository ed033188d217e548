// Proves the power table with exact big-integer arithmetic: each power entry
// is the extended value nearest to its power of ten, ties to even.
#include "dialogue/power_of_ten_table.hpp"

#include <gtest/gtest.h>

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {
namespace {

// A natural number in 32-bit limbs, least significant first: just what the
// proof needs.
class BigNatural {
 public:
  explicit BigNatural(std::uint64_t value) {
    for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
  }

  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  void ShiftLeft(std::uint32_t bits) {
    for (; bits >= 32; bits -= 32) limbs_.insert(limbs_.begin(), 0);
    for (; bits > 0; --bits) Multiply(2);
  }

  // this - smaller, for smaller <= this.
  BigNatural Minus(const BigNatural& smaller) const {
    BigNatural result = *this;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < result.limbs_.size(); ++i) {
      const std::uint32_t subtrahend = i < smaller.limbs_.size() ? smaller.limbs_[i] : 0;
      const std::int64_t digit = std::int64_t{result.limbs_[i]} - borrow - subtrahend;
      borrow = digit < 0 ? 1 : 0;
      result.limbs_[i] = static_cast<std::uint32_t>(digit + (borrow << 32));
    }
    result.Trim();
    return result;
  }

  std::strong_ordering operator<=>(const BigNatural& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() <=> other.limbs_.size();
    for (std::size_t i = limbs_.size(); i-- > 0;) {
      if (limbs_[i] != other.limbs_[i]) return limbs_[i] <=> other.limbs_[i];
    }
    return std::strong_ordering::equal;
  }
  bool operator==(const BigNatural& other) const { return (*this <=> other) == 0; }

 private:
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<std::uint32_t> limbs_;
};

BigNatural PowerOfTen(std::uint32_t exponent) {
  BigNatural power(1);
  for (std::uint32_t i = 0; i < exponent; ++i) power.Multiply(10);
  return power;
}

TEST(PowerOfTenTableTest, EachPowerEntryIsTheNearestExtendedValue) {
  for (std::size_t i = 0; i < kPowerOfTenTable.powers.size(); ++i) {
    const std::uint32_t decimalExponent = 8u << i;
    SCOPED_TRACE("10^" + std::to_string(decimalExponent));
    const ExtendedReal& entry = kPowerOfTenTable.powers[i];
    ASSERT_FALSE(entry.IsNegative());
    ASSERT_NE(entry.Significand() & ExtendedReal::kIntegerBit, 0u) << "not normalised";
    // The entry is significand * 2^q, one unit in its last place being 2^q.
    const std::int32_t q = entry.BiasedExponent() - ExtendedReal::kExponentBias - 63;
    BigNatural exact = PowerOfTen(decimalExponent);
    BigNatural entryValue(entry.Significand());
    if (q < 0) {
      // Only 10^8 and 10^16 are this small, and they must be exact.
      exact.ShiftLeft(static_cast<std::uint32_t>(-q));
      EXPECT_TRUE(entryValue == exact);
      continue;
    }
    entryValue.ShiftLeft(static_cast<std::uint32_t>(q));
    // Nearest: twice the distance is at most one unit, and a tie only on an
    // even significand.
    BigNatural twiceDistance = entryValue > exact ? entryValue.Minus(exact) : exact.Minus(entryValue);
    twiceDistance.Multiply(2);
    BigNatural unit(1);
    unit.ShiftLeft(static_cast<std::uint32_t>(q));
    EXPECT_TRUE(twiceDistance < unit || (twiceDistance == unit && entry.Significand() % 2 == 0));
  }
}

}  // namespace
}  // namespace corvane
