#include "filechannel/error_number.hpp"

namespace corvane {

namespace {
std::uint8_t errorNumber = 0;
}

void SetErrorNumber(std::uint8_t number) { errorNumber = number; }

std::uint8_t TakeErrorNumber() {
  const std::uint8_t taken = errorNumber;
  errorNumber = 0;
  return taken;
}

}  // namespace corvane
