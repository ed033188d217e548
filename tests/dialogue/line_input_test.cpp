#include "dialogue/line_input.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "dialogue/console_text.hpp"
#include "platform/screen/memory_console.hpp"
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
  device.QueueInput(keys::Key('r', 0x13, 0, false));
  auto tap = [&](std::string_view characters, std::initializer_list<std::uint16_t> scans, std::uint32_t state) {
    const std::uint16_t* scan = scans.begin();
    for (const char c : characters) keys::Tap(device, static_cast<std::uint8_t>(c), *scan++, state);
  };
  tap(std::string_view("\t\n\x03\0\0\0", 6), {0x0F, 0, 0x2E, 0x01, 0x48, 0x3B}, 0);  // Tab ^J ^C Esc Up F1
  tap("qpalzm", {0x10, 0x19, 0x1E, 0x26, 0x2C, 0x32}, kLeftAltPressed);              // the letter rows' ends: dropped
  tap("=[;\\,", {0x0D, 0x1A, 0x27, 0x2B, 0x33}, kRightAltPressed);                   // the keys beside them: typed
  tap("!A", {0x02, 0x1E}, kCapsLockOn);                  // the console shifted the 1: back to 1; letters stay
  tap("1/", {0x02, 0x35}, kCapsLockOn | kShiftPressed);  // it did not: up to ! and ?
  tap("w\x08\r", {0, 0x23, 0x32}, 0);                    // Ctrl+H, Ctrl+M
  EXPECT_EQ(ReadLine(console), "  my file\x7F\x80\xFF =[;\\,1A!?");
  EXPECT_EQ(device.Rows()[11], std::string(21, ' ') + "  my file\x7F\x80\xFF =[;\\,1A!?");
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

// 42 full rows and one byte typed from the bottom row: the line's start has
// scrolled off the top. 3281 Backspaces lead back to row 1, column 1 with 80
// bytes left; the next goes on to the end of row 1.
TEST_F(LineEditorTest, BackspaceAfterTheStartScrolledAwayStillRemovesAByte) {
  console.MoveCursor(42, 1);
  keys::Type(device, std::string(80 * 42 + 1, 's'));
  for (int i = 0; i < 2 + 80 * 41; ++i) keys::Backspace(device);
  keys::TypeLine(device, "e");
  EXPECT_EQ(ReadLine(console), std::string(79, 's') + "e");
  EXPECT_EQ(device.Rows()[0], std::string(79, ' ') + "e");
}

// Any key ends the wait, a function key too, and stays pending; modifiers
// alone, releases and other events are passed over.
TEST_F(LineEditorTest, OnlyAKeyPressEndsTheKeyWait) {
  for (const std::uint16_t scan : {0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46}) device.QueueInput(keys::Key(0, scan));
  device.QueueInput(keys::Key('a', 0x1E, 0, false));
  device.QueueInput({.eventType = InputEventType::Mouse});
  device.QueueInput({.eventType = InputEventType::Focus});
  device.SetIdleLookLimit(5);
  EXPECT_THROW(AwaitKeyPress(console), InputExhausted);
  EXPECT_EQ(device.PendingInput(), 0u);
  device.QueueInput(keys::Key(0, 0x3B));  // F1
  AwaitKeyPress(console);
  EXPECT_EQ(device.PendingInput(), 1u);
}

}  // namespace
}  // namespace corvane
