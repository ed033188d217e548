#include "filechannel/packed_array.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "filechannel/error_number.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

// Decoders read lowest byte first and never sign-extend a short string;
// encoders write two's complement, lowest byte first.
TEST(Packing, DecodersAndEncodersAtTheirBoundaries) {
  const std::tuple<const char*, std::int64_t, std::int64_t> cases[] = {
      // label, decoded, expected
      {"int32 lowest", DecodeInt32("\x00\x00\x00\x80"s), -2147483648LL},
      {"int32 of 3 bytes", DecodeInt32("\xFF\xFF\xFF"s), 16777215},
      {"int16 minus one", DecodeInt16("\xFF\xFF"s), -1},
      {"int16 of 1 byte", DecodeInt16("\xFF"s), 255},
      {"unsigned8 of FF", DecodeUnsigned8("\xFF"s), 255},
  };
  for (const auto& [label, decoded, expected] : cases) EXPECT_EQ(decoded, expected) << label;
  EXPECT_EQ(EncodeInt32(std::numeric_limits<std::int32_t>::min()), "\x00\x00\x00\x80"s);
  EXPECT_EQ(EncodeInt16(-2), "\xFE\xFF"s);
  EXPECT_EQ(EncodeInt16(0x12345678), "\x78\x56"s) << "only the low 16 bits count";
}

// Storage comes zero-filled, and only for a byte size that fits in 32 bits.
// An array that has storage keeps it: not even a bad count is looked at.
TEST(Packing, CreateArrayRefusesSizesItCannotHoldWith9) {
  TakeErrorNumber();
  const std::tuple<const char*, std::int64_t, int> cases[] = {
      // label, count, width
      {"count 0", 0, 4},
      {"negative count", -1, 2},
      {"byte size one past 32 bits", 0x40000000, 4},
      {"3-byte cells one past 32 bits", 0x55555556, 3},
      {"count that overflows a 64-bit product", std::numeric_limits<std::int64_t>::max(), 4},
      {"unknown width", 10, 5},
  };
  for (const auto& [label, count, width] : cases) {
    PackedArray array;
    CreateArray(array, count, width);
    EXPECT_EQ(TakeErrorNumber(), 9) << label;
    EXPECT_FALSE(array.HasStorage()) << label;
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
