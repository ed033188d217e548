#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A counted sequence of bytes of any value, zero included. Screen texts, file
// names and raw file bytes are all byte strings; typed text keeps the console's
// input code page and is never converted. std::string is used only as a byte
// container: nothing relies on a terminating zero or on any character set.
using ByteString = std::string;
using ByteView = std::string_view;

}  // namespace corvane
