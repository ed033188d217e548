#pragma once

#include "filechannel/file_service.hpp"

namespace corvane {

// The Windows error code that stands for a POSIX errno value, chosen so that
// both platforms report the same error numbers: a missing file 2, a missing
// directory 3, refused access 5, a held file 32, too many files 4, no memory 8,
// a full disk 112, a failing device 31, no device 20; anything else 1.
PlatformError WindowsErrorFromErrno(int errorValue);

}  // namespace corvane
