#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/screen/buffered_console.hpp"

namespace corvane {

// Thrown by the in-memory console when the program keeps polling for input
// that the test never queued, so that a test fails instead of hanging.
class InputExhausted : public std::runtime_error {
 public:
  InputExhausted() : std::runtime_error("the program waits for input that the test did not queue") {}
};

// The console of the tests and the fuzzers: a screen of any size with nothing
// that shows it, a queue of input records, and the beeps and pauses asked for.
class MemoryConsole : public BufferedConsole {
 public:
  using BufferedConsole::BufferedConsole;

  // Every row, in order, right-trimmed of blanks.
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
  // Every pause asked for, in order.
  const std::vector<std::chrono::milliseconds>& Sleeps() const { return sleeps_; }

  std::optional<InputRecord> PeekInput() override;
  void ReadInput() override;
  void Beep() override { ++beeps_; }
  void Sleep(std::chrono::milliseconds duration) override { sleeps_.push_back(duration); }

 private:
  void Show() override {
    if (onChange_) onChange_();
  }

  std::deque<InputRecord> input_;
  std::function<void()> onIdle_;
  std::function<void()> onChange_;
  int idleLookLimit_ = 100000;
  int idleLooks_ = 0;
  int beeps_ = 0;
  std::vector<std::chrono::milliseconds> sleeps_;
};

}  // namespace corvane
