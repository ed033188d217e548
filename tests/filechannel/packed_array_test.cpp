#include "filechannel/packed_array.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "filechannel/error_number.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(Packing, DecodersReadLowestByteFirstAndNeverSignExtendShortStrings) {
  const struct {
    const char* label;
    std::int64_t decoded, expected;
  } cases[] = {
      {"int32 lowest", DecodeInt32("\x00\x00\x00\x80"s), -2147483648LL},
      {"int32 of 3 bytes", DecodeInt32("\xFF\xFF\xFF"s), 16777215},
      {"int32 ignores a fifth byte", DecodeInt32("\x01\x02\x03\x04\xFF"s), 0x04030201},
      {"int16 minus one", DecodeInt16("\xFF\xFF"s), -1},
      {"int16 of 1 byte", DecodeInt16("\xFF"s), 255},
      {"unsigned8 of FF", DecodeUnsigned8("\xFF"s), 255},
      {"int32 of empty", DecodeInt32(""), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.decoded, c.expected);
  }
}

TEST(Packing, EncodersGiveTwosComplementLowestByteFirst) {
  EXPECT_EQ(EncodeInt32(-1), "\xFF\xFF\xFF\xFF"s);
  EXPECT_EQ(EncodeInt32(std::numeric_limits<std::int32_t>::min()), "\x00\x00\x00\x80"s);
  EXPECT_EQ(EncodeInt16(-2), "\xFE\xFF"s);
  EXPECT_EQ(EncodeInt16(0x12345678), "\x78\x56"s) << "only the low 16 bits count";
}

TEST(Packing, CreatedArrayIsZeroFilledAndCellsCopyTheirBytes) {
  PackedArray array;
  CreateArray(array, 3, 3);
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(array.Storage()), array.ByteSize()), std::string(9, '\0'));
  for (int i = 0; i < 9; ++i) array.Storage()[i] = static_cast<std::uint8_t>(0xA0 + i);
  EXPECT_EQ(CellBytes(array, 1), "\xA3\xA4\xA5"s);
  EXPECT_EQ(CellBytes(array, 3), "") << "no cell outside the array";
}

TEST(Packing, CreateArrayRefusesSizesItCannotHoldWith9) {
  TakeErrorNumber();
  const struct {
    const char* label;
    std::int64_t count;
    int width;
  } cases[] = {
      {"count 0", 0, 4},
      {"negative count", -1, 2},
      {"byte size one past 32 bits", 0x40000000, 4},
      {"3-byte cells one past 32 bits", 0x55555556, 3},
      {"count that overflows a 64-bit product", std::numeric_limits<std::int64_t>::max(), 4},
      {"unknown width", 10, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    PackedArray array;
    CreateArray(array, c.count, c.width);
    EXPECT_EQ(TakeErrorNumber(), 9);
    EXPECT_FALSE(array.HasStorage());
  }
  // An array that has storage keeps it: not even a bad count is looked at.
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(1, -5);
  CreateArray(array, 0, 4);
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(array.ByteSize(), 4u);
  EXPECT_EQ(array.Int16At(1), -5);
}

}  // namespace
}  // namespace corvane
