#pragma once

#include "dialogue/console_device.hpp"
#include "platform/screen/screen_buffer.hpp"

namespace corvane {

// A console whose screen buffer is held in memory: the output half of the
// console seam is carried out on the buffer, and after every change of it or
// of its cursor the console shows it (Show). The in-memory console of the
// tests, the POSIX terminal and a Windows console that cannot show the whole
// screen are each one of these; the input half is theirs.
class BufferedConsole : public ConsoleDevice {
 public:
  BufferedConsole(int width, int height);

  const ScreenBuffer& Screen() const { return screen_; }
  // A new size for the screen buffer; cells inside both sizes keep their place.
  void ResizeScreen(int width, int height);

  ScreenBufferInfo GetScreenBufferInfo() override;
  void WriteOutput(std::span<const Cell> cells, int column, int row) override;
  std::vector<Cell> ReadOutput(int column, int row, int count) override;
  void ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) override;
  void FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) override;
  void FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) override;
  void SetTextAttribute(std::uint8_t attribute) override;
  void SetCursorPosition(int column, int row) override;
  std::optional<CursorInfo> GetCursorInfo() override;
  void SetCursorInfo(const CursorInfo& info) override;

 protected:
  // Called before every use of the console: where the console that shows the
  // screen has changed its size, or lost what it showed, it shows the screen
  // afresh.
  virtual void FollowConsole() {}
  // Called after every change of the screen or its cursor.
  virtual void Show() = 0;

 private:
  ScreenBuffer screen_;
};

}  // namespace corvane
