#pragma once

#include <array>
#include <cstdint>

#include "common/extended_real.hpp"

namespace corvane {

// The powers of ten the number display scales with. 10^m for 0 <= m <= 4096
// is the integer entry 10^(m mod 8) times the power entries of the bits set
// in m div 8.
struct PowerOfTenTable {
  // 10^0 to 10^7, exact.
  std::array<std::uint32_t, 8> integers;
  // Entry i is 10^(8 * 2^i), 10^8 to 10^4096: the extended value nearest to
  // it (10^8 and 10^16 are exact).
  std::array<ExtendedReal, 10> powers;
  // 10^18, exact: digit generation keeps its integer below this.
  ExtendedReal upperBound;
};

extern const PowerOfTenTable kPowerOfTenTable;

}  // namespace corvane
