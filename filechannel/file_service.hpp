#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

// A platform error code in the Windows numbering: 0 means success, 2 file not
// found, 3 path not found, 5 access denied, 32 sharing violation, 112 disk
// full, 131 negative seek, and so on. Every platform reports in these codes, so
// one table turns them into error numbers.
using PlatformError = std::uint32_t;

// The codes the platforms here report, by their Windows names.
namespace platform_error {
inline constexpr PlatformError kInvalidFunction = 1;
inline constexpr PlatformError kFileNotFound = 2;
inline constexpr PlatformError kPathNotFound = 3;
inline constexpr PlatformError kTooManyOpenFiles = 4;
inline constexpr PlatformError kAccessDenied = 5;
inline constexpr PlatformError kInvalidHandle = 6;
inline constexpr PlatformError kNotEnoughMemory = 8;
inline constexpr PlatformError kWriteProtect = 19;
inline constexpr PlatformError kBadUnit = 20;
inline constexpr PlatformError kGeneralFailure = 31;
inline constexpr PlatformError kSharingViolation = 32;
inline constexpr PlatformError kInvalidParameter = 87;
inline constexpr PlatformError kDiskFull = 112;
inline constexpr PlatformError kNegativeSeek = 131;
inline constexpr PlatformError kFilenameTooLong = 206;
}  // namespace platform_error

// An open file as the platform knows it; kInvalidFileHandle stands for none,
// as INVALID_HANDLE_VALUE does.
using FileHandle = std::uintptr_t;
inline constexpr FileHandle kInvalidFileHandle = ~FileHandle{0};

enum class FileAccess { kRead, kReadWrite };

enum class FileDisposition {
  kOpenExisting,  // fail when the file is missing
  kOpenAlways,    // open the file when present, else create it empty
};

// The answer of GetFileType, in its numbering. Only kDisk can be positioned.
enum class FileType : std::uint32_t { kUnknown = 0, kDisk = 1, kCharacter = 2, kPipe = 3 };

struct OpenedFile {
  FileHandle handle = kInvalidFileHandle;  // kInvalidFileHandle when the open failed
  PlatformError error = 0;
  bool created = false;  // the open made the file: it did not exist before
};

// The length of an open file in bytes, or the error that kept it unknown.
struct FileSize {
  std::uint64_t bytes = 0;
  PlatformError error = 0;
};

struct Transferred {
  std::uint32_t bytes = 0;  // moved before the end of file or the error
  PlatformError error = 0;
};

// Who a named file is on disk: the device or volume and the file's index on it.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The platform's file interface, one operation per platform call. Files are
// opened without sharing: while one open holds a file, any other open of it
// fails with a sharing violation (32). Reads and writes move their whole count
// unless the end of file or an error stops them, and leave the file pointer
// after the last byte moved.
class FileService {
 public:
  virtual ~FileService() = default;

  // `name` is zero-terminated and goes to the platform unchanged. (Named after
  // the ANSI entry point: windows.h makes a bare CreateFile a macro.)
  virtual OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition disposition) = 0;
  virtual FileType GetFileType(FileHandle handle) = 0;
  // Moves the file pointer to `offset` bytes from the beginning; a negative
  // offset fails with 131.
  virtual PlatformError SetFilePointer(FileHandle handle, std::int64_t offset) = 0;
  // The length of an open disk file; a stream has none that counts.
  virtual FileSize GetFileSize(FileHandle handle) = 0;
  virtual Transferred ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) = 0;
  virtual Transferred WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) = 0;
  virtual PlatformError CloseHandle(FileHandle handle) = 0;
  // Removes the file `name` (zero-terminated) from its folder.
  virtual PlatformError DeleteFileA(const char* name) = 0;
  // The identity of the existing file `name` (zero-terminated), or nullopt when
  // it cannot be had.
  virtual std::optional<FileIdentity> IdentifyFile(const char* name) = 0;
};

}  // namespace corvane
