#pragma once

#include <cstdint>

#include "common/byte_string.hpp"
#include "dialogue/console_device.hpp"

namespace corvane {

// The tool's own layer for text on the console. Every character becomes one
// cell written straight into the screen buffer, so no byte has a control
// meaning; line ends, wrapping at the right edge and scrolling at the bottom
// are this layer's own work. Rows and columns in this interface are 1-based.
// The layer keeps neither the cursor nor the buffer size: every operation reads
// both from the device afresh, so it stays right when something else resizes
// the buffer or moves the cursor.
class ConsoleText {
 public:
  explicit ConsoleText(ConsoleDevice& device);

  // Takes the cursor shape from the console and sets the starting colours
  // (light grey on black). Writes nothing.
  void OpenConsole();

  void PrintText(ByteView text);
  void PrintChar(std::uint8_t character);
  void NewLine();
  void MoveCursor(std::int32_t row, std::int32_t column);
  std::int32_t CursorRow();
  void StepBack();
  void SetColours(std::int32_t foreground, std::int32_t background, std::int32_t count);
  void ClearScreen();
  void SetCursorMode(std::int32_t mode);
  void OverrideCursor(bool visible);
  void RestoreCursor();
  void SystemBeep();
  void Pause(std::uint32_t milliseconds);

  ConsoleDevice& Device() { return device_; }

  // The design's own flag pendingLineFeed, for the tests to read: nothing in
  // the tool asks for it, since only this layer acts on it.
  bool PendingLineFeed() const { return pendingLineFeed_; }

 private:
  void ScrollUp();
  std::uint8_t Attribute() const;

  ConsoleDevice& device_;
  std::uint32_t foreground_ = 7;
  std::uint32_t background_ = 0;
  // The last write filled the last cell of the bottom row: one scroll is owed
  // before anything more is written there.
  bool pendingLineFeed_ = false;
  std::uint32_t cursorSize_ = 10;
  bool cursorVisible_ = true;
  // The console cursor's visibility was overridden and must be set back to
  // cursorVisible_.
  bool cursorRestoreDue_ = false;
};

}  // namespace corvane
