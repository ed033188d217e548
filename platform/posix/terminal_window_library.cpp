#include "platform/posix/terminal_window_library.hpp"

#include "platform/message_box/message_box.hpp"
#include "platform/posix/cp437.hpp"

namespace corvane {
namespace {

constexpr int kConsoleColumns = 80;
constexpr std::int32_t kMostRows = 9999;

}  // namespace

std::string TitleSequence(std::string_view title) {
  std::string sequence = "\x1B]0;";
  for (char c : title) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    AppendCp437Glyph(sequence, byte);
  }
  sequence += "\x07";
  return sequence;
}

TerminalWindowLibrary::TerminalWindowLibrary(ConsoleDevice& device, const ScreenBuffer& screen, TerminalWindow& window)
    : device_(device), screen_(screen), window_(window) {}

void TerminalWindowLibrary::InitConsoleTools(std::uintptr_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t&,
                                             std::int32_t) {}

void TerminalWindowLibrary::ConsoleToolBar(std::int32_t, std::int32_t) {}

void TerminalWindowLibrary::ConsoleTitle(std::string_view title) { window_.WriteControlSequence(TitleSequence(title)); }

void TerminalWindowLibrary::ConsoleIcon(std::int32_t) {}

void TerminalWindowLibrary::DeleteWindowMenuItem(std::int32_t) {}

void TerminalWindowLibrary::Console80x(std::int32_t rows) {
  if (rows < 1 || rows > kMostRows) return;
  window_.ResizeScreenBuffer(kConsoleColumns, rows);
  window_.WriteControlSequence("\x1B[8;" + std::to_string(rows) + ";" + std::to_string(kConsoleColumns) + "t");
}

void TerminalWindowLibrary::ConsoleMove(std::int32_t, std::int32_t) {}

void TerminalWindowLibrary::ConsoleMessageBox(std::string_view text, std::int32_t, std::string_view caption,
                                              std::int32_t, std::int32_t) {
  ShowMessageBox(device_, ReadCellsOf(screen_), text, caption);
}

}  // namespace corvane
