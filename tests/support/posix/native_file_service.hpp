#pragma once

#include "platform/posix/posix_file_service.hpp"

// The file service of the platform the tests run on, and a name that leads to
// a device rather than a disk file.
using NativeFileService = corvane::PosixFileService;
inline constexpr const char* kNullDeviceName = "/dev/null";
