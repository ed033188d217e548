#pragma once

#include <cstdint>

namespace corvane {

// Removes one item from a window's system menu (`menu` is its HMENU), chosen
// by `item`:
//   - a positive value is a command identifier (SC_RESTORE 61728, SC_SIZE
//     61440, SC_MAXIMIZE 61488...): the item with that command goes;
//   - 0, the identifier that separators carry: the first separator goes;
//   - a negative value counts from the end: -1 is the last item, -2 the one
//     before it. On the console window's menu these are the two settings
//     dialogs (Defaults, Properties) through which the window could be
//     resized. The commands a user needs to keep (Move, Minimize, Close) never
//     go this way, so a shorter menu keeps them.
// Anything not found leaves the menu as it is.
void RemoveSystemMenuItem(void* menu, std::int32_t item);

}  // namespace corvane
