#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "filechannel/error_number.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

class PackingTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeErrorNumber(); }
};

struct DecodeCase {
  const char* label;
  std::string bytes;
  int width;  // 1, 2 or 4: which decoder
  std::int64_t expected;
};

std::int64_t Decode(const DecodeCase& c) {
  switch (c.width) {
    case 1:
      return DecodeUnsigned8(c.bytes);
    case 2:
      return DecodeInt16(c.bytes);
    default:
      return DecodeInt32(c.bytes);
  }
}

TEST_F(PackingTest, DecodersReadLowestByteFirstAndNeverSignExtendShortStrings) {
  const std::vector<DecodeCase> cases = {
      {"int32 lowest", "\x00\x00\x00\x80"s, 4, -2147483648LL},
      {"int32 highest", "\xFF\xFF\xFF\x7F"s, 4, 2147483647},
      {"int32 minus one", "\xFF\xFF\xFF\xFF"s, 4, -1},
      {"int32 of 3 bytes", "\xFF\xFF\xFF"s, 4, 16777215},
      {"int32 of 2 bytes", "\xFF\xFF"s, 4, 65535},
      {"int32 ignores a fifth byte", "\x01\x02\x03\x04\xFF"s, 4, 0x04030201},
      {"int16 minus one", "\xFF\xFF"s, 2, -1},
      {"int16 lowest", "\x00\x80"s, 2, -32768},
      {"int16 of 1 byte", "\xFF"s, 2, 255},
      {"int16 ignores a third byte", "\x34\x12\xFF"s, 2, 0x1234},
      {"unsigned8 of FF", "\xFF"s, 1, 255},
      {"unsigned8 ignores a second byte", "\x01\x01"s, 1, 1},
      {"unsigned8 of empty", ""s, 1, 0},
      {"int16 of empty", ""s, 2, 0},
      {"int32 of empty", ""s, 4, 0},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Decode(c), c.expected);
  }
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(PackingTest, EncodersGiveTwosComplementLowestByteFirst) {
  EXPECT_EQ(EncodeInt32(-1), "\xFF\xFF\xFF\xFF"s);
  EXPECT_EQ(EncodeInt32(16), "\x10\x00\x00\x00"s);
  EXPECT_EQ(EncodeInt32(std::numeric_limits<std::int32_t>::min()), "\x00\x00\x00\x80"s);
  EXPECT_EQ(EncodeInt16(-2), "\xFE\xFF"s);
  EXPECT_EQ(EncodeInt16(1), "\x01\x00"s);
  EXPECT_EQ(EncodeInt16(0x12345678), "\x78\x56"s) << "only the low 16 bits count";
}

TEST_F(PackingTest, SameBytesComparesLengthAndEveryByteAsItIs) {
  struct Case {
    const char* label;
    std::string first;
    std::string second;
    bool same;
  };
  const std::vector<Case> cases = {
      {"equal", "WAVE", "WAVE", true},
      {"case differs", "wave", "WAVE", false},
      {"prefix", "WAV", "WAVE", false},
      {"longer", "WAVE", "WAVE\x00"s, false},
      {"zero bytes count", "A\x00"s "B", "A\x00"s "B", true},
      {"zero byte differs", "A\x00"s, "A\x01"s, false},
      {"both empty", "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(SameBytes(c.first, c.second), c.same);
  }
}

TEST_F(PackingTest, CreatedArrayIsZeroFilledAndCellsCopyTheirBytes) {
  PackedArray array;
  CreateArray(array, 3, 3);
  ASSERT_TRUE(array.HasStorage());
  EXPECT_EQ(array.Count(), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(array.Storage()), array.ByteSize()), std::string(9, '\0'));
  for (int i = 0; i < 9; ++i) array.Storage()[i] = static_cast<std::uint8_t>(0xA0 + i);
  EXPECT_EQ(CellBytes(array, 1), "\xA3\xA4\xA5"s);
  EXPECT_EQ(DecodeInt32(CellBytes(array, 2)), 0xA8A7A6);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(PackingTest, CellBytesOutsideTheArrayIsEmpty) {
  PackedArray array;
  EXPECT_EQ(CellBytes(array, 0), "");
  CreateArray(array, 2, 4);
  EXPECT_EQ(CellBytes(array, -1), "");
  EXPECT_EQ(CellBytes(array, 2), "");
}

TEST_F(PackingTest, CreateArrayRefusesSizesItCannotHold) {
  struct Case {
    const char* label;
    std::int64_t count;
    int width;
  };
  const std::vector<Case> cases = {
      {"count 0", 0, 4},
      {"negative count", -1, 2},
      {"lowest count", std::numeric_limits<std::int64_t>::min(), 4},
      {"byte size one past 32 bits", 0x40000000, 4},
      {"3-byte cells one past 32 bits", 0x55555556, 3},
      {"count that overflows a 64-bit product", std::numeric_limits<std::int64_t>::max(), 4},
      {"unknown width", 10, 5},
      {"width 0", 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    PackedArray array;
    CreateArray(array, c.count, c.width);
    EXPECT_EQ(TakeErrorNumber(), 9);
    EXPECT_FALSE(array.HasStorage());
    EXPECT_EQ(array.Count(), 0);
  }
}

TEST_F(PackingTest, CreateArrayOnAnArrayWithStorageChangesNothing) {
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(1, -5);
  const std::uint8_t* storage = array.Storage();
  CreateArray(array, 100, 4);
  CreateArray(array, 0, 4);
  EXPECT_EQ(TakeErrorNumber(), 0) << "not even a bad count is looked at";
  EXPECT_EQ(array.Storage(), storage);
  EXPECT_EQ(array.Count(), 2);
  EXPECT_EQ(array.Width(), 2);
  EXPECT_EQ(array.Int16At(1), -5);
}

TEST_F(PackingTest, ReleasedArrayHasNoStorageAndCanBeCreatedAgain) {
  PackedArray array;
  ReleaseArray(array);
  EXPECT_FALSE(array.HasStorage());
  CreateArray(array, 4, 4);
  array.SetInt32At(3, -7);
  ReleaseArray(array);
  EXPECT_FALSE(array.HasStorage());
  EXPECT_EQ(array.Count(), 0);
  CreateArray(array, 5, 2);
  ASSERT_TRUE(array.HasStorage());
  EXPECT_EQ(array.Count(), 5);
  EXPECT_EQ(array.Int16At(4), 0);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
