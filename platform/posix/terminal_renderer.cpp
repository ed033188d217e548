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

TerminalRenderer::TerminalRenderer(int terminalColumns, int terminalRows) : columns_(1), rows_(1) {
  SetTerminalSize(terminalColumns, terminalRows);
}

std::string_view TerminalRenderer::StartSequence() { return "\x1B[?7l"; }

std::string_view TerminalRenderer::RestoreSequence() { return "\x1B[0m\x1B[?7h\x1B[?25h"; }

void TerminalRenderer::SetTerminalSize(int columns, int rows) {
  columns_ = std::max(columns, 1);
  rows_ = std::max(rows, 1);
  fullRedrawDue_ = true;
}

std::string TerminalRenderer::Render(const ScreenBuffer& screen) {
  std::string out;
  if (screen.Width() != bufferWidth_ || screen.Height() != bufferHeight_) {
    // Cells outside a shrunken buffer would otherwise stay on the terminal.
    bufferWidth_ = screen.Width();
    bufferHeight_ = screen.Height();
    fullRedrawDue_ = true;
  }
  if (fullRedrawDue_) BeginFullRedraw(out);
  viewport_ = FollowCursor(viewport_, screen, columns_, rows_);
  for (int row = 0; row < viewport_.rows; ++row) {
    for (int column = 0; column < viewport_.columns; ++column) {
      const Cell& cell = screen.At(viewport_.left + column, viewport_.top + row);
      const std::optional<Cell>& shown = shown_[static_cast<std::size_t>(row) * columns_ + column];
      if (shown && *shown == cell) continue;
      // The cursor would flicker across the cells being drawn.
      ShowCursor(out, false);
      DrawCell(out, column, row, cell);
    }
  }
  // The terminal's cursor always stands on the buffer's cursor, shown or not,
  // so that the shell goes on from there once the program has ended.
  MoveTo(out, screen.CursorColumn() - viewport_.left, screen.CursorRow() - viewport_.top);
  ShowCursor(out, screen.Cursor().visible);
  return out;
}

void TerminalRenderer::BeginFullRedraw(std::string& out) {
  // Reset the colours first, so that the terminal clears in its own.
  out += "\x1B[0m\x1B[2J";
  shown_.assign(static_cast<std::size_t>(columns_) * rows_, std::nullopt);
  attribute_.reset();
  cursorColumn_.reset();
  cursorRow_.reset();
  cursorShown_.reset();
  fullRedrawDue_ = false;
}

void TerminalRenderer::DrawCell(std::string& out, int column, int row, const Cell& cell) {
  MoveTo(out, column, row);
  if (attribute_ != cell.attribute) {
    out += AnsiColours(cell.attribute);
    attribute_ = cell.attribute;
  }
  AppendCp437Glyph(out, cell.character);
  shown_[static_cast<std::size_t>(row) * columns_ + column] = cell;
  // With autowrap off the cursor stays in the last column; elsewhere it moves
  // on by one cell.
  if (column + 1 < columns_) {
    cursorColumn_ = column + 1;
  } else {
    cursorColumn_.reset();
  }
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
