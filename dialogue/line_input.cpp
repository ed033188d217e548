#include "dialogue/line_input.hpp"

#include <array>

#include "dialogue/key_events.hpp"

namespace corvane {

namespace {
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
}  // namespace

ByteString ReadLine(ConsoleText& console) {
  std::array<char, kMaxLineLength> line;
  std::size_t n = 0;
  console.OverrideCursor(true);
  for (;;) {
    const std::uint8_t code = ReadKeyChar(console.Device());
    // Backspace and Enter come before the length limit, so both work on a
    // full line.
    if (code == kBackspace) {
      if (n > 0) {
        console.StepBack();
        console.PrintChar(' ');
        console.StepBack();
        --n;
      }
    } else if (code == kEnter) {
      console.NewLine();
      ByteString text(line.data(), n);
      console.RestoreCursor();
      return text;
    } else if (code >= 32 && n < kMaxLineLength) {
      line[n++] = static_cast<char>(code);
      console.PrintChar(code);
    }
  }
}

void AwaitKeyPress(ConsoleText& console) {
  ConsoleDevice& device = console.Device();
  while (PeekKeyEvent(device).kind == KeyKind::None) device.Sleep(std::chrono::milliseconds(1));
}

}  // namespace corvane
