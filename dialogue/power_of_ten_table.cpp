#include "dialogue/power_of_ten_table.hpp"

namespace corvane {

// The power entries were computed with exact integer arithmetic: 10^k rounded
// to 64 significant bits, to nearest with ties to even. The tests prove each
// one the nearest value again.
constinit const PowerOfTenTable kPowerOfTenTable = {
    {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000},
    {
        ExtendedReal::FromBits(0x4019, 0xBEBC200000000000),  // 10^8
        ExtendedReal::FromBits(0x4034, 0x8E1BC9BF04000000),  // 10^16
        ExtendedReal::FromBits(0x4069, 0x9DC5ADA82B70B59E),  // 10^32
        ExtendedReal::FromBits(0x40D3, 0xC2781F49FFCFA6D5),  // 10^64
        ExtendedReal::FromBits(0x41A8, 0x93BA47C980E98CE0),  // 10^128
        ExtendedReal::FromBits(0x4351, 0xAA7EEBFB9DF9DE8E),  // 10^256
        ExtendedReal::FromBits(0x46A3, 0xE319A0AEA60E91C7),  // 10^512
        ExtendedReal::FromBits(0x4D48, 0xC976758681750C17),  // 10^1024
        ExtendedReal::FromBits(0x5A92, 0x9E8B3B5DC53D5DE5),  // 10^2048
        ExtendedReal::FromBits(0x7525, 0xC46052028A20979B),  // 10^4096
    },
    ExtendedReal::FromBits(0x403A, 0xDE0B6B3A76400000),  // 10^18
};

}  // namespace corvane
