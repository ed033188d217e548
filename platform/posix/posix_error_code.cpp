#include "platform/posix/posix_error_code.hpp"

#include <cerrno>

namespace corvane {

using namespace platform_error;

PlatformError WindowsErrorFromErrno(int errorValue) {
  switch (errorValue) {
    case 0: return 0;
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return kAccessDenied;
    case EROFS: return kWriteProtect;
    case EWOULDBLOCK:
    case ETXTBSY: return kSharingViolation;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case ENOMEM: return kNotEnoughMemory;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiskFull;
    case EIO: return kGeneralFailure;
    case ENXIO:
    case ENODEV: return kBadUnit;
    case EBADF: return kInvalidHandle;
    case EINVAL:
    case EOVERFLOW: return kInvalidParameter;
    case ENAMETOOLONG: return kFilenameTooLong;
    default: return kInvalidFunction;
  }
}

}  // namespace corvane
