#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dialogue/console_device.hpp"

namespace corvane {

// A console screen buffer held in memory: a grid of cells, a cursor, the
// cursor's shape and the current attribute. It carries out the output side of
// the console seam the way the Windows console does, clipping everything to
// the grid. Every console that holds its screen in memory keeps it in one of
// these (BufferedConsole).
class ScreenBuffer {
 public:
  ScreenBuffer(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const Cell& At(int column, int row) const;

  // New size; the cells that stay inside keep their place, new cells are blank
  // in the current attribute, and the cursor is pulled inside.
  void Resize(int width, int height);

  ScreenBufferInfo Info() const;
  void WriteOutput(std::span<const Cell> cells, int column, int row);
  void ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill);
  void FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row);
  void FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row);
  void SetTextAttribute(std::uint8_t attribute) { attribute_ = attribute; }
  std::uint8_t TextAttribute() const { return attribute_; }
  void SetCursorPosition(int column, int row);
  int CursorColumn() const { return cursorColumn_; }
  int CursorRow() const { return cursorRow_; }
  const CursorInfo& Cursor() const { return cursor_; }
  void SetCursorInfo(const CursorInfo& info);

 private:
  Cell& At(int column, int row);
  bool Inside(int column, int row) const;

  int width_;
  int height_;
  std::vector<Cell> cells_;
  int cursorColumn_ = 0;
  int cursorRow_ = 0;
  CursorInfo cursor_{25, true};
  std::uint8_t attribute_ = 0x07;
};

}  // namespace corvane
