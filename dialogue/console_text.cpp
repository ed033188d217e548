#include "dialogue/console_text.hpp"

#include <algorithm>
#include <array>

namespace corvane {

namespace {

// One row segment is staged in a fixed buffer, so no output path allocates.
// A buffer wider than this is written in several segments per row.
constexpr int kStagingCells = 255;

constexpr std::uint32_t kDefaultCursorSize = 10;
constexpr std::uint32_t kLargestCursorSize = 99;

}  // namespace

ConsoleText::ConsoleText(ConsoleDevice& device) : device_(device) {}

void ConsoleText::OpenConsole() {
  // The console's cursor shape becomes the shape to show; a console that
  // cannot report it, or reports a size of 0, gets a visible cursor of 10%.
  const std::optional<CursorInfo> cursor = device_.GetCursorInfo();
  if (cursor && cursor->size != 0) {
    cursorSize_ = cursor->size;
    cursorVisible_ = cursor->visible;
  } else {
    cursorSize_ = kDefaultCursorSize;
    cursorVisible_ = true;
    device_.SetCursorInfo({cursorSize_, cursorVisible_});
  }
  foreground_ = 7;
  background_ = 0;
  pendingLineFeed_ = false;
  cursorRestoreDue_ = false;
}

std::uint8_t ConsoleText::Attribute() const { return static_cast<std::uint8_t>(background_ * 16 + foreground_); }

void ConsoleText::PrintText(ByteView text) {
  if (text.empty()) return;
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  if (info.width <= 0 || info.height <= 0) return;  // no console to write to
  const std::uint8_t attribute = Attribute();
  int x = info.cursorColumn;
  int y = info.cursorRow;
  std::array<Cell, kStagingCells> staging;
  std::size_t next = 0;
  while (next < text.size()) {
    if (pendingLineFeed_) {
      pendingLineFeed_ = false;
      ScrollUp();
    }
    const std::size_t n = std::min(
        {text.size() - next, static_cast<std::size_t>(info.width - x), static_cast<std::size_t>(kStagingCells)});
    for (std::size_t i = 0; i < n; ++i) {
      staging[i] = Cell{static_cast<std::uint8_t>(text[next + i]), attribute};
    }
    device_.WriteOutput(std::span<const Cell>(staging.data(), n), x, y);
    next += n;
    x += static_cast<int>(n);
    if (x == info.width) {
      x = 0;
      if (y == info.height - 1) {
        // The bottom row is full: the scroll is owed, not made, so that the
        // last row of the screen can be written without losing the top row.
        pendingLineFeed_ = true;
      } else {
        ++y;
      }
    }
  }
  device_.SetCursorPosition(x, y);
}

void ConsoleText::PrintChar(std::uint8_t character) {
  const char byte = static_cast<char>(character);
  PrintText(ByteView(&byte, 1));
}

void ConsoleText::NewLine() {
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  int y = info.cursorRow;
  if (y == info.height - 1) {
    if (pendingLineFeed_) {
      pendingLineFeed_ = false;
      ScrollUp();
    }
    ScrollUp();
  } else {
    ++y;
  }
  MoveCursor(y + 1, 1);
}

void ConsoleText::ScrollUp() {
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  const CellRect belowTopRow{0, 1, info.width - 1, info.height - 1};
  device_.ScrollScreenBuffer(belowTopRow, 0, 0, Cell{' ', Attribute()});
}

void ConsoleText::MoveCursor(std::int32_t row, std::int32_t column) {
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  // Each coordinate is judged by itself: one out of range keeps its current
  // value while the other still moves.
  if (column < 1 || column > info.width) column = info.cursorColumn + 1;
  if (row < 1 || row > info.height) row = info.cursorRow + 1;
  device_.SetCursorPosition(column - 1, row - 1);
  pendingLineFeed_ = false;
}

std::int32_t ConsoleText::CursorRow() { return device_.GetScreenBufferInfo().cursorRow + 1; }

void ConsoleText::StepBack() {
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  if (pendingLineFeed_) {
    // The cursor shows at column 1 of the bottom row, but the last character
    // written stands in the bottom-right cell.
    pendingLineFeed_ = false;
    MoveCursor(info.height, info.width);
    return;
  }
  const int row = info.cursorRow + 1;
  const int column = info.cursorColumn + 1;
  if (column > 1) {
    MoveCursor(row, column - 1);
  } else {
    MoveCursor(row - 1, info.width);
  }
}

void ConsoleText::SetColours(std::int32_t foreground, std::int32_t background, std::int32_t count) {
  if (foreground >= 0 && foreground <= 15) foreground_ = static_cast<std::uint32_t>(foreground);
  if (background >= 0 && background <= 15) background_ = static_cast<std::uint32_t>(background);
  const std::uint8_t attribute = Attribute();
  device_.SetTextAttribute(attribute);
  if (count > 0) {
    const ScreenBufferInfo info = device_.GetScreenBufferInfo();
    device_.FillOutputAttribute(attribute, static_cast<std::uint32_t>(count), info.cursorColumn, info.cursorRow);
  }
}

void ConsoleText::ClearScreen() {
  OverrideCursor(false);
  const ScreenBufferInfo info = device_.GetScreenBufferInfo();
  const auto cells = static_cast<std::uint32_t>(info.width) * static_cast<std::uint32_t>(info.height);
  device_.FillOutputCharacter(' ', cells, 0, 0);
  device_.FillOutputAttribute(Attribute(), cells, 0, 0);
  MoveCursor(1, 1);
  RestoreCursor();
}

void ConsoleText::SetCursorMode(std::int32_t mode) {
  if (mode == 0) {
    cursorVisible_ = false;
  } else {
    cursorVisible_ = true;
    if (mode > 0)
      cursorSize_ = std::clamp<std::uint32_t>(static_cast<std::uint32_t>(mode), kDefaultCursorSize, kLargestCursorSize);
  }
  device_.SetCursorInfo({cursorSize_, cursorVisible_});
}

void ConsoleText::OverrideCursor(bool visible) {
  if (cursorVisible_ == visible) return;
  device_.SetCursorInfo({cursorSize_, visible});
  cursorRestoreDue_ = true;
}

void ConsoleText::RestoreCursor() {
  if (!cursorRestoreDue_) return;
  device_.SetCursorInfo({cursorSize_, cursorVisible_});
  cursorRestoreDue_ = false;
}

void ConsoleText::SystemBeep() { device_.Beep(); }

void ConsoleText::Pause(std::uint32_t milliseconds) { device_.Sleep(std::chrono::milliseconds(milliseconds)); }

}  // namespace corvane
