// Proves the power table against the C library's decimal conversion, which
// rounds a decimal string to the nearest long double, ties to even, exactly.
// Built only where long double is the x87 80-bit format (tests/CMakeLists.txt).
#include "dialogue/power_of_ten_table.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace corvane {
namespace {

TEST(PowerOfTenTableTest, EachPowerEntryIsTheNearestExtendedValue) {
  for (std::size_t i = 0; i < kPowerOfTenTable.powers.size(); ++i) {
    const long double nearest = std::strtold(("1e" + std::to_string(8u << i)).c_str(), nullptr);
    std::uint64_t significand;
    std::uint16_t signExponent;
    std::memcpy(&significand, &nearest, 8);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&nearest) + 8, 2);
    EXPECT_EQ(kPowerOfTenTable.powers[i].Significand(), significand) << "1e" << (8u << i);
    EXPECT_EQ(kPowerOfTenTable.powers[i].SignExponent(), signExponent) << "1e" << (8u << i);
  }
}

}  // namespace
}  // namespace corvane
