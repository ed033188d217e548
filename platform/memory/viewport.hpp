#pragma once

#include "platform/memory/screen_buffer.hpp"

namespace corvane {

// The part of a screen buffer that a window shows: `columns` by `rows` cells
// from the buffer cell (`left`, `top`), all 0-based.
struct Viewport {
  int left = 0;
  int top = 0;
  int columns = 0;
  int rows = 0;
  friend bool operator==(const Viewport&, const Viewport&) = default;
};

// Where a window of `windowColumns` by `windowRows` cells stands over `screen`
// after a change, having stood at `shown` before it. As a console window does
// over a larger screen buffer, it keeps its place while the cursor is inside
// it, otherwise moves just far enough to hold the cursor, and never reaches
// past the buffer's edges; a window as large as the buffer or larger shows
// all of it. The terminal and the Windows console in a small window both show
// the dialogue's screen by this one rule, so they show the same rows.
Viewport FollowCursor(const Viewport& shown, const ScreenBuffer& screen, int windowColumns, int windowRows);

}  // namespace corvane
