// Array storage on Windows: fixed, zero-initialised global memory (GPTR).

#include "filechannel/array_storage.hpp"

#include <windows.h>

namespace corvane {

std::uint8_t* AllocateArrayStorage(std::size_t bytes) { return static_cast<std::uint8_t*>(::GlobalAlloc(GPTR, bytes)); }

void FreeArrayStorage(std::uint8_t* block) {
  if (block != nullptr) ::GlobalFree(block);
}

}  // namespace corvane
