#pragma once

#include <deque>
#include <string_view>
#include <vector>

#include "platform/posix/posix_window_library.hpp"
#include "platform/posix/terminal_key_decoder.hpp"
#include "platform/posix/terminal_renderer.hpp"
#include "platform/screen/buffered_console.hpp"
#include "platform/screen/screen_drawing.hpp"

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
// Only one PosixConsole may exist at a time: the signal handlers reach the
// terminal's saved settings through the process-wide record they need.
class PosixConsole : public BufferedConsole, public TerminalWindow {
 public:
  // Takes over the process's terminal. The screen buffer first has the
  // terminal's size (80 by 25 when the size cannot be learnt). Nothing is
  // drawn until the first operation that changes the screen.
  PosixConsole();
  ~PosixConsole() override;
  PosixConsole(const PosixConsole&) = delete;
  PosixConsole& operator=(const PosixConsole&) = delete;

  // False when /dev/tty could not be opened: there is then no screen to draw
  // on and no keyboard to read, and the console leaves the terminal alone.
  bool HasTerminal() const { return inputFile_ >= 0 && outputFile_ >= 0; }

  std::optional<InputRecord> PeekInput() override;
  void ReadInput() override;
  void Beep() override;
  void Sleep(std::chrono::milliseconds duration) override;

  void WriteControlSequence(std::string_view sequence) override;

 private:
  // The terminal's files and size, as the console starts: a file is -1 where
  // /dev/tty could not be opened.
  struct Terminal {
    int inputFile = -1;
    int outputFile = -1;
    int ownOutputFile = -1;
    int columns = 0;
    int rows = 0;
  };
  static Terminal OpenTerminal();
  explicit PosixConsole(const Terminal& terminal);

  void FollowConsole() override;
  void Show() override;
  void Write(std::string_view bytes);
  void ReadPendingBytes();

  int inputFile_;
  int outputFile_;
  int ownOutputFile_;  // /dev/tty, opened here when standard output is redirected
  int columns_;        // the terminal's size
  int rows_;
  ShownScreen shown_;
  TerminalRenderer renderer_;
  TerminalKeyDecoder decoder_;
  std::deque<InputRecord> input_;
};

}  // namespace corvane
