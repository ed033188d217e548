#include "filechannel/platform_error_table.hpp"

#include <array>

namespace corvane {

namespace {

// Error numbers by platform code 0 to 39; the last entry serves every code
// from 40 up, and 112 (disk full) borrows the entry of 39 (disk full on a
// handle). Code 0 only arrives from an open that failed without saying why, so
// it still counts as a failure.
constexpr std::array<std::uint8_t, 41> kErrorNumbers = {
    75,   // 0  no code given
    75,   // 1  invalid function
    53,   // 2  file not found
    76,   // 3  path not found
    67,   // 4  too many open files
    70,   // 5  access denied
    51,   // 6  invalid handle
    241,  // 7  memory structures damaged
    7,    // 8  not enough memory
    241,  // 9  invalid memory block
    241,  // 10 bad environment
    51,   // 11 bad format
    51,   // 12 invalid access
    51,   // 13 invalid data
    7,    // 14 out of memory
    68,   // 15 invalid drive
    75,   // 16 current directory
    74,   // 17 not the same device
    53,   // 18 no more files
    70,   // 19 write protected
    68,   // 20 bad unit
    71,   // 21 not ready
    51,   // 22 bad command
    72,   // 23 CRC error
    51,   // 24 bad length
    72,   // 25 seek error
    72,   // 26 not a DOS disk
    72,   // 27 sector not found
    72,   // 28 out of paper
    72,   // 29 write fault
    72,   // 30 read fault
    72,   // 31 general failure
    70,   // 32 sharing violation
    70,   // 33 lock violation
    72,   // 34 wrong disk
    75,   // 35
    70,   // 36 sharing buffer exceeded
    75,   // 37
    62,   // 38 end of file
    61,   // 39 disk full on a handle
    75,   // every other code
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
