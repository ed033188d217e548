#include "platform/screen/screen_buffer.hpp"

#include <algorithm>

namespace corvane {

ScreenBuffer::ScreenBuffer(int width, int height)
    : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, Cell{' ', 0x07}) {}

const Cell& ScreenBuffer::At(int column, int row) const {
  return cells_[static_cast<std::size_t>(row) * width_ + column];
}

Cell& ScreenBuffer::At(int column, int row) { return cells_[static_cast<std::size_t>(row) * width_ + column]; }

bool ScreenBuffer::Inside(int column, int row) const {
  return column >= 0 && column < width_ && row >= 0 && row < height_;
}

void ScreenBuffer::Resize(int width, int height) {
  std::vector<Cell> resized(static_cast<std::size_t>(width) * height, Cell{' ', attribute_});
  for (int row = 0; row < std::min(height, height_); ++row) {
    for (int column = 0; column < std::min(width, width_); ++column) {
      resized[static_cast<std::size_t>(row) * width + column] = At(column, row);
    }
  }
  cells_ = std::move(resized);
  width_ = width;
  height_ = height;
  cursorColumn_ = std::min(cursorColumn_, width_ - 1);
  cursorRow_ = std::min(cursorRow_, height_ - 1);
}

ScreenBufferInfo ScreenBuffer::Info() const { return {width_, height_, cursorColumn_, cursorRow_}; }

void ScreenBuffer::WriteOutput(std::span<const Cell> cells, int column, int row) {
  if (row < 0 || row >= height_) return;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int target = column + static_cast<int>(i);
    if (Inside(target, row)) At(target, row) = cells[i];
  }
}

void ScreenBuffer::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  const CellRect source{std::max(scroll.left, 0), std::max(scroll.top, 0), std::min(scroll.right, width_ - 1),
                        std::min(scroll.bottom, height_ - 1)};
  if (source.left > source.right || source.top > source.bottom) return;
  // Copy first, then blank the source, then place the copy: the source and the
  // destination may overlap, and the cells the move uncovers get the fill.
  std::vector<Cell> moved;
  for (int row = source.top; row <= source.bottom; ++row) {
    for (int column = source.left; column <= source.right; ++column) moved.push_back(At(column, row));
  }
  for (int row = source.top; row <= source.bottom; ++row) {
    for (int column = source.left; column <= source.right; ++column) At(column, row) = fill;
  }
  const int sourceWidth = source.right - source.left + 1;
  const int offsetColumn = destinationColumn + (source.left - scroll.left);
  const int offsetRow = destinationRow + (source.top - scroll.top);
  for (std::size_t i = 0; i < moved.size(); ++i) {
    const int column = offsetColumn + static_cast<int>(i) % sourceWidth;
    const int row = offsetRow + static_cast<int>(i) / sourceWidth;
    if (Inside(column, row)) At(column, row) = moved[i];
  }
}

void ScreenBuffer::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  if (!Inside(column, row)) return;
  const std::size_t start = static_cast<std::size_t>(row) * width_ + column;
  const std::size_t end = std::min(cells_.size(), start + count);
  for (std::size_t i = start; i < end; ++i) cells_[i].character = character;
}

void ScreenBuffer::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  if (!Inside(column, row)) return;
  const std::size_t start = static_cast<std::size_t>(row) * width_ + column;
  const std::size_t end = std::min(cells_.size(), start + count);
  for (std::size_t i = start; i < end; ++i) cells_[i].attribute = attribute;
}

void ScreenBuffer::SetCursorPosition(int column, int row) {
  if (!Inside(column, row)) return;
  cursorColumn_ = column;
  cursorRow_ = row;
}

void ScreenBuffer::SetCursorInfo(const CursorInfo& info) {
  if (info.size < 1 || info.size > 100) return;
  cursor_ = info;
}

}  // namespace corvane
