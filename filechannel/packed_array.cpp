#include "filechannel/packed_array.hpp"

#include "filechannel/array_storage.hpp"
#include "filechannel/error_number.hpp"

namespace corvane {

namespace {

constexpr std::int64_t kLargestByteSize = 0xFFFFFFFF;  // a byte size must fit in 32 bits

// Unsigned little-endian value of the first `width` bytes; missing bytes are 0.
std::uint32_t LittleEndian(ByteView bytes, std::size_t width) {
  std::uint32_t value = 0;
  const std::size_t present = bytes.size() < width ? bytes.size() : width;
  for (std::size_t i = present; i-- > 0;) {
    value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
  }
  return value;
}

ByteString LittleEndianBytes(std::uint32_t value, std::size_t width) {
  ByteString bytes(width, '\0');
  for (std::size_t i = 0; i < width; ++i) {
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
  }
  return bytes;
}

}  // namespace

void PackedArray::FreeStorage::operator()(std::uint8_t* block) const { FreeArrayStorage(block); }

void CreateArray(PackedArray& array, std::int64_t count, int width) {
  if (array.HasStorage()) return;
  // Only widths 2, 3 and 4 exist. The size test divides instead of multiplying
  // so that no count, however large, can overflow it.
  const bool knownWidth = width >= 2 && width <= 4;
  if (count <= 0 || !knownWidth || count > kLargestByteSize / width) {
    SetErrorNumber(error_number::kBadArraySize);
    return;
  }
  const auto bytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(width);
  std::uint8_t* block = AllocateArrayStorage(bytes);
  if (block == nullptr) {
    SetErrorNumber(error_number::kOutOfMemory);
    return;
  }
  array.storage_.reset(block);
  array.count_ = static_cast<std::int32_t>(count);
  array.width_ = width;
}

void ReleaseArray(PackedArray& array) {
  array.storage_.reset();
  array.count_ = 0;
  array.width_ = 0;
}

ByteString CellBytes(const PackedArray& array, std::int32_t index) {
  // An index outside 0..N-1 (or an array without storage) has no cell to copy.
  if (index < 0 || index >= array.Count()) return {};
  const auto width = static_cast<std::size_t>(array.Width());
  const auto* cell = reinterpret_cast<const char*>(array.Storage()) + static_cast<std::size_t>(index) * width;
  return ByteString(cell, width);
}

std::uint8_t DecodeUnsigned8(ByteView bytes) { return static_cast<std::uint8_t>(LittleEndian(bytes, 1)); }

std::int16_t DecodeInt16(ByteView bytes) { return static_cast<std::int16_t>(LittleEndian(bytes, 2)); }

std::int32_t DecodeInt32(ByteView bytes) { return static_cast<std::int32_t>(LittleEndian(bytes, 4)); }

ByteString EncodeInt16(std::int32_t value) { return LittleEndianBytes(static_cast<std::uint32_t>(value), 2); }

ByteString EncodeInt32(std::int32_t value) { return LittleEndianBytes(static_cast<std::uint32_t>(value), 4); }

bool SameBytes(ByteView first, ByteView second) { return first == second; }

}  // namespace corvane
