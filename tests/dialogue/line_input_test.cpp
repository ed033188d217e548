#include "dialogue/line_input.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dialogue/console_text.hpp"
#include "platform/memory/memory_console.hpp"
#include "support/keys.hpp"
#include "support/screen_picture.hpp"

namespace corvane {
namespace {

using control_key::kCapsLockOn;
using control_key::kLeftAltPressed;
using control_key::kRightAltPressed;
using control_key::kShiftPressed;

class LineEditorTest : public ::testing::Test {
 protected:
  LineEditorTest() : console(device) { console.OpenConsole(); }
  MemoryConsole device{80, 42};
  ConsoleText console;
};

// A line holds the bytes typed, any value but the control codes, and shows
// them where it is typed. Backspace (also Ctrl+H) takes one byte back, Enter
// (also Ctrl+M) ends the line; other control codes, extended keys and
// releases add nothing. With Alt the letter keys of the three letter rows are
// shortcuts, the keys beside them still type; with Caps Lock a key gives the
// character of the real Shift state.
TEST_F(LineEditorTest, ALineHoldsTheBytesTypedAndNothingElse) {
  console.MoveCursor(12, 22);
  keys::Type(device, "x");
  keys::Backspace(device);  // the only byte
  keys::Backspace(device);  // on an empty line: nothing
  keys::Type(device, "  my fild");
  keys::Backspace(device);
  keys::Type(device, "e\x7F\x80\xFF ");
  for (const auto& [character, scan] :
       {std::pair<std::uint8_t, std::uint16_t>{9, 0x0F}, {10, 0}, {3, 0x2E}, {0, 0x01}, {0, 0x48}, {0, 0x3B}}) {
    keys::Tap(device, character, scan);  // Tab, Ctrl+J, Ctrl+C, Esc, Up, F1
  }
  device.QueueInput(keys::Release('r', 0x13));
  for (const auto& [character, scan] : {std::pair<std::uint8_t, std::uint16_t>{'q', 0x10},
                                        {'p', 0x19},
                                        {'a', 0x1E},
                                        {'l', 0x26},
                                        {'z', 0x2C},
                                        {'m', 0x32}}) {
    keys::Tap(device, character, scan, kLeftAltPressed);
  }
  for (const auto& [character, scan] :
       {std::pair<std::uint8_t, std::uint16_t>{'=', 0x0D}, {'[', 0x1A}, {';', 0x27}, {'\\', 0x2B}, {',', 0x33}}) {
    keys::Tap(device, character, scan, kRightAltPressed);
  }
  keys::Tap(device, '!', 0x02, kCapsLockOn);                  // the console shifted it: back to 1
  keys::Tap(device, '1', 0x02, kCapsLockOn | kShiftPressed);  // it did not: up to !
  keys::Tap(device, '/', 0x35, kCapsLockOn | kShiftPressed);
  keys::Tap(device, 'A', 0x1E, kCapsLockOn);  // letters stay with Caps Lock
  keys::Tap(device, 'w');
  keys::Tap(device, 8, 0x23);   // Ctrl+H
  keys::Tap(device, 13, 0x32);  // Ctrl+M
  EXPECT_EQ(ReadLine(console), "  my file\x7F\x80\xFF =[;\\,1!?A");
  EXPECT_EQ(device.RowText(11), std::string(21, ' ') + "  my file\x7F\x80\xFF =[;\\,1!?A");
  EXPECT_EQ(CursorOf(device), (CursorAt{13, 1}));
}

TEST_F(LineEditorTest, TheLineHoldsTenThousandBytesAndBackspaceStillWorksWhenFull) {
  keys::Type(device, std::string(kMaxLineLength, 'k'));
  keys::Type(device, "zz");
  keys::Backspace(device);
  keys::TypeLine(device, "e");
  EXPECT_EQ(ReadLine(console), std::string(kMaxLineLength - 1, 'k') + "e");
  for (const std::string& row : device.Rows()) EXPECT_EQ(row.find('z'), std::string::npos) << "dropped, not echoed";
}

TEST_F(LineEditorTest, BackspaceAfterTheStartScrolledAwayStillRemovesAByte) {
  // 42 full rows and one byte typed from the bottom row: the line's start has
  // scrolled off the top. 3281 Backspaces lead back to row 1, column 1 with
  // 80 bytes left.
  console.MoveCursor(42, 1);
  keys::Type(device, std::string(80 * 42 + 1, 's'));
  for (int i = 0; i < 1 + 80 * 41; ++i) keys::Backspace(device);
  int idle = 0;
  device.SetOnIdle([&] {
    if (idle++ == 0) {
      EXPECT_EQ(CursorOf(device), (CursorAt{1, 1}));
      device.Screen().At(79, 0).character = 'u';
      keys::Backspace(device);
    } else {
      EXPECT_EQ(CursorOf(device), (CursorAt{1, 80}));
      EXPECT_EQ(device.Screen().At(79, 0).character, ' ');
      device.SetOnIdle(nullptr);
      keys::Enter(device);
    }
  });
  EXPECT_EQ(ReadLine(console), std::string(79, 's'));
}

// Any key ends the wait, a function key too, and stays pending; modifiers
// alone, releases and other events are passed over.
TEST_F(LineEditorTest, OnlyAKeyPressEndsTheKeyWait) {
  for (const std::uint16_t scan : {0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46}) device.QueueInput(keys::Press(0, scan));
  device.QueueInput(keys::Release('a', 0x1E));
  device.QueueInput(keys::Event(InputEventType::Mouse));
  device.QueueInput(keys::Event(InputEventType::Focus));
  device.SetIdleLookLimit(5);
  EXPECT_THROW(AwaitKeyPress(console), InputExhausted);
  EXPECT_EQ(device.PendingInput(), 0u);
  device.QueueInput(keys::Press(0, 0x3B));  // F1
  AwaitKeyPress(console);
  EXPECT_EQ(device.PendingInput(), 1u);
}

}  // namespace
}  // namespace corvane
