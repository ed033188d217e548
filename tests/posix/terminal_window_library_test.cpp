#include "platform/posix/terminal_window_library.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"

namespace corvane {
namespace {

// A terminal window that records what the library asks of it, in order.
struct RecordingWindow : TerminalWindow {
  void WriteControlSequence(std::string_view sequence) override { calls.emplace_back(sequence); }
  void ResizeScreenBuffer(int w, int h) override { calls.push_back(std::to_string(w) + "x" + std::to_string(h)); }
  std::vector<std::string> calls;
};

TEST(TerminalWindowLibrary, TitleAndSizeGoToTheTerminal) {
  MemoryConsole console(80, 25);
  RecordingWindow window;
  TerminalWindowLibrary library(console, console.Screen(), window);
  library.ConsoleTitle("Cor\x07\x1B]vane\x82");  // control bytes could end the title's sequence early
  library.Console80x(42);
  library.Console80x(0);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"\x1B]0;Cor]vaneé\x07", "80x42", "\x1B[8;42;80t"}));
}

}  // namespace
}  // namespace corvane
