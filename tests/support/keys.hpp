#pragma once

#include <cstdint>
#include <string_view>

#include "dialogue/console_device.hpp"
#include "platform/memory/memory_console.hpp"

// Builders for the console input records that a keyboard produces.
namespace keys {

using corvane::InputEventType;
using corvane::InputRecord;

inline constexpr std::uint16_t kEnterScan = 0x1C;
inline constexpr std::uint16_t kBackspaceScan = 0x0E;
inline constexpr std::uint16_t kEscScan = 0x01;

inline InputRecord Press(std::uint8_t character, std::uint16_t scanCode = 0, std::uint32_t state = 0) {
  InputRecord record;
  record.keyDown = true;
  record.asciiChar = character;
  record.virtualScanCode = scanCode;
  record.controlKeyState = state;
  return record;
}

inline InputRecord Release(std::uint8_t character, std::uint16_t scanCode = 0, std::uint32_t state = 0) {
  InputRecord record = Press(character, scanCode, state);
  record.keyDown = false;
  return record;
}

inline InputRecord Event(InputEventType type) {
  InputRecord record;
  record.eventType = type;
  return record;
}

// A key press followed by its release, as the console reports a typed key.
inline void Tap(corvane::MemoryConsole& console, std::uint8_t character, std::uint16_t scanCode = 0,
                std::uint32_t state = 0) {
  console.QueueInput(Press(character, scanCode, state));
  console.QueueInput(Release(character, scanCode, state));
}

inline void Type(corvane::MemoryConsole& console, std::string_view text) {
  for (const char c : text) Tap(console, static_cast<std::uint8_t>(c));
}

inline void Enter(corvane::MemoryConsole& console) { Tap(console, 13, kEnterScan); }
inline void Backspace(corvane::MemoryConsole& console) { Tap(console, 8, kBackspaceScan); }

// Types a line and ends it with Enter.
inline void TypeLine(corvane::MemoryConsole& console, std::string_view text) {
  Type(console, text);
  Enter(console);
}

}  // namespace keys
