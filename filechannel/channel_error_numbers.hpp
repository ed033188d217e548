#pragma once

#include <cstdint>

namespace corvane {

// Error numbers the file channel sets on its own account; the platform's
// failures arrive through MappedErrorNumber.
inline constexpr std::uint8_t kChannelOutOfMemory = 7;
inline constexpr std::uint8_t kChannelInternalFailure = 51;
inline constexpr std::uint8_t kChannelNotOpen = 52;
inline constexpr std::uint8_t kChannelWrongMode = 54;  // open-existing mode, or a stream where a disk file is needed
inline constexpr std::uint8_t kChannelAlreadyOpen = 55;
inline constexpr std::uint8_t kChannelShortWrite = 61;
inline constexpr std::uint8_t kChannelPositionZero = 63;
inline constexpr std::uint8_t kChannelBadFileName = 64;

}  // namespace corvane
