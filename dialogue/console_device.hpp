#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

// One screen cell: a character byte, shown as the console's glyph for it, and
// an attribute byte, background * 16 + foreground.
struct Cell {
  std::uint8_t character = ' ';
  std::uint8_t attribute = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};

// Screen buffer size and cursor, all 0-based.
struct ScreenBufferInfo {
  int width = 0;
  int height = 0;
  int cursorColumn = 0;
  int cursorRow = 0;
};

// Cursor size in percent of a cell, and whether it shows.
struct CursorInfo {
  std::uint32_t size = 0;
  bool visible = false;
  friend bool operator==(const CursorInfo&, const CursorInfo&) = default;
};

// An inclusive rectangle of cells, 0-based.
struct CellRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

enum class InputEventType : std::uint8_t { Key, Mouse, WindowBufferSize, Menu, Focus };

// Control-key state flags of a key event, with the console's values.
namespace control_key {
inline constexpr std::uint32_t kRightAltPressed = 0x0001;
inline constexpr std::uint32_t kLeftAltPressed = 0x0002;
inline constexpr std::uint32_t kRightCtrlPressed = 0x0004;
inline constexpr std::uint32_t kLeftCtrlPressed = 0x0008;
inline constexpr std::uint32_t kShiftPressed = 0x0010;
inline constexpr std::uint32_t kNumLockOn = 0x0020;
inline constexpr std::uint32_t kScrollLockOn = 0x0040;
inline constexpr std::uint32_t kCapsLockOn = 0x0080;
inline constexpr std::uint32_t kEnhancedKey = 0x0100;
}  // namespace control_key

// One console input event. Only key events carry the fields below it.
struct InputRecord {
  InputEventType eventType = InputEventType::Key;
  bool keyDown = true;
  std::uint16_t repeatCount = 1;
  std::uint16_t virtualKeyCode = 0;
  std::uint16_t virtualScanCode = 0;
  std::uint8_t asciiChar = 0;
  std::uint32_t controlKeyState = 0;
  friend bool operator==(const InputRecord&, const InputRecord&) = default;
};

// The console seam: exactly the console services that the console text layer,
// the line editor and the message box drawn in the console rely on, modelled
// on the Windows console API. The layer above checks no result except where
// one is returned here. Each platform (the Windows console, a POSIX terminal,
// the in-memory console of the tests) implements it once.
class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  // Buffer size and cursor. A device that cannot tell reports all zeros.
  virtual ScreenBufferInfo GetScreenBufferInfo() = 0;
  // Writes a run of cells into one row from `column` on; the cursor stays.
  virtual void WriteOutput(std::span<const Cell> cells, int column, int row) = 0;
  // Reads back `count` cells of one row from `column` on; cells that cannot
  // be read come back blank.
  virtual std::vector<Cell> ReadOutput(int column, int row, int count) = 0;
  // Moves the cells of `scroll` so that its top-left lands at (column, row) and
  // fills the cells it uncovers with `fill`.
  virtual void ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) = 0;
  // Write one character, or one attribute, into `count` consecutive cells from
  // (column, row), running on from row to row and stopping at the buffer's end.
  virtual void FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) = 0;
  virtual void FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) = 0;
  // The console's own current attribute.
  virtual void SetTextAttribute(std::uint8_t attribute) = 0;
  virtual void SetCursorPosition(int column, int row) = 0;
  virtual std::optional<CursorInfo> GetCursorInfo() = 0;
  virtual void SetCursorInfo(const CursorInfo& info) = 0;

  // A copy of the oldest pending input record, left pending; none when nothing
  // is pending or the input cannot be read.
  virtual std::optional<InputRecord> PeekInput() = 0;
  // Removes the oldest pending input record; only called after PeekInput
  // showed one, so it never waits.
  virtual void ReadInput() = 0;

  // Starts the system's default sound and returns at once.
  virtual void Beep() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

}  // namespace corvane
