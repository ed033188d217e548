#pragma once

#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/screen/screen_drawing.hpp"

namespace corvane {

// The console seam over the Windows console API, one console call per
// operation: what WindowsConsole draws through, and what it passes every call
// to while the console shows the whole screen. Handles are kept as void*,
// which is what a Windows HANDLE is, so that this header does not bring in
// windows.h.
class WindowsConsoleApi : public ConsoleDevice {
 public:
  // Opens the process's console the way the tool uses it: output goes to
  // standard output when that is a console, otherwise to standard error, and
  // to the console's own screen buffer "CONOUT$" when both are redirected, so
  // never into a redirected file; keys are read from the console input
  // "CONIN$", never from standard input. The output mode becomes processed
  // output with wrapping at the end of a line (3) and the input mode 0 (no
  // line editing, no echo, no processed Ctrl+C, no window or mouse events).
  // No control handler is installed: Ctrl+Break and closing the window end the
  // process by the system's default.
  WindowsConsoleApi();
  // Works on the given screen buffer and console input, as they are.
  WindowsConsoleApi(void* outputHandle, void* inputHandle);
  ~WindowsConsoleApi() override;
  WindowsConsoleApi(const WindowsConsoleApi&) = delete;
  WindowsConsoleApi& operator=(const WindowsConsoleApi&) = delete;

  // False when "CONIN$" could not be opened: every look at the input then
  // finds nothing pending.
  bool HasInput() const;
  void* OutputHandle() const { return output_; }

  // The part of the screen buffer that the console's window shows; none when
  // the console cannot say.
  std::optional<Viewport> Window();
  // The console's current attribute, where it can say.
  std::optional<std::uint8_t> TextAttribute();
  // Gives the screen buffer `columns` by `rows` cells and the window the part
  // of it from the top-left corner that is `windowColumns` by `windowRows`,
  // as far as the console allows each. These are the only size calls the
  // tool makes.
  virtual void Resize(int columns, int rows, int windowColumns, int windowRows);

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
  void* output_;
  void* input_;
  bool ownsInput_ = false;
  bool ownsOutput_ = false;
};

}  // namespace corvane
