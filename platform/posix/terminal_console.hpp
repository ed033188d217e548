#pragma once

#include <deque>
#include <string_view>
#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/memory/screen_buffer.hpp"
#include "platform/posix/terminal_key_decoder.hpp"
#include "platform/posix/terminal_renderer.hpp"
#include "platform/posix/terminal_window_library.hpp"

namespace corvane {

// The console on a POSIX terminal. The screen buffer lives in memory; after
// every operation that changes it or the cursor, the changes are drawn on the
// terminal: on standard output when that is a terminal, otherwise on /dev/tty
// itself, never into a redirected stream. Keys are read from /dev/tty, never
// from standard input, with the terminal in raw mode, so Ctrl+C, Ctrl+S and
// Ctrl+Z arrive as keys.
//
// Ending the process: Ctrl+\ (the counterpart of Ctrl+Break) and every signal
// that ends a process end it by the signal's own effect, after the
// terminal's line settings, colours, autowrap and cursor have been put back;
// the screen's contents stay. The same settings are put back by the
// destructor and, should the process end through exit() with the console
// still alive, at exit. SIGTSTP suspends with the terminal put back; after
// SIGCONT or SIGWINCH the next operation redraws the whole terminal.
//
// Only one TerminalConsole may exist at a time: the signal handlers reach the
// terminal's saved settings through the process-wide record they need.
class TerminalConsole : public ConsoleDevice, public TerminalWindow {
 public:
  // Takes over the process's terminal. The screen buffer first has the
  // terminal's size (80 by 25 when the size cannot be learnt). Nothing is
  // drawn until the first operation that changes the screen.
  TerminalConsole();
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // False when /dev/tty could not be opened: there is then no screen to draw
  // on and no keyboard to read, and the console leaves the terminal alone.
  bool HasTerminal() const { return inputFile_ >= 0 && outputFile_ >= 0; }

  const ScreenBuffer& Screen() const { return screen_; }

  // A new screen buffer size; cells inside both sizes keep their place.
  void Resize(int width, int height);

  // Puts the terminal's settings back; later calls do nothing. The
  // destructor calls it.
  void RestoreTerminal();

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

  void WriteControlSequence(std::string_view sequence) override;
  void ResizeScreenBuffer(int width, int height) override;

 private:
  void FollowTerminalResize();
  void Present();
  void Write(std::string_view bytes);
  void ReadPendingBytes();
  void Accept(const std::vector<InputRecord>& records);

  int inputFile_ = -1;
  int outputFile_ = -1;
  int ownOutputFile_ = -1;  // /dev/tty, opened here when standard output is redirected
  ScreenBuffer screen_;
  TerminalRenderer renderer_;
  TerminalKeyDecoder decoder_;
  std::deque<InputRecord> input_;
  bool restored_ = false;
};

}  // namespace corvane
