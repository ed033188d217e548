#include "platform/posix/posix_window_library.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screen/memory_console.hpp"

namespace corvane {
namespace {

// A terminal window that records the control sequences the library sends.
struct RecordingWindow : TerminalWindow {
  void WriteControlSequence(std::string_view sequence) override { calls.emplace_back(sequence); }
  std::vector<std::string> calls;
};

TEST(PosixWindowLibrary, TitleAndSizeGoToTheTerminal) {
  MemoryConsole console(80, 25);
  RecordingWindow window;
  PosixWindowLibrary library(console, window);
  library.ConsoleTitle("Cor\x07\x1B]vane\x82");  // control bytes could end the title's sequence early
  for (const std::int32_t rows : {42, 0, 10000}) library.Console80x(rows);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"\x1B]0;Cor]vaneé\x07", "\x1B[8;42;80t"}));
  EXPECT_EQ(std::pair(console.Screen().Width(), console.Screen().Height()), std::pair(80, 42));
}

}  // namespace
}  // namespace corvane
