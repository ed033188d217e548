#include "platform/posix/terminal_renderer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "posix/model_terminal.hpp"

namespace corvane {
namespace {

// Writes text into one row of the buffer, all in one attribute.
void Put(ScreenBuffer& screen, int column, int row, std::string_view text, std::uint8_t attribute = 0x07) {
  std::vector<Cell> cells;
  for (char c : text) cells.push_back({static_cast<std::uint8_t>(c), attribute});
  screen.WriteOutput(cells, column, row);
}

// A renderer and the model terminal it draws on, started as the console starts it.
struct Display {
  Display(int columns, int rows) : renderer(columns, rows), terminal(columns, rows) {
    terminal.Apply(TerminalRenderer::StartSequence());
  }
  std::string Show(const ScreenBuffer& screen) {
    std::string bytes = renderer.Render(screen);
    terminal.Apply(bytes);
    return bytes;
  }
  TerminalRenderer renderer;
  ModelTerminal terminal;
};

TEST(TerminalRenderer, FirstRenderDrawsTheWholeBufferWithAutowrapOff) {
  ScreenBuffer screen(4, 3);
  Put(screen, 0, 0, "abcd");
  Put(screen, 1, 1, "xy");
  Put(screen, 0, 2, "LAST");  // the bottom-right cell must not scroll the terminal
  screen.SetCursorPosition(2, 1);
  Display display(4, 3);
  display.Show(screen);
  EXPECT_FALSE(display.terminal.Autowrap());
  EXPECT_EQ(display.terminal.Rows(), (std::vector<std::string>{"abcd", " xy ", "LAST"}));
  EXPECT_EQ(display.terminal.CursorColumn(), 2);
  EXPECT_EQ(display.terminal.CursorRow(), 1);
  EXPECT_TRUE(display.terminal.CursorVisible());
}

TEST(TerminalRenderer, DrawsOnlyTheCellsThatChanged) {
  ScreenBuffer screen(4, 2);
  Display display(4, 2);
  display.Show(screen);
  EXPECT_EQ(display.Show(screen), "") << "nothing changed";
  Put(screen, 2, 1, "X");
  EXPECT_EQ(display.Show(screen), "\x1B[?25l\x1B[2;3HX\x1B[1;1H\x1B[?25h");
  screen.SetCursorPosition(3, 0);
  EXPECT_EQ(display.Show(screen), "\x1B[1;4H") << "a cursor move alone moves the cursor";
  Put(screen, 0, 0, "pq", 0x1E);
  EXPECT_EQ(display.Show(screen), "\x1B[?25l\x1B[1;1H\x1B[93;44mpq\x1B[1;4H\x1B[?25h");
  EXPECT_EQ(display.terminal.Rows(), (std::vector<std::string>{"pq  ", "  X "}));
}

TEST(TerminalRenderer, MapsConsoleColoursToAnsiColours) {
  struct Case {
    std::uint8_t attribute;
    const char* sgr;
  };
  const Case cases[] = {
      {0x07, "\x1B[37;40m"},  {0x01, "\x1B[34;40m"},  {0x04, "\x1B[31;40m"},  {0x02, "\x1B[32;40m"},
      {0x08, "\x1B[90;40m"},  {0x0F, "\x1B[97;40m"},  {0xF0, "\x1B[30;107m"}, {0xF8, "\x1B[90;107m"},
      {0x1F, "\x1B[97;44m"},  {0x4E, "\x1B[93;41m"},  {0x80, "\x1B[30;100m"}, {0x35, "\x1B[35;46m"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.attribute});
    EXPECT_EQ(AnsiColours(c.attribute), c.sgr);
  }
}

TEST(TerminalRenderer, CellsKeepTheirColoursOnTheTerminal) {
  ScreenBuffer screen(3, 1);
  Put(screen, 0, 0, "a", 0xF0);
  Put(screen, 1, 0, "b", 0xF8);
  Put(screen, 2, 0, "c", 0x4F);
  Display display(3, 1);
  display.Show(screen);
  EXPECT_EQ(display.terminal.At(0, 0).foreground, 30);
  EXPECT_EQ(display.terminal.At(0, 0).background, 107);
  EXPECT_EQ(display.terminal.At(1, 0).foreground, 90);
  EXPECT_EQ(display.terminal.At(2, 0).foreground, 97);
  EXPECT_EQ(display.terminal.At(2, 0).background, 41);
}

TEST(TerminalRenderer, EveryByteShowsAsItsCodePage437Glyph) {
  ScreenBuffer screen(12, 1);
  Put(screen, 0, 0, std::string_view("\x07\x08\x09\x0A\x0D\x00\x7F\xC9\xCD\xE1\x01\x82", 12));
  Display display(12, 1);
  display.Show(screen);
  EXPECT_EQ(display.terminal.Row(0), "•◘○◙♪ ⌂╔═ß☺é");
}

// The rows a terminal of `rows` rows shows of a buffer whose row r reads "row r".
std::vector<std::string> ShownRows(Display& display, ScreenBuffer& screen, int cursorRow) {
  screen.SetCursorPosition(0, cursorRow);
  display.Show(screen);
  return display.terminal.Rows();
}

TEST(TerminalRenderer, SmallTerminalShowsAWindowThatFollowsTheCursor) {
  ScreenBuffer screen(5, 6);
  for (int row = 0; row < 6; ++row) Put(screen, 0, row, "row " + std::to_string(row));
  Display display(5, 3);
  using Rows = std::vector<std::string>;
  EXPECT_EQ(ShownRows(display, screen, 0), (Rows{"row 0", "row 1", "row 2"}));
  EXPECT_EQ(ShownRows(display, screen, 4), (Rows{"row 2", "row 3", "row 4"})) << "scrolls just enough";
  EXPECT_EQ(display.terminal.CursorRow(), 2);
  EXPECT_EQ(ShownRows(display, screen, 3), (Rows{"row 2", "row 3", "row 4"})) << "stays while the cursor is in view";
  EXPECT_EQ(ShownRows(display, screen, 5), (Rows{"row 3", "row 4", "row 5"}));
  EXPECT_EQ(ShownRows(display, screen, 1), (Rows{"row 1", "row 2", "row 3"}));
}

TEST(TerminalRenderer, NarrowTerminalFollowsTheCursorSideways) {
  ScreenBuffer screen(10, 1);
  Put(screen, 0, 0, "0123456789");
  Display display(4, 1);
  screen.SetCursorPosition(7, 0);
  display.Show(screen);
  EXPECT_EQ(display.terminal.Row(0), "4567");
  EXPECT_EQ(display.terminal.CursorColumn(), 3);
  EXPECT_EQ(display.renderer.ViewportLeft(), 4);
}

TEST(TerminalRenderer, RedrawsEverythingAfterATerminalResize) {
  ScreenBuffer screen(3, 2);
  Put(screen, 0, 0, "abc");
  Display display(3, 2);
  display.Show(screen);
  display.renderer.SetTerminalSize(4, 3);
  ModelTerminal larger(4, 3);
  larger.Apply(TerminalRenderer::StartSequence());
  larger.Apply(display.renderer.Render(screen));
  EXPECT_EQ(larger.Rows(), (std::vector<std::string>{"abc ", "    ", "    "}));
}

TEST(TerminalRenderer, ShrunkenBufferLeavesNoOldCellsBehind) {
  ScreenBuffer screen(4, 2);
  Put(screen, 0, 0, "abcd");
  Put(screen, 0, 1, "efgh");
  Display display(4, 2);
  display.Show(screen);
  screen.Resize(2, 1);
  display.Show(screen);
  EXPECT_EQ(display.terminal.Rows(), (std::vector<std::string>{"ab  ", "    "}));
}

TEST(TerminalRenderer, HiddenCursorStaysHiddenAndOnItsCell) {
  ScreenBuffer screen(4, 2);
  screen.SetCursorInfo({25, false});
  screen.SetCursorPosition(1, 1);
  Display display(4, 2);
  display.Show(screen);
  Put(screen, 0, 0, "zz");
  display.Show(screen);
  EXPECT_FALSE(display.terminal.CursorVisible());
  EXPECT_EQ(display.terminal.CursorColumn(), 1);
  EXPECT_EQ(display.terminal.CursorRow(), 1);
}

}  // namespace
}  // namespace corvane
