#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "filechannel/file_service.hpp"

namespace corvane {

// One file held in memory behind the platform's file interface, so that the
// readers can be fed bytes without touching the disk. Any other name is
// missing (2); a second open while one is held is a sharing violation (32).
class MemoryFileService final : public FileService {
 public:
  static constexpr const char* kName = "input.wav";

  explicit MemoryFileService(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}

  OpenedFile CreateFileA(const char* name, FileAccess, FileDisposition) override {
    if (std::strcmp(name, kName) != 0) return {kInvalidFileHandle, platform_error::kFileNotFound};
    if (open_) return {kInvalidFileHandle, platform_error::kSharingViolation};
    open_ = true;
    pointer_ = 0;
    return {kHandle, 0};
  }
  FileType GetFileType(FileHandle) override { return FileType::kDisk; }
  PlatformError SetFilePointer(FileHandle handle, std::int64_t offset) override {
    if (!Holds(handle)) return platform_error::kInvalidHandle;
    if (offset < 0) return platform_error::kNegativeSeek;
    pointer_ = static_cast<std::uint64_t>(offset);
    return 0;
  }
  FileSize GetFileSize(FileHandle handle) override {
    if (!Holds(handle)) return {0, platform_error::kInvalidHandle};
    return {bytes_.size(), 0};
  }
  Transferred ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) override {
    ++reads_;
    if (!Holds(handle)) return {0, 6};
    const std::uint64_t available = pointer_ < bytes_.size() ? bytes_.size() - pointer_ : 0;
    const auto moved = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, available));
    if (moved == 0) return {0, 0};
    std::copy_n(bytes_.data() + pointer_, moved, buffer);
    pointer_ += moved;
    return {moved, 0};
  }
  Transferred WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) override {
    if (!Holds(handle)) return {0, 6};
    if (pointer_ + count > bytes_.size()) bytes_.resize(pointer_ + count);
    if (count == 0) return {0, 0};
    std::copy_n(buffer, count, bytes_.data() + pointer_);
    pointer_ += count;
    return {count, 0};
  }
  PlatformError CloseHandle(FileHandle handle) override {
    if (!Holds(handle)) return platform_error::kInvalidHandle;
    open_ = false;
    return 0;
  }
  PlatformError DeleteFileA(const char*) override { return platform_error::kAccessDenied; }
  std::optional<FileIdentity> IdentifyFile(const char* name) override {
    if (std::strcmp(name, kName) != 0) return std::nullopt;
    return FileIdentity{1, 1};
  }

  // How many reads were asked for so far: a reader that loops shows here.
  std::uint64_t Reads() const { return reads_; }

 private:
  static constexpr FileHandle kHandle = 1;

  bool Holds(FileHandle handle) const { return open_ && handle == kHandle; }

  std::vector<std::uint8_t> bytes_;
  std::uint64_t pointer_ = 0;
  bool open_ = false;
  std::uint64_t reads_ = 0;
};

}  // namespace corvane
