#include "platform/message_box/message_box.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"

namespace corvane {
namespace {

// The screen row by row, the frame's six line characters shown as they look,
// and below it the cell of the cursor.
std::vector<std::string> Shown(const ScreenBuffer& screen) {
  const std::string_view frame = "\xC9\xBB\xC8\xBC\xCD\xBA", glyphs[] = {"╔", "╗", "╚", "╝", "═", "║"};
  std::vector<std::string> rows(screen.Height());
  for (int i = 0; i < screen.Width() * screen.Height(); ++i) {
    const char byte = static_cast<char>(screen.At(i % screen.Width(), i / screen.Width()).character);
    rows[i / screen.Width()] += frame.find(byte) == frame.npos ? std::string_view(&byte, 1) : glyphs[frame.find(byte)];
  }
  rows.push_back("cursor " + std::to_string(screen.CursorColumn()) + "," + std::to_string(screen.CursorRow()));
  return rows;
}

InputRecord KeyPress(std::uint8_t character, std::uint16_t scanCode, bool down = true) {
  return {.keyDown = down, .virtualScanCode = scanCode, .asciiChar = character};
}

// Over a screen whose row r holds 'a' + r, each cell in colours of its own, the
// cursor at column 5, row 3. Keys that do not dismiss the box come first: a
// letter, a release of Enter, a mouse event, the Up arrow. The first case shows
// what the box draws: the cursor on the button brings the box into view in a
// small window.
TEST(MessageBox, DrawsAFramedBoxInTheMiddleThatOnlyEnterSpaceOrEscDismissAndPutsEveryCellAndTheCursorBack) {
  const std::vector<std::string> kDrawn = {"aaaaaaaaaaaaaaaaaaaa", "bb╔═  ERROR ═════╗bb",
                                           "cc║              ║cc", "dd║  Not found.  ║dd",
                                           "ee║  Try again   ║ee", "ff║              ║ff",
                                           "gg║    [ OK ]    ║gg", "hh╚══════════════╝hh",
                                           "iiiiiiiiiiiiiiiiiiii", "cursor 7,6"};
  const struct {
    InputRecord key;
    int width, height;
    CursorInfo cursor;
    std::string_view text;
  } cases[] = {
      {KeyPress(13, 0x1C), 20, 9, {25, true}, "Not found.\\nTry again"},
      {KeyPress(' ', 0x39), 20, 9, {80, false}, "a long line of text\\n2\\n3\\n4\\n5"},  // a large hidden cursor
      {KeyPress(0, 0x01), 12, 6, {25, true}, "a long line of text\\n2\\n3\\n4\\n5"},     // larger than the screen
  };
  const InputRecord next = KeyPress('q', 0x10), mouse{.eventType = InputEventType::Mouse};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key.virtualScanCode);
    MemoryConsole console(c.width, c.height);
    ScreenBuffer& screen = console.Screen();
    for (int i = 0; i < c.width * c.height; ++i) {
      screen.FillOutputCharacter(static_cast<std::uint8_t>('a' + i / c.width), 1, i % c.width, i / c.width);
      screen.FillOutputAttribute(static_cast<std::uint8_t>(i / c.width * 16 + i % c.width), 1, i % c.width,
                                 i / c.width);
    }
    screen.SetCursorPosition(5, 3);
    screen.SetCursorInfo(c.cursor);
    const ScreenBuffer before = screen;
    // At the first look that finds no input: the screen as drawn, then the keys.
    std::vector<std::string> drawn;
    console.SetOnIdle([&] {
      if (!drawn.empty()) return;
      drawn = Shown(screen);
      for (const InputRecord& key :
           {KeyPress('x', 0x2D), KeyPress(13, 0x1C, false), mouse, KeyPress(0, 0x48), c.key, next})
        console.QueueInput(key);
    });
    ShowMessageBox(console, ReadCellsOf(screen), c.text, "  ERROR");
    EXPECT_EQ(drawn, &c == &cases[0] ? kDrawn : drawn);
    for (int i = 0; i < c.width * c.height; ++i)
      ASSERT_EQ(screen.At(i % c.width, i / c.width), before.At(i % c.width, i / c.width)) << "cell " << i;
    EXPECT_EQ(screen.Cursor(), c.cursor);
    EXPECT_EQ(Shown(screen).back(), "cursor 5,3");
    ASSERT_EQ(console.PendingInput(), 1u) << "the passed-over input is consumed, the next key is left";
    EXPECT_EQ(console.PeekInput(), next);
  }
}

}  // namespace
}  // namespace corvane
