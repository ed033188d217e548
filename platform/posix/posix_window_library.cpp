#include "platform/posix/posix_window_library.hpp"

#include "platform/posix/cp437.hpp"
#include "platform/window_library/console_size.hpp"
#include "platform/window_library/message_box.hpp"

namespace corvane {

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

PosixWindowLibrary::PosixWindowLibrary(BufferedConsole& console, TerminalWindow& terminal)
    : console_(console), terminal_(terminal) {}

void PosixWindowLibrary::InitConsoleTools(std::uintptr_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t&,
                                          std::int32_t) {}

void PosixWindowLibrary::ConsoleToolBar(std::int32_t, std::int32_t) {}

void PosixWindowLibrary::ConsoleTitle(std::string_view title) { terminal_.WriteControlSequence(TitleSequence(title)); }

void PosixWindowLibrary::ConsoleIcon(std::int32_t) {}

void PosixWindowLibrary::DeleteWindowMenuItem(std::int32_t) {}

void PosixWindowLibrary::Console80x(std::int32_t rows) {
  if (!IsConsoleRowCount(rows)) return;
  console_.ResizeScreen(kConsoleColumns, rows);
  terminal_.WriteControlSequence("\x1B[8;" + std::to_string(rows) + ";" + std::to_string(kConsoleColumns) + "t");
}

void PosixWindowLibrary::ConsoleMove(std::int32_t, std::int32_t) {}

void PosixWindowLibrary::ConsoleMessageBox(std::string_view text, std::int32_t, std::string_view caption, std::int32_t,
                                           std::int32_t) {
  ShowMessageBox(console_, text, caption);
}

}  // namespace corvane
