#include "platform/posix/posix_file_service.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/posix/cp437.hpp"
#include "platform/posix/posix_error_code.hpp"

namespace corvane {

namespace {

using namespace platform_error;

int Descriptor(FileHandle handle) { return static_cast<int>(static_cast<std::intptr_t>(handle)); }

// A name as the file system spells it. Typed names are in the console's code
// page 437, file names on this system are UTF-8: each byte of the upper half
// becomes the character the screen shows for it, as Windows converts the name
// of an A function at its own boundary. ASCII passes unchanged.
std::string SystemName(const char* name) {
  std::string converted;
  for (const char* c = name; *c != '\0'; ++c) {
    const auto byte = static_cast<std::uint8_t>(*c);
    if (byte < 0x80) {
      converted.push_back(*c);
    } else {
      AppendCp437Glyph(converted, byte);
    }
  }
  return converted;
}

// Whether the folder that would hold `name` exists, so that a missing file can
// be told from a missing directory on its path.
bool ParentFolderExists(const std::string& name) {
  std::string path(name);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat status {};
  return ::stat(parent.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

PlatformError OpenError(const std::string& name, int errorValue) {
  if (errorValue == ENOENT && !ParentFolderExists(name)) return kPathNotFound;
  return WindowsErrorFromErrno(errorValue);
}

// Makes a freshly opened descriptor behave like a Windows handle opened without
// sharing: a directory is refused, reads and writes block again, and a regular
// file is locked against every other open. A file system that cannot lock at
// all still gives access to the file.
PlatformError Hold(int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) return WindowsErrorFromErrno(errno);
  if (S_ISDIR(status.st_mode)) return kAccessDenied;
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) return WindowsErrorFromErrno(errno);
  if (!S_ISREG(status.st_mode)) return 0;
  int locked;
  do {
    locked = ::flock(descriptor, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0 && errno == EWOULDBLOCK) return kSharingViolation;
  return 0;
}

// A read or write that the descriptor's access mode does not allow fails with
// EBADF on a descriptor that is open all the same; Windows calls that access
// denied, as when a read-only handle is written.
PlatformError TransferError(int descriptor, int errorValue) {
  if (errorValue == EBADF && ::fcntl(descriptor, F_GETFD) != -1) return kAccessDenied;
  return WindowsErrorFromErrno(errorValue);
}

// One system call may move fewer bytes than asked, and Linux moves at most
// 0x7ffff000 per call: keep calling `move` (read or write), at most
// `chunkBytes` at a time, until the whole count is moved, the end of the file
// is reached, or an error comes.
template <typename Byte, typename Move>
Transferred MoveAll(int descriptor, Byte* buffer, std::uint32_t count, std::size_t chunkBytes, Move move) {
  Transferred result;
  while (result.bytes < count) {
    const std::size_t chunk = std::min<std::size_t>(count - result.bytes, chunkBytes);
    const ssize_t moved = move(descriptor, buffer + result.bytes, chunk);
    if (moved < 0) {
      if (errno == EINTR) continue;
      result.error = TransferError(descriptor, errno);
      return result;
    }
    if (moved == 0) break;
    result.bytes += static_cast<std::uint32_t>(moved);
  }
  return result;
}

}  // namespace

PosixFileService::PosixFileService(std::size_t chunkBytes) : chunkBytes_(std::max<std::size_t>(chunkBytes, 1)) {}

OpenedFile PosixFileService::CreateFileA(const char* name, FileAccess access, FileDisposition disposition) {
  const std::string path = SystemName(name);
  // O_NONBLOCK keeps the open of a pipe without a partner from hanging; Hold
  // clears it again.
  const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (access == FileAccess::kReadWrite ? O_RDWR : O_RDONLY);
  int descriptor = -1;
  bool created = false;
  // Opening when present, else creating, is tried as two exact steps, so that
  // the caller learns whether the file is new: one that removes a file it
  // could not complete must know that it made it. A file that comes or goes
  // between the steps sends the loop round again.
  for (;;) {
    descriptor = ::open(path.c_str(), flags, 0666);
    if (descriptor >= 0) break;
    if (errno == EINTR) continue;
    if (errno != ENOENT || disposition != FileDisposition::kOpenAlways) break;
    descriptor = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (descriptor >= 0) {
      created = true;
      break;
    }
    if (errno != EEXIST && errno != EINTR) break;
  }
  if (descriptor < 0) return {kInvalidFileHandle, OpenError(path, errno), false};
  if (const PlatformError error = Hold(descriptor); error != 0) {
    ::close(descriptor);
    if (created) ::unlink(path.c_str());
    return {kInvalidFileHandle, error, false};
  }
  return {static_cast<FileHandle>(descriptor), 0, created};
}

FileType PosixFileService::GetFileType(FileHandle handle) {
  struct stat status {};
  if (::fstat(Descriptor(handle), &status) != 0) return FileType::kUnknown;
  if (S_ISREG(status.st_mode)) return FileType::kDisk;
  if (S_ISCHR(status.st_mode)) return FileType::kCharacter;
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) return FileType::kPipe;
  return FileType::kUnknown;
}

PlatformError PosixFileService::SetFilePointer(FileHandle handle, std::int64_t offset) {
  if (offset < 0) return kNegativeSeek;
  if (::lseek(Descriptor(handle), static_cast<off_t>(offset), SEEK_SET) < 0) return WindowsErrorFromErrno(errno);
  return 0;
}

FileSize PosixFileService::GetFileSize(FileHandle handle) {
  struct stat status {};
  if (::fstat(Descriptor(handle), &status) != 0) return {0, WindowsErrorFromErrno(errno)};
  return {static_cast<std::uint64_t>(status.st_size), 0};
}

Transferred PosixFileService::ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t count) {
  return MoveAll(Descriptor(handle), buffer, count, chunkBytes_, ::read);
}

Transferred PosixFileService::WriteFile(FileHandle handle, const std::uint8_t* buffer, std::uint32_t count) {
  return MoveAll(Descriptor(handle), buffer, count, chunkBytes_, ::write);
}

PlatformError PosixFileService::CloseHandle(FileHandle handle) {
  // On Linux the descriptor is gone even when close is interrupted, so EINTR
  // is no failure; the lock goes with the descriptor.
  if (::close(Descriptor(handle)) != 0 && errno != EINTR) return WindowsErrorFromErrno(errno);
  return 0;
}

PlatformError PosixFileService::DeleteFileA(const char* name) {
  if (::unlink(SystemName(name).c_str()) != 0) return WindowsErrorFromErrno(errno);
  return 0;
}

std::optional<FileIdentity> PosixFileService::IdentifyFile(const char* name) {
  struct stat status {};
  if (::stat(SystemName(name).c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

}  // namespace corvane
