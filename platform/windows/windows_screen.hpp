#pragma once

#include <optional>
#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/memory/screen_buffer.hpp"
#include "platform/memory/viewport.hpp"
#include "platform/windows/windows_console.hpp"

namespace corvane {

// The console that the dialogue draws on under Windows. While the console's
// window shows the whole screen buffer, every call goes straight to the
// console. In a pseudo console (Windows Terminal), and where a window of its
// own shows less than the dialogue's screen (capped by a small display),
// ShowInPart makes the screen buffer the tool's own, held in memory, and the
// console's window shows the part of it around the cursor, by the rule that
// the terminal build follows too (FollowCursor), or all of it where the window
// is larger; the part is redrawn whenever the window changes size.
class WindowsScreen : public ConsoleDevice {
 public:
  explicit WindowsScreen(WindowsConsole& console);

  // What happens to the console's own buffer: a window of its own has it cut
  // to the window the user sees, with each size the window takes, so that no
  // scroll bar shows; a pseudo console's buffer is its terminal's, and the
  // tool makes no size call there.
  enum class Buffer { kCutToWindow, kLeftAlone };

  // From now on the screen buffer is `columns` by `rows` cells in memory. It
  // starts with what the console's window shows now, blank in the current
  // colours beyond that; the console's window, as large as `window` (columns
  // and rows), shows the part of the screen around the cursor.
  void ShowInPart(int columns, int rows, const Viewport& window, Buffer buffer);
  bool ShownInPart() const { return part_.has_value(); }

  // Reads back `count` cells of row `row` from `column` on, from the screen
  // buffer wherever it is held.
  std::vector<Cell> ReadCells(int column, int row, int count);

  ScreenBufferInfo GetScreenBufferInfo() override;
  void WriteOutput(std::span<const Cell> cells, int column, int row) override;
  void ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) override;
  void FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) override;
  void FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) override;
  void SetTextAttribute(std::uint8_t attribute) override;
  void SetCursorPosition(int column, int row) override;
  std::optional<CursorInfo> GetCursorInfo() override;
  void SetCursorInfo(const CursorInfo& info) override;
  std::optional<InputRecord> PeekInput() override;
  void ReadInput() override;
  void Beep() override;
  void Sleep(std::chrono::milliseconds duration) override;

 private:
  struct Part {
    ScreenBuffer screen;
    Buffer buffer;
    Viewport window;  // the console's window over its own buffer
    Viewport shown;   // the part of `screen` that the window shows
    // What each row of the window shows, empty where that is unknown.
    std::vector<std::vector<Cell>> shownRows;
  };

  // Carries out one change of the screen: on the console, or on the screen in
  // memory, whose shown part is then brought up to date.
  template <typename Change>
  void Apply(const Change& change);
  void FollowWindowSize();
  void Redraw();
  void Present();

  WindowsConsole& console_;
  std::optional<Part> part_;
};

}  // namespace corvane
