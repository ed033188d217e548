#include "platform/memory/viewport.hpp"

#include <algorithm>

namespace corvane {
namespace {

// One axis: the window's first cell, given where it was, the cursor, the
// window's length and the buffer's.
int Follow(int origin, int cursor, int viewSize, int bufferSize) {
  if (cursor < origin) origin = cursor;
  if (cursor >= origin + viewSize) origin = cursor - viewSize + 1;
  return std::clamp(origin, 0, std::max(0, bufferSize - viewSize));
}

}  // namespace

Viewport FollowCursor(const Viewport& shown, const ScreenBuffer& screen, int windowColumns, int windowRows) {
  Viewport next;
  next.columns = std::max(1, std::min(windowColumns, screen.Width()));
  next.rows = std::max(1, std::min(windowRows, screen.Height()));
  next.left = Follow(shown.left, screen.CursorColumn(), next.columns, screen.Width());
  next.top = Follow(shown.top, screen.CursorRow(), next.rows, screen.Height());
  return next;
}

}  // namespace corvane
