#pragma once

#include <utility>

#include "platform/screen/memory_console.hpp"

// The cursor as the tests speak of it: 1-based (row, column).
using CursorAt = std::pair<int, int>;

inline CursorAt CursorOf(const corvane::MemoryConsole& console) {
  return {console.Screen().CursorRow() + 1, console.Screen().CursorColumn() + 1};
}
