#pragma once

#include <memory>

#include "dialogue/console_device.hpp"
#include "platform/screen/screen_drawing.hpp"
#include "platform/windows/windows_console_api.hpp"

namespace corvane {

// The console that the dialogue draws on under Windows. While the console's
// window shows the whole screen buffer, every call goes straight to the
// console (WindowsConsoleApi). In a pseudo console (Windows Terminal), and
// where a window of its own shows less than the dialogue's screen (capped by
// a small display), KeepScreenInMemory makes the screen buffer the tool's
// own, held in memory, and the console shows it by the rule the terminal build
// follows too (DrawScreen): the part of it around the cursor, or all of it
// where the console is larger; the screen is shown afresh whenever the
// console's window changes size.
class WindowsConsole : public ConsoleDevice {
 public:
  // What happens to the console's own buffer: a window of its own has it cut
  // to the window the user sees, with each size the window takes, so that no
  // scroll bar shows; a pseudo console's buffer is its terminal's, and the
  // tool makes no size call there.
  enum class Buffer { kCutToWindow, kLeftAlone };

  explicit WindowsConsole(WindowsConsoleApi& api);
  ~WindowsConsole() override;

  // From now on the screen buffer is `columns` by `rows` cells in memory. It
  // starts with what the console's window shows now, blank in the current
  // colours beyond that; the console's window, as large as `window` (columns
  // and rows), shows it.
  void KeepScreenInMemory(int columns, int rows, const Viewport& window, Buffer buffer);
  bool ScreenInMemory() const { return inMemory_ != nullptr; }

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
  std::optional<InputRecord> PeekInput() override;
  void ReadInput() override;
  void Beep() override;
  void Sleep(std::chrono::milliseconds duration) override;

 private:
  class InMemory;
  ConsoleDevice& Current();

  WindowsConsoleApi& api_;
  std::unique_ptr<InMemory> inMemory_;
};

}  // namespace corvane
