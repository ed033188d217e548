#pragma once

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <limits>

#include "filechannel/file_service.hpp"
#include "native_file_service.hpp"

// The platform's real file service with faults a test can switch on: a disk that
// fills up after `writeRoom` more bytes (a write moves what still fits and
// fails with `fullError`), reads of more than `readLimit` bytes that fail
// with `readError` and move nothing, files whose length counts
// `phantomBytes` more than they hold, as if a sparse tail of that size, never
// read, followed their bytes, or whose length fails with `sizeError`. Every
// call can also leave the rounding mode upward, as a careless platform library
// might.
class FaultyFileService : public corvane::FileService {
 public:
  static constexpr std::uint32_t kUnlimited = std::numeric_limits<std::uint32_t>::max();

  std::uint32_t writeRoom = kUnlimited;
  corvane::PlatformError fullError = corvane::platform_error::kDiskFull;
  std::uint32_t readLimit = kUnlimited;
  corvane::PlatformError readError = 0;
  std::uint64_t phantomBytes = 0;
  corvane::PlatformError sizeError = 0;
  bool switchRounding = false;

  corvane::OpenedFile CreateFileA(const char* name, corvane::FileAccess access,
                                  corvane::FileDisposition disposition) override {
    return Called(disk_.CreateFileA(name, access, disposition));
  }
  corvane::FileType GetFileType(corvane::FileHandle handle) override { return Called(disk_.GetFileType(handle)); }
  corvane::PlatformError SetFilePointer(corvane::FileHandle handle, std::int64_t offset) override {
    return Called(disk_.SetFilePointer(handle, offset));
  }
  corvane::FileSize GetFileSize(corvane::FileHandle handle) override {
    corvane::FileSize size = disk_.GetFileSize(handle);
    if (size.error == 0) size = {size.bytes + phantomBytes, sizeError};
    return Called(size);
  }
  corvane::Transferred ReadFile(corvane::FileHandle handle, std::uint8_t* buffer, std::uint32_t count) override {
    if (count > readLimit) return {0, readError};
    return Called(disk_.ReadFile(handle, buffer, count));
  }
  corvane::Transferred WriteFile(corvane::FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) override {
    const std::uint32_t fits = std::min(count, writeRoom);
    corvane::Transferred written = disk_.WriteFile(handle, buffer, fits);
    if (writeRoom != kUnlimited) writeRoom -= written.bytes;
    if (written.error == 0 && fits < count) written.error = fullError;
    return Called(written);
  }
  corvane::PlatformError CloseHandle(corvane::FileHandle handle) override { return Called(disk_.CloseHandle(handle)); }
  corvane::PlatformError DeleteFileA(const char* name) override { return Called(disk_.DeleteFileA(name)); }
  std::optional<corvane::FileIdentity> IdentifyFile(const char* name) override {
    return Called(disk_.IdentifyFile(name));
  }

 private:
  template <typename T>
  T Called(T answer) {
    if (switchRounding) std::fesetround(FE_UPWARD);
    return answer;
  }

  NativeFileService disk_;
};
