#include "platform/windows/windows_screen.hpp"

#include <algorithm>

namespace corvane {

WindowsScreen::WindowsScreen(WindowsConsole& console) : console_(console) {}

void WindowsScreen::ShowInPart(int columns, int rows, const Viewport& window, Buffer buffer) {
  const ScreenBufferInfo info = console_.GetScreenBufferInfo();
  const Viewport shownNow = console_.Window().value_or(window);
  Part part{ScreenBuffer(columns, rows), buffer, {}, {}, {}};
  ScreenBuffer& screen = part.screen;
  const std::uint8_t attribute = console_.TextAttribute().value_or(0x07);
  screen.SetTextAttribute(attribute);
  screen.FillOutputAttribute(attribute, static_cast<std::uint32_t>(columns) * rows, 0, 0);
  for (int row = 0; row < std::min({rows, window.rows, shownNow.rows}); ++row) {
    const int count = std::min({columns, window.columns, shownNow.columns});
    screen.WriteOutput(console_.ReadCells(shownNow.left, shownNow.top + row, count), 0, row);
  }
  screen.SetCursorPosition(std::clamp(info.cursorColumn - shownNow.left, 0, columns - 1),
                           std::clamp(info.cursorRow - shownNow.top, 0, rows - 1));
  if (const std::optional<CursorInfo> cursor = console_.GetCursorInfo()) screen.SetCursorInfo(*cursor);
  part_ = std::move(part);
  if (buffer == Buffer::kCutToWindow) console_.Resize(window.columns, window.rows, window.columns, window.rows);
  Redraw();
}

std::vector<Cell> WindowsScreen::ReadCells(int column, int row, int count) {
  if (!part_) return console_.ReadCells(column, row, count);
  std::vector<Cell> cells;
  for (int i = 0; i < count; ++i) cells.push_back(part_->screen.At(column + i, row));
  return cells;
}

template <typename Change>
void WindowsScreen::Apply(const Change& change) {
  if (!part_) {
    change(console_);
    return;
  }
  FollowWindowSize();
  change(part_->screen);
  Present();
}

// A user who resizes the window sees the part around the cursor again, at
// the new size. A pseudo console (Windows Terminal) resizes its buffer with
// its tab; a console window keeps its buffer, which is cut to the window
// again.
void WindowsScreen::FollowWindowSize() {
  const std::optional<Viewport> window = console_.Window();
  if (!window || (window->columns == part_->window.columns && window->rows == part_->window.rows)) return;
  if (part_->buffer == Buffer::kCutToWindow) {
    console_.Resize(window->columns, window->rows, window->columns, window->rows);
  }
  Redraw();
}

// Blanks the whole console in the screen's colours and draws the shown part
// afresh: cells of a window wider or taller than the screen stay blank.
void WindowsScreen::Redraw() {
  Part& part = *part_;
  part.window = console_.Window().value_or(part.window);
  const ScreenBufferInfo buffer = console_.GetScreenBufferInfo();
  const auto cells = static_cast<std::uint32_t>(std::max(buffer.width, 0) * std::max(buffer.height, 0));
  console_.FillOutputCharacter(' ', cells, 0, 0);
  console_.FillOutputAttribute(part.screen.TextAttribute(), cells, 0, 0);
  part.shownRows.assign(static_cast<std::size_t>(std::max(part.window.rows, 0)), {});
  Present();
}

void WindowsScreen::Present() {
  Part& part = *part_;
  part.shown = FollowCursor(part.shown, part.screen, part.window.columns, part.window.rows);
  for (int row = 0; row < part.shown.rows && row < static_cast<int>(part.shownRows.size()); ++row) {
    std::vector<Cell> cells;
    for (int column = 0; column < part.shown.columns; ++column) {
      cells.push_back(part.screen.At(part.shown.left + column, part.shown.top + row));
    }
    std::vector<Cell>& shown = part.shownRows[static_cast<std::size_t>(row)];
    if (shown == cells) continue;
    console_.WriteOutput(cells, part.window.left, part.window.top + row);
    shown = std::move(cells);
  }
  console_.SetCursorPosition(part.window.left + part.screen.CursorColumn() - part.shown.left,
                             part.window.top + part.screen.CursorRow() - part.shown.top);
}

ScreenBufferInfo WindowsScreen::GetScreenBufferInfo() {
  if (!part_) return console_.GetScreenBufferInfo();
  FollowWindowSize();
  return part_->screen.Info();
}

void WindowsScreen::WriteOutput(std::span<const Cell> cells, int column, int row) {
  Apply([&](auto& screen) { screen.WriteOutput(cells, column, row); });
}

void WindowsScreen::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  Apply([&](auto& screen) { screen.ScrollScreenBuffer(scroll, destinationColumn, destinationRow, fill); });
}

void WindowsScreen::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  Apply([&](auto& screen) { screen.FillOutputCharacter(character, count, column, row); });
}

void WindowsScreen::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  Apply([&](auto& screen) { screen.FillOutputAttribute(attribute, count, column, row); });
}

// The console's own attribute follows too: it is what the console writes in
// once the tool has ended.
void WindowsScreen::SetTextAttribute(std::uint8_t attribute) {
  if (part_) part_->screen.SetTextAttribute(attribute);
  console_.SetTextAttribute(attribute);
}

void WindowsScreen::SetCursorPosition(int column, int row) {
  Apply([&](auto& screen) { screen.SetCursorPosition(column, row); });
}

std::optional<CursorInfo> WindowsScreen::GetCursorInfo() {
  if (!part_) return console_.GetCursorInfo();
  return part_->screen.Cursor();
}

void WindowsScreen::SetCursorInfo(const CursorInfo& info) {
  if (part_) part_->screen.SetCursorInfo(info);
  console_.SetCursorInfo(info);
}

// The line editor and the key wait look at the input again and again: a
// window resized meanwhile is redrawn from here.
std::optional<InputRecord> WindowsScreen::PeekInput() {
  if (part_) FollowWindowSize();
  return console_.PeekInput();
}

void WindowsScreen::ReadInput() { console_.ReadInput(); }

void WindowsScreen::Beep() { console_.Beep(); }

void WindowsScreen::Sleep(std::chrono::milliseconds duration) { console_.Sleep(duration); }

}  // namespace corvane
