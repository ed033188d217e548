#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogue/console_window_library.hpp"
#include "platform/screen/buffered_console.hpp"

namespace corvane {

// What the window library needs of a terminal beyond the console seam.
class TerminalWindow {
 public:
  virtual ~TerminalWindow() = default;
  // Sends a control sequence to the terminal as it stands.
  virtual void WriteControlSequence(std::string_view sequence) = 0;
};

// The console-window library on a terminal. A terminal has no tool bar, icon,
// system menu or window position of its own, so those calls do nothing; the
// title and the window size go to the terminal as control sequences, and the
// message box is drawn into the console's screen buffer.
class PosixWindowLibrary : public ConsoleWindowLibrary {
 public:
  PosixWindowLibrary(BufferedConsole& console, TerminalWindow& terminal);

  void InitConsoleTools(std::uintptr_t instance, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t& variable,
                        std::int32_t d) override;
  void ConsoleToolBar(std::int32_t a, std::int32_t b) override;
  void ConsoleTitle(std::string_view title) override;
  void ConsoleIcon(std::int32_t icon) override;
  void DeleteWindowMenuItem(std::int32_t item) override;
  // The screen buffer becomes 80 columns by `rows`, and the terminal is asked
  // for a window of that size.
  void Console80x(std::int32_t rows) override;
  void ConsoleMove(std::int32_t x, std::int32_t y) override;
  void ConsoleMessageBox(std::string_view text, std::int32_t a, std::string_view caption, std::int32_t b,
                         std::int32_t c) override;

 private:
  BufferedConsole& console_;
  TerminalWindow& terminal_;
};

// The OSC sequence that sets the terminal's title. The title's bytes are code
// page 437; control bytes are left out, as they could end the sequence early.
std::string TitleSequence(std::string_view title);

}  // namespace corvane
