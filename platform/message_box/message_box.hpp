#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/memory/screen_buffer.hpp"

namespace corvane {

// Reads back `count` cells of row `row` from `column` on, as the console's
// screen buffer holds them now. All of them lie inside the buffer.
using ReadCells = std::function<std::vector<Cell>(int column, int row, int count)>;

// Shows a framed message box over the middle of the console's screen buffer
// and waits until the user dismisses it with Enter, Space or Esc; every other
// input record is read and passed over. The caption stands in the top edge;
// the two characters backslash and n in the text start a new line; an OK
// button sits below the text. Afterwards every covered cell, the cursor's
// position and the cursor's shape are as they were.
//
// Everything goes through the console seam. The seam has no way to read cells
// back, so the cells to put back are taken with `readCells`, from the buffer
// behind `device`.
void ShowMessageBox(ConsoleDevice& device, const ReadCells& readCells, std::string_view text, std::string_view caption);

// Reads cells back from a screen buffer held in memory.
ReadCells ReadCellsOf(const ScreenBuffer& screen);

}  // namespace corvane
