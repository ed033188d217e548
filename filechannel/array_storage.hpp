#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

// The platform's memory for array storage: one block of `bytes` zero-filled
// bytes, or nullptr when there is none to be had. Each platform folder
// implements both functions once, over its own memory service.
std::uint8_t* AllocateArrayStorage(std::size_t bytes);
// Returns a block from AllocateArrayStorage; nullptr is ignored.
void FreeArrayStorage(std::uint8_t* block);

}  // namespace corvane
