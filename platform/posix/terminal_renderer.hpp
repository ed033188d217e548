#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/screen/screen_drawing.hpp"

namespace corvane {

// Draws on an ANSI terminal: `Render` turns a drawing of the screen
// (DrawScreen) into the bytes that carry it out, each cell as its code page
// 437 glyph in UTF-8, with absolute cursor moves and the sixteen ANSI colours.
// It keeps track of the terminal's cursor and colours, so that no move or
// colour is sent twice. The terminal must have autowrap off (`StartSequence`),
// so that the bottom-right cell can be drawn without the terminal scrolling.
class TerminalRenderer {
 public:
  // Autowrap off; sent once before the first render.
  static std::string_view StartSequence();
  // Colours reset, autowrap on and the cursor shown: the terminal's settings
  // as a shell expects them, with the contents left as they stand.
  static std::string_view RestoreSequence();

  std::string Render(const ScreenDrawing& drawing);

 private:
  void MoveTo(std::string& out, int column, int row);
  void ShowCursor(std::string& out, bool visible);

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
