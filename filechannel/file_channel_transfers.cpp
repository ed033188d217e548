#include <algorithm>
#include <limits>
#include <new>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"

namespace corvane {

namespace {

// The 0-based offset of a 1-based position. Positions of 0 and below give
// negative offsets, which the platform refuses; the lowest position stays
// negative instead of overflowing.
std::int64_t OffsetOf(std::int64_t position) {
  return position == std::numeric_limits<std::int64_t>::min() ? position : position - 1;
}

constexpr std::uint64_t kLargestTransfer = std::numeric_limits<std::uint32_t>::max();

}  // namespace

ByteString FileChannel::ReadBytes(std::uint32_t count) {
  if (!open_) {
    SetErrorNumber(error_number::kChannelNotOpen);
    return {};
  }
  if (mode_ == Mode::kOpenExisting) {
    SetErrorNumber(error_number::kWrongMode);
    return {};
  }
  ByteString bytes;
  try {
    bytes.resize(count);
  } catch (const std::bad_alloc&) {
    SetErrorNumber(error_number::kOutOfMemory);
    return {};
  }
  const Transferred read =
      Platform([&] { return service_.ReadFile(handle_, reinterpret_cast<std::uint8_t*>(bytes.data()), count); });
  if (read.error != 0) {
    Fail(read.error);
    return {};
  }
  bytes.resize(read.bytes);
  position_ += read.bytes;
  return bytes;
}

void FileChannel::Seek(std::int64_t position) {
  if (!open_) {
    SetErrorNumber(error_number::kChannelNotOpen);
    return;
  }
  if (!diskFile_) {
    SetErrorNumber(error_number::kWrongMode);
    return;
  }
  const std::int64_t offset = OffsetOf(position);
  if (const PlatformError error = Platform([&] { return service_.SetFilePointer(handle_, offset); }); error != 0) {
    Fail(error);
    return;
  }
  position_ = static_cast<std::uint64_t>(offset);
}

bool FileChannel::ReachPosition(std::int64_t position) {
  if (!open_) {
    SetErrorNumber(error_number::kChannelNotOpen);
    return false;
  }
  if (mode_ == Mode::kOpenExisting || !diskFile_) {
    SetErrorNumber(error_number::kWrongMode);
    return false;
  }
  if (position == 0) {
    SetErrorNumber(error_number::kPositionZero);
    return false;
  }
  const std::int64_t offset = OffsetOf(position);
  if (const PlatformError error = Platform([&] { return service_.SetFilePointer(handle_, offset); }); error != 0) {
    Fail(error);
    return false;
  }
  position_ = static_cast<std::uint64_t>(offset);
  return true;
}

void FileChannel::ReadArrayAt(std::int64_t position, PackedArray& array, std::int64_t count) {
  const std::int64_t cells = std::clamp<std::int64_t>(count, 0, array.Count());
  ReadBlockAt(position, array.Storage(), static_cast<std::uint32_t>(cells * array.Width()));
}

void FileChannel::ReadBlockAt(std::int64_t position, std::uint8_t* block, std::uint32_t bytes) {
  if (!ReachPosition(position)) return;
  ReadInto(block, bytes);
}

void FileChannel::WriteValueAt(std::int64_t position, std::int32_t value, int width) {
  if (width < 1 || width > 4) {
    SetErrorNumber(error_number::kInternalFailure);
    return;
  }
  if (!ReachPosition(position)) return;
  const auto bits = static_cast<std::uint32_t>(value);
  std::uint8_t bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  WriteFrom(bytes, static_cast<std::uint32_t>(width));
}

void FileChannel::WriteArrayAt(std::int64_t position, const PackedArray& array) {
  if (!ReachPosition(position)) return;
  WriteFrom(array.Storage(), static_cast<std::uint32_t>(array.ByteSize()));
}

void FileChannel::WriteBytes(ByteView bytes) {
  if (!open_) {
    SetErrorNumber(error_number::kChannelNotOpen);
    return;
  }
  if (mode_ == Mode::kOpenExisting) {
    SetErrorNumber(error_number::kWrongMode);
    return;
  }
  // One platform write moves at most 4 GiB - 1 bytes; a longer string is
  // refused whole rather than cut.
  if (bytes.size() > kLargestTransfer) {
    SetErrorNumber(error_number::kInternalFailure);
    return;
  }
  WriteFrom(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
}

// One platform read at the current position. Bytes beyond the end of the file
// read as zeros, so the buffer never keeps stale data; the end is no failure.
void FileChannel::ReadInto(std::uint8_t* buffer, std::uint32_t count) {
  const Transferred read = Platform([&] { return service_.ReadFile(handle_, buffer, count); });
  if (read.error != 0) {
    Fail(read.error);
    return;
  }
  if (read.bytes < count) std::fill(buffer + read.bytes, buffer + count, std::uint8_t{0});
  position_ += read.bytes;
}

// One platform write at the current position. A write that moves fewer bytes
// than asked has lost data, which is reported as a full disk.
void FileChannel::WriteFrom(const std::uint8_t* buffer, std::uint32_t count) {
  const Transferred written = Platform([&] { return service_.WriteFile(handle_, buffer, count); });
  if (written.error != 0) {
    Fail(written.error);
    return;
  }
  position_ += written.bytes;
  if (written.bytes < count) SetErrorNumber(error_number::kDiskFull);
}

}  // namespace corvane
