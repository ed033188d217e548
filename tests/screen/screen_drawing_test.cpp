#include "platform/screen/screen_drawing.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using Rows = std::vector<std::string>;

void Put(ScreenBuffer& screen, int column, int row, std::string_view text, std::uint8_t attribute = 0x07) {
  std::vector<Cell> cells;
  for (const char c : text) cells.push_back(Cell{static_cast<std::uint8_t>(c), attribute});
  screen.WriteOutput(cells, column, row);
}

// A console of some size that carries out each drawing: it starts full of
// '?', what a console shows before the tool draws, blanks itself where the
// drawing says so, and keeps what it showed for the next drawing. Its picture
// shows the cursor's cell as '@' where the cursor shows.
struct Console {
  Console(int width, int height) : columns(width), rows(height), text(height, std::string(width, '?')) {}
  ScreenDrawing Draw(const ScreenBuffer& screen) {
    ScreenDrawing drawing = DrawScreen(screen, std::move(shown), columns, rows);
    if (drawing.clearFirst) text.assign(rows, std::string(columns, ' '));
    for (const CellRun& run : drawing.runs) {
      for (std::size_t i = 0; i < run.cells.size(); ++i) text.at(run.row).at(run.column + i) = run.cells[i].character;
    }
    shown = drawing.shown;
    picture = text;
    if (drawing.cursor.visible) picture.at(drawing.cursorRow).at(drawing.cursorColumn) = '@';
    return drawing;
  }
  int columns, rows;
  Rows text, picture;
  ShownScreen shown;
};

// The first drawing blanks the console and draws the whole screen from its
// top-left cell; a larger console stays blank beyond it. After that only the
// cells that changed are drawn, each row's changed cells as runs.
TEST(DrawScreen, FirstAllOfTheScreenThenOnlyTheCellsThatChanged) {
  ScreenBuffer screen(4, 2);
  Put(screen, 0, 0, "abcd");
  Put(screen, 0, 1, "efgh");
  screen.SetCursorPosition(2, 1);
  Console console(6, 3);
  EXPECT_TRUE(console.Draw(screen).clearFirst);
  EXPECT_EQ(console.picture, (Rows{"abcd  ", "ef@h  ", "      "}));

  Put(screen, 0, 0, "Xbc");
  Put(screen, 3, 0, "Y");
  Put(screen, 1, 1, "f", 0xF0);  // its colours alone change
  screen.SetCursorPosition(0, 0);
  const ScreenDrawing drawing = console.Draw(screen);
  const std::vector<Cell> x{{'X', 0x07}}, y{{'Y', 0x07}}, f{{'f', 0xF0}};
  EXPECT_EQ(drawing.runs, (std::vector<CellRun>{{0, 0, x}, {3, 0, y}, {1, 1, f}})) << "and nothing blanked";
  EXPECT_EQ(console.picture, (Rows{"@bcY  ", "efgh  ", "      "}));
  screen.SetCursorInfo({25, false});
  EXPECT_TRUE(console.Draw(screen).runs.empty()) << "the cursor alone draws no cell";
  EXPECT_EQ(console.picture, (Rows{"XbcY  ", "efgh  ", "      "}));
}

// A console smaller than the screen shows the part around the cursor: it
// keeps its place while the cursor is inside, moves just far enough to hold
// it, and never reaches past the screen's edges.
TEST(DrawScreen, ASmallerConsoleShowsThePartAroundTheCursor) {
  ScreenBuffer screen(6, 5);
  for (int row = 0; row < 5; ++row) Put(screen, 0, row, "row " + std::to_string(row) + "!");
  Console console(5, 2);
  const auto shownAt = [&](int column, int row) {
    screen.SetCursorPosition(column, row);
    console.Draw(screen);
    return console.picture;
  };
  EXPECT_EQ(shownAt(0, 3), (Rows{"row 2", "@ow 3"})) << "moves just far enough";
  EXPECT_EQ(shownAt(0, 2), (Rows{"@ow 2", "row 3"})) << "stays while the cursor is in view";
  EXPECT_EQ(shownAt(5, 1), (Rows{"ow 1@", "ow 2!"})) << "and follows it sideways";
  EXPECT_EQ(shownAt(5, 4), (Rows{"ow 3!", "ow 4@"})) << "never past the last row";
  Console taller(5, 3);  // the same console made taller: the part keeps its place as far as it can
  taller.shown = console.shown;
  screen.SetCursorPosition(0, 3);
  taller.Draw(screen);
  EXPECT_EQ(taller.picture, (Rows{"row 2", "@ow 3", "row 4"}));
}

}  // namespace
}  // namespace corvane
