#pragma once

#include <cstdint>
#include <string_view>

#include "dialogue/console_device.hpp"
#include "platform/screen/memory_console.hpp"

// Builders for the console input records that a keyboard produces.
namespace keys {

inline corvane::InputRecord Key(std::uint8_t character, std::uint16_t scan = 0, std::uint32_t state = 0,
                                bool down = true) {
  return {.keyDown = down, .virtualScanCode = scan, .asciiChar = character, .controlKeyState = state};
}

// A key press followed by its release, as the console reports a typed key.
inline void Tap(corvane::MemoryConsole& console, std::uint8_t character, std::uint16_t scan = 0,
                std::uint32_t state = 0) {
  console.QueueInput(Key(character, scan, state));
  console.QueueInput(Key(character, scan, state, false));
}

inline void Type(corvane::MemoryConsole& console, std::string_view text) {
  for (const char c : text) Tap(console, static_cast<std::uint8_t>(c));
}
inline void Enter(corvane::MemoryConsole& console) { Tap(console, 13, 0x1C); }
inline void Backspace(corvane::MemoryConsole& console) { Tap(console, 8, 0x0E); }
inline void TypeLine(corvane::MemoryConsole& console, std::string_view text) {
  Type(console, text);
  Enter(console);
}

}  // namespace keys
