#include "dialogue/key_events.hpp"

#include <algorithm>
#include <array>

namespace corvane {

namespace {

constexpr std::uint8_t kEscScanCode = 0x01;
constexpr std::uint8_t kEscape = 27;

// Keys that never count as a key press on their own: Ctrl, left and right
// Shift, Alt, Caps Lock, Num Lock, Scroll Lock.
constexpr std::array<std::uint8_t, 7> kModifierScanCodes{0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46};

// The letter keys of the three letter rows, Q to P, A to L and Z to M. With an
// Alt flag they are menu shortcuts, not text.
bool IsAltLetterScanCode(std::uint8_t scanCode) {
  return (scanCode >= 0x10 && scanCode <= 0x19) || (scanCode >= 0x1E && scanCode <= 0x26) ||
         (scanCode >= 0x2C && scanCode <= 0x32);
}

struct ShiftPair {
  std::uint8_t scanCode;
  std::uint8_t unshifted;
  std::uint8_t shifted;
};

// The digit and punctuation keys of a US layout with their two characters.
constexpr std::array<ShiftPair, 21> kShiftPairTable{{
    {0x02, '1', '!'}, {0x03, '2', '@'}, {0x04, '3', '#'}, {0x05, '4', '$'},  {0x06, '5', '%'}, {0x07, '6', '^'},
    {0x08, '7', '&'}, {0x09, '8', '*'}, {0x0A, '9', '('}, {0x0B, '0', ')'},  {0x0C, '-', '_'}, {0x0D, '=', '+'},
    {0x1A, '[', '{'}, {0x1B, ']', '}'}, {0x27, ';', ':'}, {0x28, '\'', '"'}, {0x29, '`', '~'}, {0x2B, '\\', '|'},
    {0x33, ',', '<'}, {0x34, '.', '>'}, {0x35, '/', '?'},
}};

// Some consoles let Caps Lock shift the digit and punctuation keys too. With
// Caps Lock on, the character is brought back to what the Shift key alone
// asks for; letters are left to Caps Lock.
std::uint8_t CorrectForCapsLock(std::uint8_t character, std::uint8_t scanCode, std::uint16_t controlState) {
  if ((controlState & control_key::kCapsLockOn) == 0) return character;
  const auto* pair = std::find_if(kShiftPairTable.begin(), kShiftPairTable.end(),
                                  [scanCode](const ShiftPair& row) { return row.scanCode == scanCode; });
  if (pair == kShiftPairTable.end()) return scanCode == kEscScanCode ? kEscape : character;
  const bool shift = (controlState & control_key::kShiftPressed) != 0;
  if (shift && character == pair->unshifted) return pair->shifted;
  if (!shift && character == pair->shifted) return pair->unshifted;
  return character;
}

}  // namespace

KeyEvent PeekKeyEvent(ConsoleDevice& console) {
  for (;;) {
    const std::optional<InputRecord> record = console.PeekInput();
    if (!record) return {};
    if (record->eventType != InputEventType::Key || !record->keyDown) {
      console.ReadInput();  // releases and non-key events never count
      continue;
    }
    KeyEvent key;
    key.character = record->asciiChar;
    key.scanCode = static_cast<std::uint8_t>(record->virtualScanCode & 0xFF);
    key.controlState = static_cast<std::uint16_t>(record->controlKeyState & 0xFFFF);
    const bool alt = (key.controlState & (control_key::kRightAltPressed | control_key::kLeftAltPressed)) != 0;
    if (key.character != 0) {
      if (alt && IsAltLetterScanCode(key.scanCode)) return {KeyKind::Extended, 0, key.scanCode, key.controlState};
      key.character = CorrectForCapsLock(key.character, key.scanCode, key.controlState);
      key.kind = KeyKind::Character;
      return key;
    }
    if (key.scanCode == kEscScanCode) {
      key.character = CorrectForCapsLock(key.character, key.scanCode, key.controlState);
      key.kind = KeyKind::Character;
      return key;
    }
    if (std::find(kModifierScanCodes.begin(), kModifierScanCodes.end(), key.scanCode) != kModifierScanCodes.end()) {
      console.ReadInput();
      continue;
    }
    key.kind = KeyKind::Extended;
    return key;
  }
}

std::uint8_t ReadKeyChar(ConsoleDevice& console) {
  for (;;) {
    console.Sleep(std::chrono::milliseconds(1));
    const KeyEvent key = PeekKeyEvent(console);
    if (key.kind == KeyKind::None) continue;
    console.ReadInput();
    if (key.kind == KeyKind::Character && key.character != 0) return key.character;
  }
}

}  // namespace corvane
