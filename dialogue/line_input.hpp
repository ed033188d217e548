#pragma once

#include <cstddef>

#include "common/byte_string.hpp"
#include "dialogue/console_text.hpp"

namespace corvane {

inline constexpr std::size_t kMaxLineLength = 10000;

// A minimal line editor: echoes printable bytes at the cursor, Backspace erases
// the cell before the cursor in reading order, Enter ends the line. Control
// codes other than Backspace and Enter are ignored, and bytes beyond the
// 10000th are dropped. The cursor shows while the line is typed. Returns the
// bytes exactly as typed, without the Enter.
ByteString ReadLine(ConsoleText& console);

// Returns once a key press is pending, and leaves it pending. Modifier keys
// alone, releases and other events do not count.
void AwaitKeyPress(ConsoleText& console);

}  // namespace corvane
