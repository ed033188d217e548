#include "filechannel/array_storage.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace corvane {
namespace {

// Sizes on both sides of the point where blocks stop coming from the heap and
// are mapped from the kernel instead (2 MiB).
constexpr std::size_t kBlockSizes[] = {1, 4099, (std::size_t{2} << 20) - 1, std::size_t{2} << 20,
                                       (std::size_t{20} << 20) + 3};

bool AllBytesAre(const std::uint8_t* block, std::size_t bytes, std::uint8_t value) {
  return std::all_of(block, block + bytes, [value](std::uint8_t byte) { return byte == value; });
}

// Every block is zero-filled, even where a block of the same size was just
// filled and returned, and every byte up to the last is the caller's: two
// blocks alive at once never share one.
TEST(ArrayStorage, BlocksAreZeroFilledAndWholeEvenWhenMemoryIsReused) {
  for (const std::size_t bytes : kBlockSizes) {
    SCOPED_TRACE("block of " + std::to_string(bytes) + " bytes");
    std::uint8_t* first = AllocateArrayStorage(bytes);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(AllBytesAre(first, bytes, 0));
    std::fill(first, first + bytes, std::uint8_t{0xFF});
    FreeArrayStorage(first);

    std::uint8_t* second = AllocateArrayStorage(bytes);
    std::uint8_t* third = AllocateArrayStorage(bytes);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(AllBytesAre(second, bytes, 0)) << "a reused block must be zero again";
    std::fill(second, second + bytes, std::uint8_t{0x5A});
    std::fill(third, third + bytes, std::uint8_t{0xA5});
    EXPECT_TRUE(AllBytesAre(second, bytes, 0x5A));
    FreeArrayStorage(second);
    FreeArrayStorage(third);
  }
}

// A size no memory can hold, including one whose bookkeeping would overflow,
// gives no block rather than a short one.
TEST(ArrayStorage, SizesBeyondTheAddressSpaceGiveNoBlock) {
  const std::size_t largest = std::numeric_limits<std::size_t>::max();
  for (const std::size_t bytes : {largest, largest - 100, largest / 2}) {
    SCOPED_TRACE(bytes);
    std::uint8_t* block = AllocateArrayStorage(bytes);
    EXPECT_EQ(block, nullptr);
    FreeArrayStorage(block);
  }
}

}  // namespace
}  // namespace corvane
