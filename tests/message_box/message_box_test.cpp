#include "platform/message_box/message_box.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"

namespace corvane {
namespace {

// The glyph of a byte: the frame's six line characters, ASCII as itself.
std::string Glyph(std::uint8_t byte) {
  switch (byte) {
    case 0xC9: return "╔";
    case 0xBB: return "╗";
    case 0xC8: return "╚";
    case 0xBC: return "╝";
    case 0xCD: return "═";
    case 0xBA: return "║";
    default: return std::string(1, static_cast<char>(byte));
  }
}

// The screen with every byte shown as its glyph.
std::vector<std::string> GlyphRows(const ScreenBuffer& screen) {
  const int width = screen.Width();
  std::vector<std::string> rows(screen.Height());
  for (int i = 0; i < width * screen.Height(); ++i) rows[i / width] += Glyph(screen.At(i % width, i / width).character);
  return rows;
}

InputRecord KeyPress(std::uint8_t character, std::uint16_t scanCode, bool down = true) {
  return {.keyDown = down, .virtualScanCode = scanCode, .asciiChar = character};
}

// Fills row r of the screen with 'a' + r, each cell in colours of its own,
// the cursor at column 5, row 3.
void Pattern(ScreenBuffer& screen) {
  for (int row = 0; row < screen.Height(); ++row) {
    screen.FillOutputCharacter(static_cast<std::uint8_t>('a' + row), screen.Width(), 0, row);
    for (int column = 0; column < screen.Width(); ++column)
      screen.FillOutputAttribute(static_cast<std::uint8_t>(row * 16 + column), 1, column, row);
  }
  screen.SetCursorPosition(5, 3);
}

// Shows the box; at the first look that finds no input, records the screen,
// and below it the cell of the cursor, and queues `keys`.
std::vector<std::string> ShowAndAnswer(MemoryConsole& console, std::string_view text, std::vector<InputRecord> keys) {
  std::vector<std::string> shown;
  console.SetOnIdle([&] {
    if (!shown.empty()) return;
    shown = GlyphRows(console.Screen());
    const ScreenBuffer& screen = console.Screen();
    shown.push_back("cursor " + std::to_string(screen.CursorColumn()) + "," + std::to_string(screen.CursorRow()));
    for (const InputRecord& key : keys) console.QueueInput(key);
  });
  ShowMessageBox(console, ReadCellsOf(console.Screen()), text, "  ERROR");
  return shown;
}

TEST(MessageBox, DrawsAFramedBoxWithCaptionLinesAndButtonInTheMiddle) {
  MemoryConsole console(20, 9);
  Pattern(console.Screen());
  EXPECT_EQ(
      ShowAndAnswer(console, "Not found.\\nTry again", {KeyPress(13, 0x1C)}),
      (std::vector<std::string>{"aaaaaaaaaaaaaaaaaaaa", "bb╔═  ERROR ═════╗bb", "cc║              ║cc",
                                "dd║  Not found.  ║dd", "ee║  Try again   ║ee", "ff║              ║ff",
                                "gg║    [ OK ]    ║gg", "hh╚══════════════╝hh", "iiiiiiiiiiiiiiiiiiii", "cursor 7,6"}))
      << "the cursor on the button brings the box into view in a small window";
}

TEST(MessageBox, OnlyEnterSpaceOrEscDismissItAndEveryCellAndTheCursorComeBack) {
  const struct {
    const char* label;
    InputRecord key;
    int width, height;
    CursorInfo cursor;
  } cases[] = {{"Enter", KeyPress(13, 0x1C), 20, 9, {25, true}},
               {"Space, large hidden cursor", KeyPress(' ', 0x39), 20, 9, {80, false}},
               {"Esc, box larger than the screen", KeyPress(0, 0x01), 12, 6, {25, true}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    MemoryConsole console(c.width, c.height);
    Pattern(console.Screen());
    console.Screen().SetCursorInfo(c.cursor);
    const ScreenBuffer before = console.Screen();
    const InputRecord next = KeyPress('q', 0x10);
    EXPECT_NE(ShowAndAnswer(console, "a long line of text\\n2\\n3\\n4\\n5",
                            {KeyPress('x', 0x2D),
                             KeyPress(13, 0x1C, false),
                             {.eventType = InputEventType::Mouse},
                             KeyPress(0, 0x48),
                             c.key,
                             next}),
              GlyphRows(before));
    for (int i = 0; i < c.width * c.height; ++i)
      ASSERT_EQ(console.Screen().At(i % c.width, i / c.width), before.At(i % c.width, i / c.width)) << "cell " << i;
    EXPECT_EQ(console.Screen().Cursor(), c.cursor);
    EXPECT_EQ(std::pair(console.Screen().CursorColumn(), console.Screen().CursorRow()), std::pair(5, 3));
    ASSERT_EQ(console.PendingInput(), 1u) << "the passed-over input is consumed, the next key is left";
    EXPECT_EQ(console.PeekInput(), next);
  }
}

}  // namespace
}  // namespace corvane
