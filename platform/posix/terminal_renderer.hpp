#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/memory/screen_buffer.hpp"
#include "platform/memory/viewport.hpp"

namespace corvane {

// Shows a console screen buffer on an ANSI terminal. `Render` returns the
// bytes that bring the terminal from what it showed after the last call to
// the buffer's present state: only cells that changed are drawn, each as its
// code page 437 glyph in UTF-8, with absolute cursor moves and the sixteen
// ANSI colours. The terminal must have autowrap off (`StartSequence`), so
// that the bottom-right cell can be drawn without the terminal scrolling.
//
// When the terminal is smaller than the buffer it shows the part of the
// buffer around the cursor (FollowCursor).
class TerminalRenderer {
 public:
  TerminalRenderer(int terminalColumns, int terminalRows);

  // Autowrap off; sent once before the first render.
  static std::string_view StartSequence();
  // Colours reset, autowrap on and the cursor shown: the terminal's settings
  // as a shell expects them, with the contents left as they stand.
  static std::string_view RestoreSequence();

  // The terminal has a new size; the next render redraws everything.
  void SetTerminalSize(int columns, int rows);
  // The terminal's contents are unknown; the next render redraws everything.
  void Invalidate() { fullRedrawDue_ = true; }

  std::string Render(const ScreenBuffer& screen);

 private:
  void BeginFullRedraw(std::string& out);
  void DrawCell(std::string& out, int column, int row, const Cell& cell);
  void MoveTo(std::string& out, int column, int row);
  void ShowCursor(std::string& out, bool visible);

  int columns_;
  int rows_;
  // What each terminal cell shows; none when unknown.
  std::vector<std::optional<Cell>> shown_;
  bool fullRedrawDue_ = true;
  int bufferWidth_ = 0;
  int bufferHeight_ = 0;
  Viewport viewport_;
  // The terminal's cursor and colours, where known.
  std::optional<int> cursorColumn_;
  std::optional<int> cursorRow_;
  std::optional<bool> cursorShown_;
  std::optional<std::uint8_t> attribute_;
};

// The SGR sequence for a console attribute (background * 16 + foreground),
// each colour number with bit 0 blue, bit 1 green, bit 2 red, bit 3 intensity.
std::string AnsiColours(std::uint8_t attribute);

}  // namespace corvane
