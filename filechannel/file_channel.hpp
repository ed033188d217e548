#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "common/byte_string.hpp"
#include "filechannel/file_service.hpp"
#include "filechannel/floating_point_guard.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// The run's one file channel: byte-exact, unbuffered, position-addressed access
// to at most one open file. Positions are 1-based: position 1 is the first byte.
// No operation stops the run; a failure sets the error number and the
// operation returns a harmless result (an empty byte string, nothing
// transferred, the channel left closed).
class FileChannel {
 public:
  explicit FileChannel(FileService& service);
  ~FileChannel();
  FileChannel(const FileChannel&) = delete;
  FileChannel& operator=(const FileChannel&) = delete;

  // Opens a file that must exist, for reading only: the open test of a name.
  void OpenExisting(ByteView name);
  // What an open for reading and writing does when the file is missing.
  enum class WhenMissing { kCreate, kFail };

  // Opens a file for reading and writing, falling back to read-only access
  // when writing is refused. A missing file is created empty, or, for a file
  // that is only to be read, the open fails as OpenExisting's does.
  void OpenReadWrite(ByteView name, WhenMissing whenMissing = WhenMissing::kCreate);

  ByteString ReadBytes(std::uint32_t count);
  void Seek(std::int64_t position);
  void ReadArrayAt(std::int64_t position, PackedArray& array, std::int64_t count);
  // Reads `bytes` bytes from `position` into `block` in one transfer, as
  // ReadArrayAt does into an array's storage: bytes past the end of the file
  // read as zero.
  void ReadBlockAt(std::int64_t position, std::uint8_t* block, std::uint32_t bytes);
  void WriteBytes(ByteView bytes);
  void WriteValueAt(std::int64_t position, std::int32_t value, int width);
  void WriteArrayAt(std::int64_t position, const PackedArray& array);
  void Close();

  // Removes a file by name; a failure sets the error number.
  void DeleteFile(ByteView name);

  bool IsOpen() const;
  // Whether the open that made the channel open created its file.
  bool CreatedOnOpen() const { return open_ && created_; }
  // The 1-based position of the next byte to transfer.
  std::int64_t Position() const;
  // The open disk file's length in bytes. Nothing for a closed channel (52),
  // a stream, whose length is unknown (54), or a failed platform call.
  std::optional<std::uint64_t> Length();

  // Whether two names lead to the same file on disk, however each is spelled.
  // False when either name cannot be resolved to an existing file.
  bool SameFileOnDisk(ByteView first, ByteView second);

 private:
  enum class Mode { kOpenExisting, kReadWrite };

  void Open(ByteView name, Mode mode, WhenMissing whenMissing);
  bool Prepare(Mode mode);
  // Checks shared by the positioned transfers, then moves the platform's file
  // pointer to the given position; false when nothing may be transferred.
  bool ReachPosition(std::int64_t position);
  void ReadInto(std::uint8_t* buffer, std::uint32_t count);
  void WriteFrom(const std::uint8_t* buffer, std::uint32_t count);
  void Fail(PlatformError code);

  // Runs one platform call with the floating-point environment kept.
  template <typename Call>
  auto Platform(Call&& call) {
    const FloatingPointGuard guard;
    return call();
  }

  FileService& service_;
  bool open_ = false;
  FileHandle handle_ = kInvalidFileHandle;
  Mode mode_ = Mode::kOpenExisting;
  FileAccess access_ = FileAccess::kRead;
  bool diskFile_ = false;
  bool created_ = false;
  std::uint64_t position_ = 0;  // 0-based offset of the next byte
  // Receives the first bytes of a file opened by OpenExisting; the read only
  // proves that the start of the file can be read.
  std::array<std::uint8_t, 128> readAhead_{};
};

}  // namespace corvane
