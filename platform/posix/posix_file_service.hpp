#pragma once

#include <cstddef>

#include "filechannel/file_service.hpp"

namespace corvane {

// The file service over POSIX descriptors. Names arrive in code page 437 and
// reach the system as UTF-8. A regular file is held with an exclusive
// advisory lock, so a second open of it (from this process or any other that
// locks) fails with a sharing violation, as an open without sharing does on
// Windows. Directories are refused with access denied. Anything that is not a
// regular file is a stream.
class PosixFileService final : public FileService {
 public:
  // The most bytes one read or write system call is asked to move; larger
  // transfers are made of several calls.
  static constexpr std::size_t kDefaultChunkBytes = std::size_t{1} << 30;

  explicit PosixFileService(std::size_t chunkBytes = kDefaultChunkBytes);

  OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition disposition) override;
  FileType GetFileType(FileHandle handle) override;
  PlatformError SetFilePointer(FileHandle handle, std::int64_t offset) override;
  FileSize GetFileSize(FileHandle handle) override;
  Transferred ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) override;
  Transferred WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) override;
  PlatformError CloseHandle(FileHandle handle) override;
  PlatformError DeleteFileA(const char* name) override;
  std::optional<FileIdentity> IdentifyFile(const char* name) override;

 private:
  std::size_t chunkBytes_;
};

}  // namespace corvane
