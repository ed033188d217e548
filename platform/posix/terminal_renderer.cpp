#include "platform/posix/terminal_renderer.hpp"

#include <algorithm>

#include "platform/posix/cp437.hpp"

namespace corvane {
namespace {

// ANSI numbers its colours with bit 0 red and bit 2 blue, the console the
// other way round.
int AnsiColourIndex(int consoleColour) {
  return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

}  // namespace

std::string AnsiColours(std::uint8_t attribute) {
  const int foreground = attribute & 0x0F;
  const int background = attribute >> 4;
  const int foregroundCode = (foreground & 8 ? 90 : 30) + AnsiColourIndex(foreground);
  const int backgroundCode = (background & 8 ? 100 : 40) + AnsiColourIndex(background);
  return "\x1B[" + std::to_string(foregroundCode) + ";" + std::to_string(backgroundCode) + "m";
}

std::string_view TerminalRenderer::StartSequence() { return "\x1B[?7l"; }

std::string_view TerminalRenderer::RestoreSequence() { return "\x1B[0m\x1B[?7h\x1B[?25h"; }

std::string TerminalRenderer::Render(const ScreenDrawing& drawing) {
  std::string out;
  if (drawing.clearFirst) {
    // Reset the colours first, so that the terminal clears in its own.
    out += "\x1B[0m\x1B[2J";
    attribute_.reset();
    cursorColumn_.reset();
    cursorRow_.reset();
    cursorShown_.reset();
  }
  for (const CellRun& run : drawing.runs) {
    // The cursor would flicker across the cells being drawn.
    ShowCursor(out, false);
    MoveTo(out, run.column, run.row);
    for (const Cell& cell : run.cells) {
      if (attribute_ != cell.attribute) {
        out += AnsiColours(cell.attribute);
        attribute_ = cell.attribute;
      }
      AppendCp437Glyph(out, cell.character);
    }
    // The cursor has moved on by one cell after each, but stops in the last
    // column: autowrap is off.
    cursorColumn_ = std::min(run.column + static_cast<int>(run.cells.size()), drawing.shown.columns - 1);
  }
  // The terminal's cursor always stands on the buffer's cursor, shown or not,
  // so that the shell goes on from there once the program has ended.
  MoveTo(out, drawing.cursorColumn, drawing.cursorRow);
  ShowCursor(out, drawing.cursor.visible);
  return out;
}

void TerminalRenderer::MoveTo(std::string& out, int column, int row) {
  if (cursorColumn_ == column && cursorRow_ == row) return;
  out += "\x1B[" + std::to_string(row + 1) + ";" + std::to_string(column + 1) + "H";
  cursorColumn_ = column;
  cursorRow_ = row;
}

void TerminalRenderer::ShowCursor(std::string& out, bool visible) {
  if (cursorShown_ == visible) return;
  out += visible ? "\x1B[?25h" : "\x1B[?25l";
  cursorShown_ = visible;
}

}  // namespace corvane
