#pragma once

#include <optional>
#include <vector>

#include "platform/screen/screen_buffer.hpp"

namespace corvane {

// The part of a screen buffer that a console shows: `columns` by `rows` cells
// from the buffer cell (`left`, `top`), all 0-based.
struct Viewport {
  int left = 0;
  int top = 0;
  int columns = 0;
  int rows = 0;
  friend bool operator==(const Viewport&, const Viewport&) = default;
};

// Where a console of `consoleColumns` by `consoleRows` cells stands over
// `screen` after a change, having stood at `shown` before it. As a console
// window does over a larger screen buffer, it keeps its place while the cursor
// is inside it, otherwise moves just far enough to hold the cursor, and never
// reaches past the buffer's edges; a console as large as the buffer or larger
// shows all of it, from its top-left cell.
Viewport FollowCursor(const Viewport& shown, const ScreenBuffer& screen, int consoleColumns, int consoleRows);

// What a console shows of the screen after a drawing: its own size, the part
// of the screen it shows, and each of its cells, row by row, where known.
// Without cells (default-made, or cleared once the console's contents are
// lost) the next drawing starts afresh, from the part shown before.
struct ShownScreen {
  int columns = 0;
  int rows = 0;
  Viewport part;
  std::vector<std::optional<Cell>> cells;
};

// Cells to draw on one row of the console, from `column` rightwards.
struct CellRun {
  int column = 0;
  int row = 0;
  std::vector<Cell> cells;
  friend bool operator==(const CellRun&, const CellRun&) = default;
};

// What brings a console from what it showed to the screen as it is now.
struct ScreenDrawing {
  // Blank the whole console first: its size or the part's has changed, or
  // what it shows is unknown.
  bool clearFirst = false;
  // Each run of cells that changed, top to bottom, left to right.
  std::vector<CellRun> runs;
  // The screen's cursor, in the console's cells, and its shape.
  int cursorColumn = 0;
  int cursorRow = 0;
  CursorInfo cursor;
  // What the console shows once the drawing is done.
  ShownScreen shown;
};

// The one rule by which every console that holds the screen in memory shows
// it, a terminal and a Windows console alike: the part around the cursor
// (FollowCursor) on a console of `consoleColumns` by `consoleRows` cells,
// drawing only the cells that differ from what it showed, `last`. Cells of
// the console beyond the screen are left blank.
ScreenDrawing DrawScreen(const ScreenBuffer& screen, ShownScreen last, int consoleColumns, int consoleRows);

}  // namespace corvane
