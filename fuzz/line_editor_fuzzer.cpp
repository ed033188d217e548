// Types arbitrary console input records into the line editor, then waits for
// the final key with what is left. Each record takes six bytes: event type,
// key-down flag, character, scan code and two bytes of control-key state.
//
// The first byte picks the screen. On a screen of 80 by 126 cells the line,
// typed from row 1, column 1, can never scroll, and the screen must then show
// exactly the returned text, blanks after it and the cursor right behind it.
// On any other size (1 to 64 by 1 to 16 cells) only the bounds are checked.
// Either way no write may reach outside the screen, and the text holds at
// most 10000 bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "dialogue/console_text.hpp"
#include "dialogue/key_events.hpp"
#include "dialogue/line_input.hpp"
#include "platform/screen/memory_console.hpp"

namespace {

using namespace corvane;

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr int kRoomyWidth = 80;
constexpr int kRoomyHeight = 126;  // 10080 cells: room for the longest line
constexpr std::size_t kRecordBytes = 6;

// The in-memory console, refusing every write that would reach past the
// screen's edge instead of clipping it.
class BoundedConsole : public MemoryConsole {
 public:
  using MemoryConsole::MemoryConsole;
  void WriteOutput(std::span<const Cell> cells, int column, int row) override {
    const ScreenBufferInfo info = GetScreenBufferInfo();
    Require(row >= 0 && row < info.height && column >= 0);
    Require(static_cast<std::size_t>(column) + cells.size() <= static_cast<std::size_t>(info.width));
    MemoryConsole::WriteOutput(cells, column, row);
  }
  void SetCursorPosition(int column, int row) override {
    const ScreenBufferInfo info = GetScreenBufferInfo();
    Require(column >= 0 && column < info.width && row >= 0 && row < info.height);
    MemoryConsole::SetCursorPosition(column, row);
  }
};

InputRecord Record(const std::uint8_t* bytes) {
  InputRecord record;
  record.eventType = static_cast<InputEventType>(bytes[0] % 5);
  record.keyDown = (bytes[1] & 1) != 0;
  record.asciiChar = bytes[2];
  record.virtualScanCode = bytes[3];
  record.controlKeyState = static_cast<std::uint32_t>(bytes[4] | bytes[5] << 8);
  return record;
}

InputRecord EnterKey() {
  InputRecord enter;
  enter.asciiChar = 13;
  enter.virtualScanCode = 0x1C;
  return enter;
}

// The whole screen in reading order, one byte per cell.
std::string Cells(const MemoryConsole& console) {
  std::string cells;
  const ScreenBuffer& screen = console.Screen();
  for (int row = 0; row < screen.Height(); ++row) {
    for (int column = 0; column < screen.Width(); ++column) {
      cells.push_back(static_cast<char>(screen.At(column, row).character));
    }
  }
  return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool roomy = data[0] < 128;
  const int width = roomy ? kRoomyWidth : 1 + data[0] % 64;
  const int height = roomy ? kRoomyHeight : 1 + (data[0] >> 2) % 16;
  BoundedConsole device(width, height);
  ConsoleText console(device);
  console.OpenConsole();
  for (std::size_t at = 1; at + kRecordBytes <= size; at += kRecordBytes) device.QueueInput(Record(data + at));

  // Once the records are used up the line is ended, after a picture of the
  // screen as the typing left it.
  std::string typed;
  std::size_t cursor = 0;
  bool ended = false;
  device.SetOnIdle([&] {
    if (ended) return;
    ended = true;
    typed = Cells(device);
    const ScreenBuffer& screen = device.Screen();
    cursor = static_cast<std::size_t>(screen.CursorRow()) * width + static_cast<std::size_t>(screen.CursorColumn());
    device.QueueInput(EnterKey());
  });
  const ByteString text = ReadLine(console);
  Require(text.size() <= kMaxLineLength);
  if (roomy && ended) {
    Require(cursor == text.size());
    Require(typed.compare(0, text.size(), text) == 0);
    Require(typed.find_first_not_of(' ', text.size()) == std::string::npos);
  }

  device.SetOnIdle(nullptr);
  device.SetIdleLookLimit(0);
  try {
    AwaitKeyPress(console);
    Require(PeekKeyEvent(device).kind != KeyKind::None);
  } catch (const InputExhausted&) {
    // Nothing left that counts as a key: the wait would go on.
  }
  return 0;
}
