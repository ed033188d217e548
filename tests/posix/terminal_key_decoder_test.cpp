#include "platform/posix/terminal_key_decoder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace std::chrono_literals;
using control_key::kEnhancedKey;
using control_key::kLeftAltPressed;
using control_key::kLeftCtrlPressed;
using control_key::kShiftPressed;

const TerminalKeyDecoder::Clock::time_point kStart{};

// A key as the tests state it: character, scan code, virtual key, state.
struct Key {
  int character;
  int scanCode;
  int virtualKey;
  std::uint32_t state = 0;
};

std::vector<TerminalEvent> PressAndRelease(const std::vector<Key>& keys) {
  std::vector<TerminalEvent> events;
  for (const Key& key : keys) {
    InputRecord record;
    record.asciiChar = static_cast<std::uint8_t>(key.character);
    record.virtualScanCode = static_cast<std::uint16_t>(key.scanCode);
    record.virtualKeyCode = static_cast<std::uint16_t>(key.virtualKey);
    record.controlKeyState = key.state;
    events.push_back({TerminalEventKind::Key, record});
    record.keyDown = false;
    events.push_back({TerminalEventKind::Key, record});
  }
  return events;
}

std::string Describe(const std::vector<TerminalEvent>& events) {
  std::string text;
  for (const TerminalEvent& event : events) {
    if (event.kind == TerminalEventKind::Break) {
      text += "[break]";
      continue;
    }
    const InputRecord& r = event.record;
    char item[96];
    std::snprintf(item, sizeof item, "[%s char %d scan 0x%02X vk 0x%02X state 0x%03X]", r.keyDown ? "down" : "up",
                  r.asciiChar, r.virtualScanCode, r.virtualKeyCode, r.controlKeyState);
    text += item;
  }
  return text;
}

// Everything the decoder makes of `bytes`, lone escapes settled.
std::vector<TerminalEvent> DecodeAll(std::string_view bytes) {
  TerminalKeyDecoder decoder;
  std::vector<TerminalEvent> events = decoder.Feed(bytes, kStart);
  std::vector<TerminalEvent> late = decoder.Flush(kStart + 1s);
  events.insert(events.end(), late.begin(), late.end());
  return events;
}

struct DecodeCase {
  const char* label;
  std::string bytes;
  std::vector<Key> keys;
};

TEST(TerminalKeyDecoder, TurnsBytesIntoTheKeysTheConsoleReports) {
  const std::vector<DecodeCase> cases = {
      {"lower-case letter", "a", {{'a', 0x1E, 'A'}}},
      {"upper-case letter has Shift", "Q", {{'Q', 0x10, 'Q', kShiftPressed}}},
      {"digit", "7", {{'7', 0x08, '7'}}},
      {"shifted digit", "(", {{'(', 0x0A, '9', kShiftPressed}}},
      {"space", " ", {{' ', 0x39, 0x20}}},
      {"punctuation", "/?", {{'/', 0x35, 0xBF}, {'?', 0x35, 0xBF, kShiftPressed}}},
      {"backslash and bar", "\\|", {{'\\', 0x2B, 0xDC}, {'|', 0x2B, 0xDC, kShiftPressed}}},
      {"Enter sends CR", "\x0D", {{13, 0x1C, 0x0D}}},
      {"LF is Enter too", "\x0A", {{13, 0x1C, 0x0D}}},
      {"erase key DEL is Backspace", "\x7F", {{8, 0x0E, 0x08}}},
      {"erase key BS is Backspace", "\x08", {{8, 0x0E, 0x08}}},
      {"Tab", "\x09", {{9, 0x0F, 0x09}}},
      {"Ctrl+A", "\x01", {{1, 0x1E, 'A', kLeftCtrlPressed}}},
      {"Ctrl+C", "\x03", {{3, 0x2E, 'C', kLeftCtrlPressed}}},
      {"Ctrl+Z", "\x1A", {{26, 0x2C, 'Z', kLeftCtrlPressed}}},
      {"lone Esc", "\x1B", {{0, 0x01, 0x1B}}},
      {"Up, CSI", "\x1B[A", {{0, 0x48, 0x26, kEnhancedKey}}},
      {"Down, SS3", "\x1BOB", {{0, 0x50, 0x28, kEnhancedKey}}},
      {"Right and Left", "\x1B[C\x1B[D", {{0, 0x4D, 0x27, kEnhancedKey}, {0, 0x4B, 0x25, kEnhancedKey}}},
      {"Ctrl+Up", "\x1B[1;5A", {{0, 0x48, 0x26, kEnhancedKey | kLeftCtrlPressed}}},
      {"Shift+End", "\x1B[1;2F", {{0, 0x4F, 0x23, kEnhancedKey | kShiftPressed}}},
      {"Home, three forms", "\x1B[H\x1BOH\x1B[1~",
       {{0, 0x47, 0x24, kEnhancedKey}, {0, 0x47, 0x24, kEnhancedKey}, {0, 0x47, 0x24, kEnhancedKey}}},
      {"End", "\x1B[4~", {{0, 0x4F, 0x23, kEnhancedKey}}},
      {"Insert and Delete", "\x1B[2~\x1B[3~", {{0, 0x52, 0x2D, kEnhancedKey}, {0, 0x53, 0x2E, kEnhancedKey}}},
      {"Page Up and Down", "\x1B[5~\x1B[6~", {{0, 0x49, 0x21, kEnhancedKey}, {0, 0x51, 0x22, kEnhancedKey}}},
      {"Alt+Delete", "\x1B[3;3~", {{0, 0x53, 0x2E, kEnhancedKey | kLeftAltPressed}}},
      {"F1, SS3", "\x1BOP", {{0, 0x3B, 0x70}}},
      {"F4, CSI with Shift", "\x1B[1;2S", {{0, 0x3E, 0x73, kShiftPressed}}},
      {"F5 and F10", "\x1B[15~\x1B[21~", {{0, 0x3F, 0x74}, {0, 0x44, 0x79}}},
      {"F11 and F12", "\x1B[23~\x1B[24~", {{0, 0x57, 0x7A}, {0, 0x58, 0x7B}}},
      {"Linux console F2", "\x1B[[B", {{0, 0x3C, 0x71}}},
      {"keypad Enter", "\x1BOM", {{13, 0x1C, 0x0D, kEnhancedKey}}},
      {"Shift+Tab", "\x1B[Z", {{9, 0x0F, 0x09, kShiftPressed}}},
      {"Alt+x", "\x1Bx", {{'x', 0x2D, 'X', kLeftAltPressed}}},
      {"Alt+Shift+K", "\x1BK", {{'K', 0x25, 'K', kLeftAltPressed | kShiftPressed}}},
      {"Alt+1", "\x1B\x31", {{'1', 0x02, '1', kLeftAltPressed}}},
      {"Esc then Esc", "\x1B\x1B", {{0, 0x01, 0x1B}, {0, 0x01, 0x1B}}},
      {"unknown and private sequences vanish", "\x1B[99~\x1B[?1;2cz", {{'z', 0x2C, 'Z'}}},
      {"e acute from UTF-8", "\xC3\xA9", {{0x82, 0, 0}}},
      {"box corner and beta-sharp s", "\xE2\x95\x94\xC3\x9F", {{0xC9, 0, 0}, {0xE1, 0, 0}}},
      {"no-break space", "\xC2\xA0", {{0xFF, 0, 0}}},
      {"euro sign is not in the code page", "\xE2\x82\xAC" "a", {{'a', 0x1E, 'A'}}},
      {"emoji is dropped", "\xF0\x9F\x98\x80" "b", {{'b', 0x30, 'B'}}},
      {"malformed UTF-8 is dropped", "\xC3" "a\xBF\xFF", {{'a', 0x1E, 'A'}}},
      {"overlong encoding is dropped", "\xE0\x81\x81" "c", {{'c', 0x2E, 'C'}}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Describe(DecodeAll(c.bytes)), Describe(PressAndRelease(c.keys)));
  }
}

TEST(TerminalKeyDecoder, EachPressIsFollowedByItsRelease) {
  const std::vector<TerminalEvent> events = DecodeAll("ab");
  ASSERT_EQ(events.size(), 4u);
  EXPECT_TRUE(events[0].record.keyDown);
  EXPECT_FALSE(events[1].record.keyDown);
  EXPECT_EQ(events[1].record.asciiChar, 'a');
  EXPECT_EQ(events[3].record.asciiChar, 'b');
}

TEST(TerminalKeyDecoder, CtrlBackslashIsBreakInItsPlace) {
  const std::vector<TerminalEvent> events = DecodeAll("a\x1C" "b");
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[2].kind, TerminalEventKind::Break);
  EXPECT_EQ(events[3].record.asciiChar, 'b');
  // After ESC as well: Alt does not swallow the break.
  const std::vector<TerminalEvent> afterEsc = DecodeAll("\x1B\x1C");
  ASSERT_EQ(afterEsc.size(), 3u);
  EXPECT_EQ(afterEsc[2].kind, TerminalEventKind::Break);
}

TEST(TerminalKeyDecoder, LoneEscWaitsForTheTimeout) {
  TerminalKeyDecoder decoder(50ms);
  EXPECT_TRUE(decoder.Feed("\x1B", kStart).empty());
  EXPECT_TRUE(decoder.Flush(kStart + 49ms).empty()) << "a sequence may still follow";
  const std::vector<TerminalEvent> settled = decoder.Flush(kStart + 50ms);
  EXPECT_EQ(Describe(settled), Describe(PressAndRelease({{0, 0x01, 0x1B}})));
  EXPECT_FALSE(decoder.HasPending());
}

TEST(TerminalKeyDecoder, SequenceSplitAcrossReadsIsOneKey) {
  TerminalKeyDecoder decoder(50ms);
  EXPECT_TRUE(decoder.Feed("\x1B", kStart).empty());
  EXPECT_TRUE(decoder.Feed("[1;", kStart + 10ms).empty());
  EXPECT_TRUE(decoder.Flush(kStart + 40ms).empty()) << "the timeout runs from the last byte";
  EXPECT_EQ(Describe(decoder.Feed("5D", kStart + 55ms)),
            Describe(PressAndRelease({{0, 0x4B, 0x25, kEnhancedKey | kLeftCtrlPressed}})));
}

TEST(TerminalKeyDecoder, LateBytesDoNotJoinAnOldEsc) {
  TerminalKeyDecoder decoder(50ms);
  EXPECT_TRUE(decoder.Feed("\x1B", kStart).empty());
  // "[A" typed by hand long after Esc: Esc, then the two characters.
  EXPECT_EQ(Describe(decoder.Feed("[A", kStart + 2s)),
            Describe(PressAndRelease({{0, 0x01, 0x1B}, {'[', 0x1A, 0xDB}, {'A', 0x1E, 'A', kShiftPressed}})));
}

TEST(TerminalKeyDecoder, UnfinishedSequencesSettleAfterTheTimeout) {
  const std::vector<DecodeCase> cases = {
      {"ESC [ becomes Alt+[", "\x1B[", {{'[', 0x1A, 0xDB, kLeftAltPressed}}},
      {"ESC O becomes Alt+O", "\x1BO", {{'O', 0x18, 'O', kLeftAltPressed | kShiftPressed}}},
      {"an unfinished UTF-8 character is dropped", "\xE2\x95", {}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Describe(DecodeAll(c.bytes)), Describe(PressAndRelease(c.keys)));
  }
}

TEST(TerminalKeyDecoder, EndlessSequenceIsGivenUp) {
  TerminalKeyDecoder decoder;
  EXPECT_TRUE(decoder.Feed("\x1B[" + std::string(40, '1'), kStart).empty());
  EXPECT_FALSE(decoder.HasPending());
  EXPECT_EQ(Describe(decoder.Feed("x", kStart)), Describe(PressAndRelease({{'x', 0x2D, 'X'}})));
}

}  // namespace
}  // namespace corvane
