#pragma once

#include "filechannel/file_service.hpp"

namespace corvane {

// The file service over the Windows file API: CreateFileA, GetFileType,
// SetFilePointer, GetFileSizeEx, ReadFile, WriteFile, CloseHandle and
// DeleteFileA, each made with the process error mode at
// SEM_FAILCRITICALERRORS and SEM_NOOPENFILEERRORBOX, so that the system never
// shows a dialog of its own (a drive that is not ready, a missing medium) and
// such conditions come back as error codes, and with the thread's last error
// cleared before the call and read after it. Windows error codes are passed on as they come.
//
// Files are opened without sharing (share mode 0): while one open holds a
// file, any other open of it fails with a sharing violation (32).
class WindowsFileService final : public FileService {
 public:
  OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition disposition) override;
  FileType GetFileType(FileHandle handle) override;
  PlatformError SetFilePointer(FileHandle handle, std::int64_t offset) override;
  FileSize GetFileSize(FileHandle handle) override;
  Transferred ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) override;
  Transferred WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) override;
  PlatformError CloseHandle(FileHandle handle) override;
  PlatformError DeleteFileA(const char* name) override;
  // The volume serial number and file index of GetFileInformationByHandle.
  std::optional<FileIdentity> IdentifyFile(const char* name) override;
};

}  // namespace corvane
