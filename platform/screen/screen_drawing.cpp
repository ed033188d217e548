#include "platform/screen/screen_drawing.hpp"

#include <algorithm>

namespace corvane {
namespace {

// One axis: the console's first cell, given where it was, the cursor, the
// console's length and the buffer's.
int Follow(int origin, int cursor, int consoleSize, int bufferSize) {
  if (cursor < origin) origin = cursor;
  if (cursor >= origin + consoleSize) origin = cursor - consoleSize + 1;
  return std::clamp(origin, 0, std::max(0, bufferSize - consoleSize));
}

}  // namespace

Viewport FollowCursor(const Viewport& shown, const ScreenBuffer& screen, int consoleColumns, int consoleRows) {
  Viewport next;
  next.columns = std::max(1, std::min(consoleColumns, screen.Width()));
  next.rows = std::max(1, std::min(consoleRows, screen.Height()));
  next.left = Follow(shown.left, screen.CursorColumn(), next.columns, screen.Width());
  next.top = Follow(shown.top, screen.CursorRow(), next.rows, screen.Height());
  return next;
}

ScreenDrawing DrawScreen(const ScreenBuffer& screen, ShownScreen last, int consoleColumns, int consoleRows) {
  consoleColumns = std::max(consoleColumns, 1);
  consoleRows = std::max(consoleRows, 1);
  ScreenDrawing drawing;
  ShownScreen& shown = drawing.shown;
  shown = std::move(last);
  const Viewport before = shown.part;
  shown.part = FollowCursor(before, screen, consoleColumns, consoleRows);
  // A part that shrank would leave the cells it no longer covers behind.
  const bool sameSizes = shown.columns == consoleColumns && shown.rows == consoleRows &&
                         shown.part.columns == before.columns && shown.part.rows == before.rows;
  if (!sameSizes || shown.cells.empty()) {
    drawing.clearFirst = true;
    shown.columns = consoleColumns;
    shown.rows = consoleRows;
    shown.cells.assign(static_cast<std::size_t>(consoleColumns) * static_cast<std::size_t>(consoleRows), std::nullopt);
  }
  for (int row = 0; row < shown.part.rows; ++row) {
    CellRun* run = nullptr;
    for (int column = 0; column < shown.part.columns; ++column) {
      const Cell& cell = screen.At(shown.part.left + column, shown.part.top + row);
      std::optional<Cell>& console = shown.cells[static_cast<std::size_t>(row) * consoleColumns + column];
      if (console == cell) {
        run = nullptr;
        continue;
      }
      console = cell;
      if (run == nullptr) run = &drawing.runs.emplace_back(CellRun{column, row, {}});
      run->cells.push_back(cell);
    }
  }
  drawing.cursorColumn = screen.CursorColumn() - shown.part.left;
  drawing.cursorRow = screen.CursorRow() - shown.part.top;
  drawing.cursor = screen.Cursor();
  return drawing;
}

}  // namespace corvane
