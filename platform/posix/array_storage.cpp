// Array storage on POSIX: the C library's zero-filled allocation.

#include "filechannel/array_storage.hpp"

#include <cstdlib>

namespace corvane {

std::uint8_t* AllocateArrayStorage(std::size_t bytes) { return static_cast<std::uint8_t*>(std::calloc(bytes, 1)); }

void FreeArrayStorage(std::uint8_t* block) { std::free(block); }

}  // namespace corvane
