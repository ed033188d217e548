#include "filechannel/platform_error_table.hpp"

#include <array>

#include "filechannel/error_number.hpp"

namespace corvane {

namespace {

using namespace error_number;

// Error numbers by platform code 0 to 39; the last entry serves every code
// from 40 up, and 112 (disk full) borrows the entry of 39 (disk full on a
// handle). Code 0 only arrives from an open that failed without saying why, so
// it still counts as a failure.
constexpr std::array<std::uint8_t, 41> kErrorNumbers = {
    kFileAccessFailure,  // 0  no code given
    kFileAccessFailure,  // 1  invalid function
    kFileNotFound,       // 2  file not found
    kPathNotFound,       // 3  path not found
    kTooManyFiles,       // 4  too many open files
    kPermissionDenied,   // 5  access denied
    kInternalFailure,    // 6  invalid handle
    kMemoryDamaged,      // 7  memory structures damaged
    kOutOfMemory,        // 8  not enough memory
    kMemoryDamaged,      // 9  invalid memory block
    kMemoryDamaged,      // 10 bad environment
    kInternalFailure,    // 11 bad format
    kInternalFailure,    // 12 invalid access
    kInternalFailure,    // 13 invalid data
    kOutOfMemory,        // 14 out of memory
    kDeviceUnavailable,  // 15 invalid drive
    kFileAccessFailure,  // 16 current directory
    kNotSameDevice,      // 17 not the same device
    kFileNotFound,       // 18 no more files
    kPermissionDenied,   // 19 write protected
    kDeviceUnavailable,  // 20 bad unit
    kDiskNotReady,       // 21 not ready
    kInternalFailure,    // 22 bad command
    kMediumFailure,      // 23 CRC error
    kInternalFailure,    // 24 bad length
    kMediumFailure,      // 25 seek error
    kMediumFailure,      // 26 not a DOS disk
    kMediumFailure,      // 27 sector not found
    kMediumFailure,      // 28 out of paper
    kMediumFailure,      // 29 write fault
    kMediumFailure,      // 30 read fault
    kMediumFailure,      // 31 general failure
    kPermissionDenied,   // 32 sharing violation
    kPermissionDenied,   // 33 lock violation
    kMediumFailure,      // 34 wrong disk
    kFileAccessFailure,  // 35
    kPermissionDenied,   // 36 sharing buffer exceeded
    kFileAccessFailure,  // 37
    kReadPastEnd,        // 38 end of file
    kDiskFull,           // 39 disk full on a handle
    kFileAccessFailure,  // every other code
};

constexpr std::size_t kDiskFullEntry = 39;
constexpr std::size_t kOtherEntry = kErrorNumbers.size() - 1;

}  // namespace

std::uint8_t MappedErrorNumber(PlatformError code) {
  if (code < kOtherEntry) return kErrorNumbers[code];
  if (code == platform_error::kDiskFull) return kErrorNumbers[kDiskFullEntry];
  return kErrorNumbers[kOtherEntry];
}

}  // namespace corvane
