#include <gtest/gtest.h>
#include <xmmintrin.h>

#include "platform/platform.hpp"

namespace corvane {
namespace {

TEST(WindowsPlatform, FloatingPointStartsAt64BitsRoundingToNearestWithEveryExceptionMasked) {
  std::uint16_t control = 0x0A7E;  // x87: a 53-bit significand, rounding up, the invalid operation unmasked
  asm volatile("fldcw %0" : : "m"(control));
  _mm_setcsr(0x3F00);  // SSE: rounding down, the invalid operation unmasked
  SetUpFloatingPoint();
  asm volatile("fnstcw %0" : "=m"(control));
  EXPECT_EQ(std::pair(control, _mm_getcsr() & 0x7F80u), std::pair(std::uint16_t{0x037F}, 0x1F80u));
}

}  // namespace
}  // namespace corvane
