#include "platform/windows/windows_console.hpp"

#include <algorithm>

#include "platform/screen/buffered_console.hpp"

namespace corvane {

// The screen held in memory, shown on the console through its API: the runs
// of cells that DrawScreen gives are written with WriteConsoleOutputA into
// the console's window, whose top-left cell may lie anywhere in its buffer.
// Keys, the beep and pauses go to the console as they are.
class WindowsConsole::InMemory : public BufferedConsole {
 public:
  InMemory(WindowsConsoleApi& api, int columns, int rows, Buffer buffer)
      : BufferedConsole(columns, rows), api_(api), buffer_(buffer) {}

  // Shows the screen from now on in `window`, with the console's buffer cut
  // to it where that is asked for.
  void ShowIn(const Viewport& window) {
    if (buffer_ == Buffer::kCutToWindow) api_.Resize(window.columns, window.rows, window.columns, window.rows);
    window_ = api_.Window().value_or(window);
    shown_.cells.clear();
    Show();
  }

  // The console's own attribute follows too: it is what the console writes
  // in once the tool has ended.
  void SetTextAttribute(std::uint8_t attribute) override {
    BufferedConsole::SetTextAttribute(attribute);
    api_.SetTextAttribute(attribute);
  }
  // The line editor and the key wait look at the input again and again: a
  // window resized meanwhile is shown afresh from here.
  std::optional<InputRecord> PeekInput() override {
    FollowConsole();
    return api_.PeekInput();
  }
  void ReadInput() override { api_.ReadInput(); }
  void Beep() override { api_.Beep(); }
  void Sleep(std::chrono::milliseconds duration) override { api_.Sleep(duration); }

 private:
  // A user who resizes the window sees the screen again at the new size. A
  // pseudo console (Windows Terminal) resizes its buffer with its tab; a
  // console window keeps its buffer, which is cut to the window again.
  void FollowConsole() override {
    const std::optional<Viewport> window = api_.Window();
    if (window_ && window && (window->columns != window_->columns || window->rows != window_->rows)) ShowIn(*window);
  }

  void Show() override {
    if (!window_) return;  // still being filled with what the console showed
    ScreenDrawing drawing = DrawScreen(Screen(), std::move(shown_), window_->columns, window_->rows);
    if (drawing.clearFirst) {
      // Blanks the whole console in the screen's colours: cells of a window
      // wider or taller than the screen stay blank.
      const ScreenBufferInfo console = api_.GetScreenBufferInfo();
      const auto cells = static_cast<std::uint32_t>(std::max(console.width, 0) * std::max(console.height, 0));
      api_.FillOutputCharacter(' ', cells, 0, 0);
      api_.FillOutputAttribute(Screen().TextAttribute(), cells, 0, 0);
    }
    for (const CellRun& run : drawing.runs) {
      api_.WriteOutput(run.cells, window_->left + run.column, window_->top + run.row);
    }
    api_.SetCursorPosition(window_->left + drawing.cursorColumn, window_->top + drawing.cursorRow);
    if (cursor_ != drawing.cursor) api_.SetCursorInfo(drawing.cursor);
    cursor_ = drawing.cursor;
    shown_ = std::move(drawing.shown);
  }

  WindowsConsoleApi& api_;
  Buffer buffer_;
  std::optional<Viewport> window_;  // the console's window over its own buffer, once shown
  ShownScreen shown_;
  std::optional<CursorInfo> cursor_;  // the console's cursor shape, as last set here
};

WindowsConsole::WindowsConsole(WindowsConsoleApi& api) : api_(api) {}

WindowsConsole::~WindowsConsole() = default;

void WindowsConsole::KeepScreenInMemory(int columns, int rows, const Viewport& window, Buffer buffer) {
  const ScreenBufferInfo info = api_.GetScreenBufferInfo();
  const Viewport shownNow = api_.Window().value_or(window);
  auto inMemory = std::make_unique<InMemory>(api_, columns, rows, buffer);
  const std::uint8_t attribute = api_.TextAttribute().value_or(0x07);
  inMemory->SetTextAttribute(attribute);
  inMemory->FillOutputAttribute(attribute, static_cast<std::uint32_t>(columns) * rows, 0, 0);
  for (int row = 0; row < std::min({rows, window.rows, shownNow.rows}); ++row) {
    const int count = std::min({columns, window.columns, shownNow.columns});
    inMemory->WriteOutput(api_.ReadOutput(shownNow.left, shownNow.top + row, count), 0, row);
  }
  inMemory->SetCursorPosition(std::clamp(info.cursorColumn - shownNow.left, 0, columns - 1),
                              std::clamp(info.cursorRow - shownNow.top, 0, rows - 1));
  if (const std::optional<CursorInfo> cursor = api_.GetCursorInfo()) inMemory->SetCursorInfo(*cursor);
  inMemory->ShowIn(window);
  inMemory_ = std::move(inMemory);
}

ConsoleDevice& WindowsConsole::Current() {
  if (inMemory_) return *inMemory_;
  return api_;
}

ScreenBufferInfo WindowsConsole::GetScreenBufferInfo() { return Current().GetScreenBufferInfo(); }

void WindowsConsole::WriteOutput(std::span<const Cell> cells, int column, int row) {
  Current().WriteOutput(cells, column, row);
}

std::vector<Cell> WindowsConsole::ReadOutput(int column, int row, int count) {
  return Current().ReadOutput(column, row, count);
}

void WindowsConsole::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  Current().ScrollScreenBuffer(scroll, destinationColumn, destinationRow, fill);
}

void WindowsConsole::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  Current().FillOutputCharacter(character, count, column, row);
}

void WindowsConsole::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  Current().FillOutputAttribute(attribute, count, column, row);
}

void WindowsConsole::SetTextAttribute(std::uint8_t attribute) { Current().SetTextAttribute(attribute); }

void WindowsConsole::SetCursorPosition(int column, int row) { Current().SetCursorPosition(column, row); }

std::optional<CursorInfo> WindowsConsole::GetCursorInfo() { return Current().GetCursorInfo(); }

void WindowsConsole::SetCursorInfo(const CursorInfo& info) { Current().SetCursorInfo(info); }

std::optional<InputRecord> WindowsConsole::PeekInput() { return Current().PeekInput(); }

void WindowsConsole::ReadInput() { Current().ReadInput(); }

void WindowsConsole::Beep() { Current().Beep(); }

void WindowsConsole::Sleep(std::chrono::milliseconds duration) { Current().Sleep(duration); }

}  // namespace corvane
