#pragma once

#include <cstdint>

#include "dialogue/console_device.hpp"

namespace corvane {

enum class KeyKind : std::uint8_t {
  None,       // nothing pending
  Character,  // a key press that carries a character code (0 for Esc without Caps Lock)
  Extended,   // a key press without a character: arrows, function keys, Alt+letter
};

struct KeyEvent {
  KeyKind kind = KeyKind::None;
  std::uint8_t character = 0;
  std::uint8_t scanCode = 0;
  std::uint16_t controlState = 0;
};

// Classifies the oldest pending console input. Releases, modifier keys pressed
// alone and events that are not keys are removed on the way; the event behind
// a returned Character or Extended key stays pending.
KeyEvent PeekKeyEvent(ConsoleDevice& console);

// Waits for, removes and returns the next key press with a character, never 0.
std::uint8_t ReadKeyChar(ConsoleDevice& console);

}  // namespace corvane
