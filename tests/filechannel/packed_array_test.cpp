#include "filechannel/packed_array.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "filechannel/error_number.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

// Decoders read lowest byte first and never sign-extend a short string;
// encoders write two's complement, lowest byte first, of the low bits only.
TEST(Packing, DecodersAndEncodersAtTheirBoundaries) {
  EXPECT_EQ(DecodeInt32("\x00\x00\x00\x80"s), -2147483648LL);
  EXPECT_EQ(DecodeInt32("\xFF\xFF\xFF"s), 16777215);
  EXPECT_EQ(DecodeInt16("\xFF\xFF"s), -1);
  EXPECT_EQ(DecodeInt16("\xFF"s), 255);
  EXPECT_EQ(DecodeUnsigned8("\xFF"s), 255);
  EXPECT_EQ(EncodeInt32(std::numeric_limits<std::int32_t>::min()), "\x00\x00\x00\x80"s);
  EXPECT_EQ(EncodeInt16(-2), "\xFE\xFF"s);
  EXPECT_EQ(EncodeInt16(0x12345678), "\x78\x56"s);
}

// Storage comes zero-filled, and only for a byte size that fits in 32 bits:
// count 0, a negative count, a byte size one past 32 bits (in 4- and 3-byte
// cells), a count whose 64-bit product overflows and an unknown width are
// refused. An array that has storage keeps it: not even a bad count is looked at.
TEST(Packing, CreateArrayRefusesSizesItCannotHoldWith9) {
  TakeErrorNumber();
  const std::pair<std::int64_t, int> cases[] = {
      {0, 4}, {-1, 2}, {0x40000000, 4}, {0x55555556, 3}, {std::numeric_limits<std::int64_t>::max(), 4}, {10, 5}};
  for (const auto& [count, width] : cases) {
    PackedArray array;
    CreateArray(array, count, width);
    EXPECT_EQ(TakeErrorNumber(), 9) << count << " cells of " << width;
    EXPECT_FALSE(array.HasStorage()) << count << " cells of " << width;
  }
  PackedArray array;
  CreateArray(array, 2, 3);
  EXPECT_EQ(CellBytes(array, 0) + CellBytes(array, 1), std::string(6, '\0'));
  array.Storage()[5] = 0x7F;
  CreateArray(array, 0, 4);
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(CellBytes(array, 1), "\0\0\x7F"s);
  EXPECT_EQ(CellBytes(array, 2), "") << "no cell outside the array";
}

}  // namespace
}  // namespace corvane
