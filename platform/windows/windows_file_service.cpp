#include "platform/windows/windows_file_service.hpp"

#include <windows.h>

namespace corvane {
namespace {

// SEM_FAILCRITICALERRORS with SEM_NOOPENFILEERRORBOX.
constexpr UINT kErrorMode = 0x8001;

HANDLE ToHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// The answer of one platform call and the thread's last error after it.
template <typename Answer>
struct Called {
  Answer answer;
  DWORD lastError;
};

// Makes one call the way every file call is made: the error mode set for the
// call and put back after it, the last error cleared before the call and read
// right after it.
template <typename Call>
auto CallPlatform(Call&& call) -> Called<decltype(call())> {
  const UINT previousMode = ::SetErrorMode(kErrorMode);
  ::SetLastError(0);
  const auto answer = call();
  const DWORD lastError = ::GetLastError();
  ::SetErrorMode(previousMode);
  return {answer, lastError};
}

// A call has failed when it left a last error. One that says it failed and
// left none still failed; it is reported as an invalid function (1), an error
// the channel counts among the other failures.
PlatformError Failure(BOOL succeeded, DWORD lastError) {
  if (lastError != 0) return lastError;
  return succeeded ? 0 : ERROR_INVALID_FUNCTION;
}

}  // namespace

OpenedFile WindowsFileService::CreateFileA(const char* name, FileAccess access, FileDisposition disposition) {
  const DWORD desiredAccess = access == FileAccess::kReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD creation = disposition == FileDisposition::kOpenAlways ? OPEN_ALWAYS : OPEN_EXISTING;
  const auto [handle, lastError] = CallPlatform(
      [&] { return ::CreateFileA(name, desiredAccess, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr); });
  // CreateFileA alone fails by its handle: on success the last error may
  // still say ERROR_ALREADY_EXISTS, which tells that OPEN_ALWAYS found the file.
  if (handle == INVALID_HANDLE_VALUE) return {kInvalidFileHandle, lastError != 0 ? lastError : ERROR_INVALID_FUNCTION};
  const bool created = disposition == FileDisposition::kOpenAlways && lastError != ERROR_ALREADY_EXISTS;
  return {reinterpret_cast<FileHandle>(handle), 0, created};
}

FileType WindowsFileService::GetFileType(FileHandle handle) {
  // The answer counts as it comes, whatever the last error says.
  return static_cast<FileType>(CallPlatform([&] { return ::GetFileType(ToHandle(handle)); }).answer);
}

PlatformError WindowsFileService::SetFilePointer(FileHandle handle, std::int64_t offset) {
  // The distance's high part goes by address, so that offsets past 2 GiB
  // reach the file; a negative distance fails with ERROR_NEGATIVE_SEEK. The
  // answer's low part may be 0xFFFFFFFF at a valid position too: only the last
  // error tells a failure.
  LONG high = static_cast<LONG>(offset >> 32);
  return CallPlatform([&] {
           return ::SetFilePointer(ToHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
         })
      .lastError;
}

FileSize WindowsFileService::GetFileSize(FileHandle handle) {
  // GetFileSizeEx, so that lengths past 4 GiB come whole.
  LARGE_INTEGER size{};
  const auto [succeeded, lastError] = CallPlatform([&] { return ::GetFileSizeEx(ToHandle(handle), &size); });
  if (const PlatformError error = Failure(succeeded, lastError); error != 0) return {0, error};
  return {static_cast<std::uint64_t>(size.QuadPart), 0};
}

Transferred WindowsFileService::ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) {
  DWORD moved = 0;
  const auto [succeeded, lastError] =
      CallPlatform([&] { return ::ReadFile(ToHandle(handle), buffer, count, &moved, nullptr); });
  return {moved, Failure(succeeded, lastError)};
}

Transferred WindowsFileService::WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) {
  DWORD moved = 0;
  const auto [succeeded, lastError] =
      CallPlatform([&] { return ::WriteFile(ToHandle(handle), buffer, count, &moved, nullptr); });
  return {moved, Failure(succeeded, lastError)};
}

PlatformError WindowsFileService::CloseHandle(FileHandle handle) {
  const auto [succeeded, lastError] = CallPlatform([&] { return ::CloseHandle(ToHandle(handle)); });
  return Failure(succeeded, lastError);
}

PlatformError WindowsFileService::DeleteFileA(const char* name) {
  const auto [succeeded, lastError] = CallPlatform([&] { return ::DeleteFileA(name); });
  return Failure(succeeded, lastError);
}

std::optional<FileIdentity> WindowsFileService::IdentifyFile(const char* name) {
  // No access is asked for, only the file's attributes, so the open neither
  // needs nor disturbs any sharing: it works while another open holds the file.
  const HANDLE file = CallPlatform([&] {
                        return ::CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
                      }).answer;
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const auto [succeeded, lastError] = CallPlatform([&] { return ::GetFileInformationByHandle(file, &information); });
  CallPlatform([&] { return ::CloseHandle(file); });
  if (Failure(succeeded, lastError) != 0) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber,
                      (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

}  // namespace corvane
