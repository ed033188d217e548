#include "platform/memory/memory_console.hpp"

namespace corvane {

MemoryConsole::MemoryConsole(int width, int height) : screen_(width, height) {}

std::string MemoryConsole::RowText(int row) const {
  std::string text;
  for (int column = 0; column < screen_.Width(); ++column) {
    text.push_back(static_cast<char>(screen_.At(column, row).character));
  }
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::vector<std::string> MemoryConsole::Rows() const {
  std::vector<std::string> rows;
  for (int row = 0; row < screen_.Height(); ++row) rows.push_back(RowText(row));
  return rows;
}

ScreenBufferInfo MemoryConsole::GetScreenBufferInfo() { return screen_.Info(); }

void MemoryConsole::WriteOutput(std::span<const Cell> cells, int column, int row) {
  screen_.WriteOutput(cells, column, row);
  Changed();
}

void MemoryConsole::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  screen_.ScrollScreenBuffer(scroll, destinationColumn, destinationRow, fill);
  Changed();
}

void MemoryConsole::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  screen_.FillOutputCharacter(character, count, column, row);
  Changed();
}

void MemoryConsole::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  screen_.FillOutputAttribute(attribute, count, column, row);
  Changed();
}

void MemoryConsole::SetTextAttribute(std::uint8_t attribute) { screen_.SetTextAttribute(attribute); }

void MemoryConsole::SetCursorPosition(int column, int row) {
  screen_.SetCursorPosition(column, row);
  Changed();
}

std::optional<CursorInfo> MemoryConsole::GetCursorInfo() {
  if (failCursorInfo_) return std::nullopt;
  return screen_.Cursor();
}

void MemoryConsole::SetCursorInfo(const CursorInfo& info) {
  screen_.SetCursorInfo(info);
  Changed();
}

std::optional<InputRecord> MemoryConsole::PeekInput() {
  if (input_.empty() && onIdle_) {
    // A copy runs, so that the callback may replace or clear itself.
    const std::function<void()> onIdle = onIdle_;
    onIdle();
  }
  if (input_.empty()) {
    if (++idleLooks_ > idleLookLimit_) throw InputExhausted();
    return std::nullopt;
  }
  return input_.front();
}

void MemoryConsole::ReadInput() {
  if (!input_.empty()) input_.pop_front();
}

void MemoryConsole::Beep() { ++beeps_; }

void MemoryConsole::Sleep(std::chrono::milliseconds duration) {
  slept_ += duration;
  sleeps_.push_back(duration);
}

}  // namespace corvane
