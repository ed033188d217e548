#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/memory/screen_buffer.hpp"

namespace corvane {

// Thrown by the in-memory console when the program keeps polling for input
// that the test never queued, so that a test fails instead of hanging.
class InputExhausted : public std::runtime_error {
 public:
  InputExhausted() : std::runtime_error("the program waits for input that the test did not queue") {}
};

// A console held entirely in memory, for the tests: a screen buffer of any
// size, a queue of input records, and counts of beeps and of time slept.
class MemoryConsole : public ConsoleDevice {
 public:
  MemoryConsole(int width, int height);

  ScreenBuffer& Screen() { return screen_; }
  const ScreenBuffer& Screen() const { return screen_; }

  // The characters of one row (0-based), right-trimmed of blanks.
  std::string RowText(int row) const;
  // Every row, in order, right-trimmed.
  std::vector<std::string> Rows() const;

  void QueueInput(const InputRecord& record) { input_.push_back(record); }
  std::size_t PendingInput() const { return input_.size(); }
  // How many empty looks at the input are tolerated before InputExhausted.
  void SetIdleLookLimit(int limit) { idleLookLimit_ = limit; }
  // Called whenever a look at the input finds the queue empty, before the limit
  // is checked; a test can queue more input from here.
  void SetOnIdle(std::function<void()> onIdle) { onIdle_ = std::move(onIdle); }
  // Called after every change of the screen or the cursor, as a console
  // window redraws after each.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  int Beeps() const { return beeps_; }
  std::chrono::milliseconds Slept() const { return slept_; }
  // Every pause asked for, in order.
  const std::vector<std::chrono::milliseconds>& Sleeps() const { return sleeps_; }
  // Makes GetCursorInfo fail, as on a console that cannot report its cursor.
  void FailCursorInfo(bool fail) { failCursorInfo_ = fail; }

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
  void Changed() {
    if (onChange_) onChange_();
  }

  ScreenBuffer screen_;
  std::deque<InputRecord> input_;
  std::function<void()> onIdle_;
  std::function<void()> onChange_;
  int idleLookLimit_ = 100000;
  int idleLooks_ = 0;
  int beeps_ = 0;
  std::chrono::milliseconds slept_{0};
  std::vector<std::chrono::milliseconds> sleeps_;
  bool failCursorInfo_ = false;
};

}  // namespace corvane
