#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/byte_string.hpp"

namespace corvane {

// N elements of one fixed width (2, 3 or 4 bytes), stored back to back from
// index 0, each lowest byte first. The storage is byte for byte the layout of a
// file's sample data, so a whole array moves to or from a file in one transfer.
// An array is without storage until CreateArray succeeds and after
// ReleaseArray; without storage it has no elements.
class PackedArray {
 public:
  PackedArray() = default;
  PackedArray(PackedArray&&) noexcept = default;
  PackedArray& operator=(PackedArray&&) noexcept = default;
  PackedArray(const PackedArray&) = delete;
  PackedArray& operator=(const PackedArray&) = delete;

  bool HasStorage() const { return storage_ != nullptr; }
  std::int32_t Count() const { return count_; }
  int Width() const { return width_; }
  std::size_t ByteSize() const { return static_cast<std::size_t>(count_) * static_cast<std::size_t>(width_); }
  std::uint8_t* Storage() { return storage_.get(); }
  const std::uint8_t* Storage() const { return storage_.get(); }

 private:
  friend void CreateArray(PackedArray& array, std::int64_t count, int width);
  friend void ReleaseArray(PackedArray& array);

  struct FreeStorage {
    void operator()(std::uint8_t* block) const;
  };
  std::unique_ptr<std::uint8_t[], FreeStorage> storage_;
  std::int32_t count_ = 0;
  int width_ = 0;
};

// The value packing's operations, under the design's own names: arrays are
// made and freed, cells read as bytes, and values decoded from and encoded to
// the bytes of a file or a cell.

// Gives the array zero-filled storage for `count` elements of `width` bytes.
// An array that already has storage is left exactly as it is. A count of 0 or
// less, or a byte size beyond 32 bits, sets error number 9; no memory sets 7.
void CreateArray(PackedArray& array, std::int64_t count, int width);

// Frees the storage; the array can be created again. Without storage: nothing.
void ReleaseArray(PackedArray& array);

// A copy of the `Width()` bytes of element `index`, in storage order.
ByteString CellBytes(const PackedArray& array, std::int32_t index);

// Decoders read the first 1, 2 or 4 bytes, lowest first, and ignore the rest.
// Missing bytes of a short string are high-order zeros: nothing is
// sign-extended, so three bytes FF FF FF decode under DecodeInt32 as 16777215.
std::uint8_t DecodeUnsigned8(ByteView bytes);
std::int16_t DecodeInt16(ByteView bytes);
std::int32_t DecodeInt32(ByteView bytes);

// The low 16 or all 32 bits of the value in two's complement, lowest byte first.
ByteString EncodeInt16(std::int32_t value);
ByteString EncodeInt32(std::int32_t value);

// True when both strings have the same length and the same byte everywhere:
// exactly ==, kept under the packing's own name.
bool SameBytes(ByteView first, ByteView second);

}  // namespace corvane
