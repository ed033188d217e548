#pragma once

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <limits>

#include "filechannel/file_service.hpp"
#include "native_file_service.hpp"

namespace corvane {

// The platform's real file service with faults a test can switch on: a disk that
// fills up after `writeRoom` more bytes (a write moves what still fits and
// fails with `fullError`), reads of more than `readLimit` bytes that fail
// with `readError` and move nothing, files whose length counts
// `phantomBytes` more than they hold, as if a sparse tail of that size, never
// read, followed their bytes, or whose length fails with `sizeError`. Every
// call can also leave the rounding mode upward, as a careless platform library
// might.
class FaultyFileService : public FileService {
 public:
  static constexpr std::uint32_t kUnlimited = std::numeric_limits<std::uint32_t>::max();

  std::uint32_t writeRoom = kUnlimited, readLimit = kUnlimited;
  PlatformError fullError = platform_error::kDiskFull, readError = 0, sizeError = 0;
  std::uint64_t phantomBytes = 0;
  bool switchRounding = false;

  OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition disposition) override {
    return Called(disk_.CreateFileA(name, access, disposition));
  }
  FileType GetFileType(FileHandle handle) override { return Called(disk_.GetFileType(handle)); }
  PlatformError SetFilePointer(FileHandle handle, std::int64_t offset) override {
    return Called(disk_.SetFilePointer(handle, offset));
  }
  FileSize GetFileSize(FileHandle handle) override {
    const FileSize size = disk_.GetFileSize(handle);
    return Called(size.error != 0 ? size : FileSize{size.bytes + phantomBytes, sizeError});
  }
  Transferred ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) override {
    return count > readLimit ? Transferred{0, readError} : Called(disk_.ReadFile(handle, buffer, count));
  }
  Transferred WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) override {
    Transferred written = disk_.WriteFile(handle, buffer, std::min(count, writeRoom));
    if (writeRoom != kUnlimited) writeRoom -= written.bytes;
    if (written.error == 0 && written.bytes < count) written.error = fullError;
    return Called(written);
  }
  PlatformError CloseHandle(FileHandle handle) override { return Called(disk_.CloseHandle(handle)); }
  PlatformError DeleteFileA(const char* name) override { return Called(disk_.DeleteFileA(name)); }
  std::optional<FileIdentity> IdentifyFile(const char* name) override { return Called(disk_.IdentifyFile(name)); }

 private:
  template <typename T>
  T Called(T answer) {
    if (switchRounding) std::fesetround(FE_UPWARD);
    return answer;
  }

  NativeFileService disk_;
};

}  // namespace corvane
