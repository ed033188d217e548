#include "platform/posix/terminal_key_decoder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {

// Failures show the records as text rather than as bytes.
void PrintTo(const InputRecord& r, std::ostream* os) {
  *os << (r.keyDown ? "down" : "up") << " char " << int{r.asciiChar} << " scan " << r.virtualScanCode << " vk "
      << r.virtualKeyCode << " state " << r.controlKeyState;
}

namespace {

using namespace std::chrono_literals;
using namespace control_key;

const TerminalKeyDecoder::Clock::time_point kStart{};

// A key as the tests state it: character, scan code, virtual key, control keys.
struct Key {
  std::uint8_t character;
  std::uint16_t scanCode, virtualKey;
  std::uint32_t state = 0;
};
const Key kEsc{0, 0x01, 0x1B};
constexpr std::uint32_t kEnhanced = kEnhancedKey, kCtrl = kLeftCtrlPressed, kAlt = kLeftAltPressed;

// Each key as a press followed by its release.
std::vector<InputRecord> Keys(const std::vector<Key>& keys) {
  std::vector<InputRecord> records;
  for (const Key& k : keys)
    for (bool down : {true, false})
      records.push_back({InputEventType::Key, down, 1, k.virtualKey, k.scanCode, k.character, k.state});
  return records;
}

TEST(TerminalKeyDecoder, TurnsBytesIntoTheKeysTheConsoleReports) {
  const struct {
    std::string bytes;
    std::vector<Key> keys;
  } cases[] = {
      // A letter, Shift, Tab.
      {"aQ\x09", {{'a', 0x1E, 'A'}, {'Q', 0x10, 'Q', kShiftPressed}, {9, 0x0F, 0x09}}},
      // CR is Enter, LF Ctrl+J, DEL and BS Backspace.
      {"\x0D\x0A\x7F\x08", {{13, 0x1C, 0x0D}, {10, 0x24, 'J', kCtrl}, {8, 0x0E, 0x08}, {8, 0x0E, 0x08}}},
      // Ctrl+Z and Ctrl+\ that the terminal lets through, then a lone Esc.
      {"\x1A\x1C\x1B", {{26, 0x2C, 'Z', kCtrl}, {0x1C, 0x2B, 0xDC, kCtrl}, kEsc}},
      // Esc, then ESC+letter as Alt, and an unfinished ESC [ as Alt+[.
      {"\x1B\x1Bx\x1B[", {kEsc, {'x', 0x2D, 'X', kAlt}, {'[', 0x1A, 0xDB, kAlt}}},
      // Up (CSI), Down (SS3), Right with Meta, which is Alt.
      {"\x1B[A\x1BOB\x1B[1;9C",
       {{0, 0x48, 0x26, kEnhanced}, {0, 0x50, 0x28, kEnhanced}, {0, 0x4D, 0x27, kEnhanced | kAlt}}},
      // Home, Del, F1, F12.
      {"\x1B[H\x1B[3~\x1BOP\x1B[24~",
       {{0, 0x47, 0x24, kEnhanced}, {0, 0x53, 0x2E, kEnhanced}, {0, 0x3B, 0x70}, {0, 0x58, 0x7B}}},
      // Unknown and private sequences vanish.
      {"\x1B[99~\x1B[?1;2cz", {{'z', 0x2C, 'Z'}}},
      // UTF-8 to the code page's upper half; beyond it, keys without a character.
      {"\xC3\xA9\xE2\x95\x94\xE2\x82\xAC\xF0\x9F\x98\x80", {{0x82, 0, 0}, {0xC9, 0, 0}, {0, 0, 0xE7}, {0, 0, 0xE7}}},
      // Malformed, overlong and unfinished UTF-8 is dropped.
      {"\xC3\x61\xBF\xFF\xE0\x83\xA9\xE2\x95", {{'a', 0x1E, 'A'}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    TerminalKeyDecoder decoder;
    std::vector<InputRecord> events = decoder.Feed(c.bytes, kStart);
    const std::vector<InputRecord> late = decoder.Flush(kStart + 1s);
    events.insert(events.end(), late.begin(), late.end());
    EXPECT_EQ(events, Keys(c.keys));
  }
}

TEST(TerminalKeyDecoder, PendingBytesWaitForTheTimeoutFromTheLastByteButNotForEver) {
  TerminalKeyDecoder decoder(50ms);
  EXPECT_TRUE(decoder.Feed("\x1B", kStart).empty());
  EXPECT_TRUE(decoder.Feed("[1;", kStart + 30ms).empty());
  EXPECT_TRUE(decoder.Flush(kStart + 79ms).empty()) << "the timeout runs from the last byte";
  EXPECT_EQ(decoder.Feed("5D", kStart + 79ms), Keys({{0, 0x4B, 0x25, kEnhanced | kCtrl}}));
  EXPECT_TRUE(decoder.Feed("\x1B[" + std::string(40, '1'), kStart + 4s).empty());
  EXPECT_FALSE(decoder.HasPending()) << "an endless sequence is given up";
  EXPECT_EQ(decoder.Feed("x", kStart + 4s), Keys({{'x', 0x2D, 'X'}}));
}

}  // namespace
}  // namespace corvane
