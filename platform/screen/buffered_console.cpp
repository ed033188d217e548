#include "platform/screen/buffered_console.hpp"

namespace corvane {

BufferedConsole::BufferedConsole(int width, int height) : screen_(width, height) {}

void BufferedConsole::ResizeScreen(int width, int height) {
  FollowConsole();
  if (width < 1 || height < 1) return;
  screen_.Resize(width, height);
  Show();
}

ScreenBufferInfo BufferedConsole::GetScreenBufferInfo() {
  FollowConsole();
  return screen_.Info();
}

void BufferedConsole::WriteOutput(std::span<const Cell> cells, int column, int row) {
  FollowConsole();
  screen_.WriteOutput(cells, column, row);
  Show();
}

std::vector<Cell> BufferedConsole::ReadOutput(int column, int row, int count) {
  FollowConsole();
  std::vector<Cell> cells;
  for (int i = 0; i < count; ++i) {
    const bool inside = row >= 0 && row < screen_.Height() && column + i >= 0 && column + i < screen_.Width();
    cells.push_back(inside ? Screen().At(column + i, row) : Cell{});
  }
  return cells;
}

void BufferedConsole::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  FollowConsole();
  screen_.ScrollScreenBuffer(scroll, destinationColumn, destinationRow, fill);
  Show();
}

void BufferedConsole::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  FollowConsole();
  screen_.FillOutputCharacter(character, count, column, row);
  Show();
}

void BufferedConsole::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  FollowConsole();
  screen_.FillOutputAttribute(attribute, count, column, row);
  Show();
}

void BufferedConsole::SetTextAttribute(std::uint8_t attribute) {
  FollowConsole();
  screen_.SetTextAttribute(attribute);
}

void BufferedConsole::SetCursorPosition(int column, int row) {
  FollowConsole();
  screen_.SetCursorPosition(column, row);
  Show();
}

std::optional<CursorInfo> BufferedConsole::GetCursorInfo() {
  FollowConsole();
  return screen_.Cursor();
}

void BufferedConsole::SetCursorInfo(const CursorInfo& info) {
  FollowConsole();
  screen_.SetCursorInfo(info);
  Show();
}

}  // namespace corvane
