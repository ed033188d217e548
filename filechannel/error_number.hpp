#pragma once

#include <cstdint>

namespace corvane {

// The run-wide error number: 0 means no error. Every failing service
// overwrites it with its own number, so it holds the most recent failure; a
// success leaves it alone, and only TakeErrorNumber sets it back to 0.
void SetErrorNumber(std::uint8_t number);

// Returns the error number and resets it to 0, in one step.
std::uint8_t TakeErrorNumber();

// Every error number the run sets: the file channel's and the value packing's
// own, and those that the platform's error codes map to.
namespace error_number {
inline constexpr std::uint8_t kOutOfMemory = 7;
inline constexpr std::uint8_t kBadArraySize = 9;  // a count of 0 or less, or a byte size beyond 32 bits
inline constexpr std::uint8_t kInternalFailure = 51;
inline constexpr std::uint8_t kChannelNotOpen = 52;
inline constexpr std::uint8_t kFileNotFound = 53;
inline constexpr std::uint8_t kWrongMode = 54;  // open-existing mode, or a stream where a disk file is needed
inline constexpr std::uint8_t kAlreadyOpen = 55;
inline constexpr std::uint8_t kDiskFull = 61;  // a full disk, or a write that moved fewer bytes than asked
inline constexpr std::uint8_t kReadPastEnd = 62;
inline constexpr std::uint8_t kPositionZero = 63;
inline constexpr std::uint8_t kBadFileName = 64;
inline constexpr std::uint8_t kTooManyFiles = 67;
inline constexpr std::uint8_t kDeviceUnavailable = 68;
inline constexpr std::uint8_t kPermissionDenied = 70;
inline constexpr std::uint8_t kDiskNotReady = 71;
inline constexpr std::uint8_t kMediumFailure = 72;  // a disk or medium failure
inline constexpr std::uint8_t kNotSameDevice = 74;
inline constexpr std::uint8_t kFileAccessFailure = 75;  // any other failure of a file access
inline constexpr std::uint8_t kPathNotFound = 76;
inline constexpr std::uint8_t kMemoryDamaged = 241;  // the platform's memory structures
}  // namespace error_number

}  // namespace corvane
