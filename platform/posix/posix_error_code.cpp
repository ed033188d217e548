#include "platform/posix/posix_error_code.hpp"

#include <cerrno>

namespace corvane {

namespace {

constexpr PlatformError kInvalidFunction = 1;
constexpr PlatformError kFileNotFound = 2;
constexpr PlatformError kPathNotFound = 3;
constexpr PlatformError kTooManyOpenFiles = 4;
constexpr PlatformError kAccessDenied = 5;
constexpr PlatformError kInvalidHandle = 6;
constexpr PlatformError kNotEnoughMemory = 8;
constexpr PlatformError kWriteProtect = 19;
constexpr PlatformError kBadUnit = 20;
constexpr PlatformError kGeneralFailure = 31;
constexpr PlatformError kSharingViolation = 32;
constexpr PlatformError kInvalidParameter = 87;
constexpr PlatformError kDiskFull = 112;
constexpr PlatformError kFilenameTooLong = 206;

}  // namespace

PlatformError WindowsErrorFromErrno(int errorValue) {
  switch (errorValue) {
    case 0:
      return 0;
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kAccessDenied;
    case EROFS:
      return kWriteProtect;
    case EWOULDBLOCK:
    case ETXTBSY:
      return kSharingViolation;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    case ENOMEM:
      return kNotEnoughMemory;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EIO:
      return kGeneralFailure;
    case ENXIO:
    case ENODEV:
      return kBadUnit;
    case EBADF:
      return kInvalidHandle;
    case EINVAL:
    case EOVERFLOW:
      return kInvalidParameter;
    case ENAMETOOLONG:
      return kFilenameTooLong;
    default:
      return kInvalidFunction;
  }
}

}  // namespace corvane
