#pragma once

#include <cstdint>

namespace corvane {

// The console's size as the console-window library's Console80x gives it, on
// every platform: always 80 columns, and the rows asked for where the count
// lies from 1 to 9999; any other count is ignored.
inline constexpr int kConsoleColumns = 80;

constexpr bool IsConsoleRowCount(std::int32_t rows) { return rows >= 1 && rows <= 9999; }

}  // namespace corvane
