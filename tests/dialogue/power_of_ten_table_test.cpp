// Proves the power table against the C library's decimal conversion, which
// rounds a decimal string to the nearest long double, ties to even, exactly.
#include "dialogue/power_of_ten_table.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace corvane {
namespace {

TEST(PowerOfTenTableTest, EachPowerEntryIsTheNearestExtendedValue) {
  if (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double is not the 80-bit format here, so it cannot serve as the oracle";
  }
  for (std::size_t i = 0; i < kPowerOfTenTable.powers.size(); ++i) {
    const std::string decimal = "1e" + std::to_string(8u << i);
    SCOPED_TRACE(decimal);
    const long double nearest = std::strtold(decimal.c_str(), nullptr);
    std::uint64_t significand;
    std::uint16_t signExponent;
    std::memcpy(&significand, &nearest, 8);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&nearest) + 8, 2);
    EXPECT_EQ(kPowerOfTenTable.powers[i].Significand(), significand);
    EXPECT_EQ(kPowerOfTenTable.powers[i].SignExponent(), signExponent);
  }
}

}  // namespace
}  // namespace corvane
