#pragma once

#include <cstdint>

#include "common/byte_string.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

class FileService;

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
  // Opens a file for reading and writing, creating it empty when missing and
  // falling back to read-only access when writing is refused.
  void OpenReadWrite(ByteView name);

  ByteString ReadBytes(std::uint32_t count);
  void Seek(std::int64_t position);
  void ReadArrayAt(std::int64_t position, PackedArray& array, std::int64_t count);
  void WriteBytes(ByteView bytes);
  void WriteValueAt(std::int64_t position, std::int32_t value, int width);
  void WriteArrayAt(std::int64_t position, const PackedArray& array);
  void Close();

  bool IsOpen() const;
  // The 1-based position of the next byte to transfer.
  std::int64_t Position() const;

  // Whether two names lead to the same file on disk, however each is spelled.
  // False when either name cannot be resolved to an existing file.
  bool SameFileOnDisk(ByteView first, ByteView second);

 private:
  // Filled in with the implementation.
};

}  // namespace corvane
