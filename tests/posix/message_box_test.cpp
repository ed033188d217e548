#include "platform/posix/message_box.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"
#include "platform/posix/cp437.hpp"
#include "platform/posix/terminal_window_library.hpp"

namespace corvane {
namespace {

constexpr std::string_view kNotFound = "          File not found.\\nPlease enter a valid filename";

// One row of the screen with every byte shown as its glyph.
std::string GlyphRow(const MemoryConsole& console, int row) {
  std::string text;
  for (int column = 0; column < console.Screen().Width(); ++column) {
    AppendCp437Glyph(text, console.Screen().At(column, row).character);
  }
  return text;
}

std::vector<std::string> GlyphRows(const MemoryConsole& console) {
  std::vector<std::string> rows;
  for (int row = 0; row < console.Screen().Height(); ++row) rows.push_back(GlyphRow(console, row));
  return rows;
}

// A screen whose row r is full of the letter 'a' + r, with the cursor shown
// at column 6, row 4 (1-based).
MemoryConsole PatternedConsole(int width, int height) {
  MemoryConsole console(width, height);
  for (int row = 0; row < height; ++row) {
    console.Screen().FillOutputCharacter(static_cast<std::uint8_t>('a' + row), width, 0, row);
    console.Screen().FillOutputAttribute(static_cast<std::uint8_t>(0xF0 + row % 16), width, 0, row);
  }
  console.Screen().SetCursorPosition(5, 3);
  console.Screen().SetCursorInfo({25, true});
  return console;
}

InputRecord KeyPress(std::uint8_t character, std::uint16_t scanCode, bool down = true) {
  InputRecord record;
  record.asciiChar = character;
  record.virtualScanCode = scanCode;
  record.keyDown = down;
  return record;
}

const InputRecord kEnter = KeyPress(13, 0x1C);
const InputRecord kSpace = KeyPress(' ', 0x39);
const InputRecord kEsc = KeyPress(0, 0x01);

// What the screen showed while the box waited for its first key.
struct Snapshot {
  std::vector<std::string> rows;
  CursorInfo cursor;
  int cursorRow = -1;
};

// Shows the box; at the first look that finds no input, records the screen
// and queues `keys`.
Snapshot ShowAndAnswer(MemoryConsole& console, std::string_view text, std::string_view caption,
                       const std::vector<InputRecord>& keys) {
  Snapshot snapshot;
  bool answered = false;
  console.SetOnIdle([&] {
    if (answered) return;
    answered = true;
    snapshot = {GlyphRows(console), console.Screen().Cursor(), console.Screen().CursorRow()};
    for (const InputRecord& key : keys) console.QueueInput(key);
  });
  ShowMessageBox(console, console.Screen(), text, caption);
  console.SetOnIdle(nullptr);
  return snapshot;
}

TEST(MessageBox, DrawsAFramedBoxWithCaptionLinesAndButtonInTheMiddle) {
  MemoryConsole console = PatternedConsole(40, 12);
  const Snapshot shown = ShowAndAnswer(console, kNotFound, "  ERROR", {kEnter});
  const std::vector<std::string> expected = {
      "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
      "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
      "cc╔═  ERROR ════════════════════════╗ccc",
      "dd║                                 ║ddd",
      "dd║            File not found.      ║ddd",
      "dd║  Please enter a valid filename  ║ddd",
      "dd║                                 ║ddd",
      "dd║             [ OK ]              ║ddd",
      "dd╚═════════════════════════════════╝ddd",
      "jjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjjj",
      "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
      "llllllllllllllllllllllllllllllllllllllll",
  };
  ASSERT_EQ(shown.rows.size(), expected.size());
  for (std::size_t row = 0; row < expected.size(); ++row) {
    // Rows 4 to 9 of the pattern lie under the box; only their edges show.
    std::string want = expected[row];
    if (row >= 3 && row <= 8) {
      const char letter = static_cast<char>('a' + row);
      want.replace(0, 2, std::string(2, letter));
      want.replace(want.size() - 3, 3, std::string(3, letter));
    }
    EXPECT_EQ(shown.rows[row], want) << "row " << row + 1;
  }
  EXPECT_FALSE(shown.cursor.visible) << "the cursor hides while the box shows";
  EXPECT_EQ(shown.cursorRow, 7) << "and stands on the button row, which keeps the box in a terminal's view";
}

TEST(MessageBox, ButtonStandsOutFromTheFrame) {
  MemoryConsole console = PatternedConsole(40, 12);
  Snapshot shown;
  std::uint8_t frame = 0;
  std::uint8_t button = 0;
  console.SetOnIdle([&] {
    frame = console.Screen().At(2, 2).attribute;
    button = console.Screen().At(18, 7).attribute;
    console.QueueInput(kEnter);
  });
  ShowMessageBox(console, console.Screen(), kNotFound, "  ERROR");
  console.SetOnIdle(nullptr);
  EXPECT_NE(frame, button);
  EXPECT_NE(frame & 0xF0, 0xF0) << "the box does not vanish into a bright white screen";
}

TEST(MessageBox, OnlyEnterSpaceOrEscDismissIt) {
  const struct {
    const char* label;
    InputRecord key;
  } dismissals[] = {{"Enter", kEnter}, {"Space", kSpace}, {"Esc", kEsc}, {"Esc with Caps Lock", KeyPress(27, 0x01)}};
  for (const auto& dismissal : dismissals) {
    SCOPED_TRACE(dismissal.label);
    MemoryConsole console = PatternedConsole(40, 12);
    InputRecord mouse;
    mouse.eventType = InputEventType::Mouse;
    const InputRecord later = KeyPress('q', 0x10);
    ShowAndAnswer(console, kNotFound, "  ERROR",
                  {KeyPress('x', 0x2D), KeyPress('x', 0x2D, false), KeyPress(13, 0x1C, false), mouse,
                   KeyPress(0, 0x48), dismissal.key, later});
    ASSERT_EQ(console.PendingInput(), 1u) << "the passed-over input is consumed, the next key is left";
    EXPECT_EQ(console.PeekInput(), later);
  }
}

TEST(MessageBox, KeepsWaitingWithoutADismissingKey) {
  MemoryConsole console = PatternedConsole(40, 12);
  console.SetIdleLookLimit(20);
  console.QueueInput(KeyPress('y', 0x15));
  console.QueueInput(KeyPress(13, 0x1C, false));
  EXPECT_THROW(ShowMessageBox(console, console.Screen(), "text", "caption"), InputExhausted);
  EXPECT_EQ(console.PendingInput(), 0u);
  EXPECT_GE(console.Slept(), std::chrono::milliseconds{20}) << "it pauses between empty looks";
}

TEST(MessageBox, PutsBackEveryCellAndTheCursor) {
  const struct {
    const char* label;
    int width;
    int height;
    CursorInfo cursor;
    std::string_view text;
  } cases[] = {
      {"standard box, cursor shown", 40, 12, {25, true}, kNotFound},
      {"cursor hidden and large", 40, 12, {80, false}, kNotFound},
      {"text wider and taller than the screen", 16, 6, {25, true}, "a very long line of text\\n2\\n3\\n4\\n5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    MemoryConsole console = PatternedConsole(c.width, c.height);
    console.Screen().SetCursorInfo(c.cursor);
    const ScreenBuffer before = console.Screen();
    const Snapshot shown = ShowAndAnswer(console, c.text, "  ERROR", {kEsc});
    EXPECT_NE(shown.rows, GlyphRows(console)) << "the box showed";
    for (int row = 0; row < c.height; ++row) {
      for (int column = 0; column < c.width; ++column) {
        ASSERT_EQ(console.Screen().At(column, row), before.At(column, row)) << "column " << column << ", row " << row;
      }
    }
    EXPECT_EQ(console.Screen().CursorColumn(), 5);
    EXPECT_EQ(console.Screen().CursorRow(), 3);
    EXPECT_EQ(console.Screen().Cursor(), c.cursor);
  }
}

TEST(MessageBox, NarrowScreenShortensTheTextInsideTheFrame) {
  MemoryConsole console = PatternedConsole(16, 8);
  const Snapshot shown = ShowAndAnswer(console, "a very long line of text", "  ERROR", {kEnter});
  EXPECT_EQ(shown.rows[1], "╔═  ERROR ═════╗");
  EXPECT_EQ(shown.rows[3], "║  a very lon  ║");
  EXPECT_EQ(shown.rows[6], "╚══════════════╝");
}

// A terminal window that records what the library asks of it.
class RecordingWindow : public TerminalWindow {
 public:
  void WriteControlSequence(std::string_view sequence) override { sequences.emplace_back(sequence); }
  void ResizeScreenBuffer(int width, int height) override { sizes.push_back({width, height}); }
  std::vector<std::string> sequences;
  std::vector<std::pair<int, int>> sizes;
};

TEST(TerminalWindowLibrary, TitleAndSizeGoToTheTerminal) {
  MemoryConsole console(80, 25);
  RecordingWindow window;
  TerminalWindowLibrary library(console, console.Screen(), window);
  std::int32_t variable = 0;
  library.InitConsoleTools(0, 0, 0, 0, variable, 0);
  library.ConsoleToolBar(0, 5);
  library.ConsoleTitle("Corvane");
  library.ConsoleIcon(32512);
  library.DeleteWindowMenuItem(61728);
  library.Console80x(42);
  library.ConsoleMove(32767, 32767);
  library.Console80x(0);
  EXPECT_EQ(window.sequences, (std::vector<std::string>{"\x1B]0;Corvane\x07", "\x1B[8;42;80t"}));
  EXPECT_EQ(window.sizes, (std::vector<std::pair<int, int>>{{80, 42}}));
}

TEST(TerminalWindowLibrary, TitleCannotEndItsOwnSequence) {
  EXPECT_EQ(TitleSequence("a\x07" "b\x1B]c\x82"), "\x1B]0;ab]c\xC3\xA9\x07");
}

TEST(TerminalWindowLibrary, MessageBoxShowsOnTheConsole) {
  MemoryConsole console = PatternedConsole(40, 12);
  RecordingWindow window;
  TerminalWindowLibrary library(console, console.Screen(), window);
  std::string caption;
  console.SetOnIdle([&] {
    caption = GlyphRow(console, 2);
    console.QueueInput(kSpace);
  });
  library.ConsoleMessageBox(kNotFound, 0, "  ERROR", 0, 0);
  console.SetOnIdle(nullptr);
  EXPECT_NE(caption.find("cc╔═  ERROR ═"), std::string::npos) << caption;
  EXPECT_TRUE(window.sequences.empty());
}

}  // namespace
}  // namespace corvane
