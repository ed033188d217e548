#pragma once

#include <cstdint>

#include "filechannel/file_service.hpp"

namespace corvane {

// The error number that stands for a failed platform call's error code.
std::uint8_t MappedErrorNumber(PlatformError code);

}  // namespace corvane
