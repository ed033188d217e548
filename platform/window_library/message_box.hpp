#pragma once

#include <string_view>
#include <vector>

#include "dialogue/console_device.hpp"

namespace corvane {

// The lines of a box's text: the two characters backslash and n start a new
// line, on every platform.
std::vector<std::string_view> BoxLines(std::string_view text);

// The box that the console-window library draws in the console where it can
// show no box window of its own (a terminal, a Windows without a display): a
// frame over the middle of the screen buffer with the caption in its top edge,
// the text's lines, and an OK button below them. It waits until the user
// dismisses it with Enter, Space or Esc; every other input record is read and
// passed over. Afterwards every covered cell, the cursor's position and the
// cursor's shape are as they were.
void ShowMessageBox(ConsoleDevice& device, std::string_view text, std::string_view caption);

}  // namespace corvane
