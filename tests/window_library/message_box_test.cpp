#include "platform/window_library/message_box.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screen/memory_console.hpp"

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
// letter, a release of Enter, a mouse event, the Up arrow. The hidden cursor
// stands on the button, which brings the box into view in a small window; a
// box larger than the screen keeps its frame and button and loses text.
TEST(MessageBox, DrawsAFramedBoxInTheMiddleThatOnlyEnterSpaceOrEscDismissAndPutsEveryCellAndTheCursorBack) {
  const struct {
    InputRecord key;
    int width, height;
    CursorInfo cursor;
    std::string_view text;
    std::vector<std::string> drawn;
  } cases[] = {
      {KeyPress(13, 0x1C),
       20,
       9,
       {25, true},
       "Not found.\\nTry again",
       {"aaaaaaaaaaaaaaaaaaaa", "bb╔═  ERROR ═════╗bb", "cc║              ║cc", "dd║  Not found.  ║dd",
        "ee║  Try again   ║ee", "ff║              ║ff", "gg║    [ OK ]    ║gg", "hh╚══════════════╝hh",
        "iiiiiiiiiiiiiiiiiiii", "cursor 7,6"}},
      {KeyPress(' ', 0x39),
       20,
       9,
       {80, false},
       "a long line of text\\n2\\n3\\n4\\n5",
       {"╔═  ERROR ═════════╗", "║                  ║", "║  a long line of  ║", "║  2               ║",
        "║  3               ║", "║  4               ║", "║                  ║", "║      [ OK ]      ║",
        "╚══════════════════╝", "cursor 7,7"}},
      {KeyPress(0, 0x01),
       12,
       6,
       {25, true},
       "a long line of text\\n2\\n3\\n4\\n5",
       {"╔═  ERROR ═╗", "║          ║", "║  a long  ║", "║          ║", "║  [ OK ]  ║", "╚══════════╝", "cursor 3,4"}},
  };
  const InputRecord next = KeyPress('q', 0x10), mouse{.eventType = InputEventType::Mouse};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key.virtualScanCode);
    MemoryConsole console(c.width, c.height);
    for (int i = 0; i < c.width * c.height; ++i) {
      console.FillOutputCharacter(static_cast<std::uint8_t>('a' + i / c.width), 1, i % c.width, i / c.width);
      console.FillOutputAttribute(static_cast<std::uint8_t>(i / c.width * 16 + i % c.width), 1, i % c.width,
                                  i / c.width);
    }
    console.SetCursorPosition(5, 3);
    console.SetCursorInfo(c.cursor);
    const auto cells = [&] {
      std::vector<std::vector<Cell>> rows;
      for (int row = 0; row < c.height; ++row) rows.push_back(console.ReadOutput(0, row, c.width));
      return rows;
    };
    const auto before = cells();
    // At the first look that finds no input: the screen as drawn, then the keys.
    std::vector<std::string> drawn;
    console.SetOnIdle([&] {
      if (!drawn.empty()) return;
      drawn = Shown(console.Screen());
      for (const InputRecord& key :
           {KeyPress('x', 0x2D), KeyPress(13, 0x1C, false), mouse, KeyPress(0, 0x48), c.key, next})
        console.QueueInput(key);
    });
    ShowMessageBox(console, c.text, "  ERROR");
    EXPECT_EQ(drawn, c.drawn);
    EXPECT_TRUE(cells() == before) << "every covered cell put back";
    EXPECT_EQ(console.Screen().Cursor(), c.cursor);
    EXPECT_EQ(Shown(console.Screen()).back(), "cursor 5,3");
    ASSERT_EQ(console.PendingInput(), 1u) << "the passed-over input is consumed, the next key is left";
    EXPECT_EQ(console.PeekInput(), next);
  }
}

}  // namespace
}  // namespace corvane
