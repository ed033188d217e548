#pragma once

#include <cstdint>

namespace corvane {

// The run-wide error number: 0 means no error. Every failing service
// overwrites it with its own number, so it holds the most recent failure; a
// success leaves it alone, and only TakeErrorNumber sets it back to 0.
void SetErrorNumber(std::uint8_t number);

// Returns the error number and resets it to 0, in one step.
std::uint8_t TakeErrorNumber();

}  // namespace corvane
