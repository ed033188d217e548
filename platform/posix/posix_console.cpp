#include "platform/posix/posix_console.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <thread>

#include "platform/posix/terminal_session.hpp"

namespace corvane {
namespace {

constexpr int kFallbackColumns = 80;
constexpr int kFallbackRows = 25;

struct TerminalSize {
  int columns = kFallbackColumns;
  int rows = kFallbackRows;
};

TerminalSize QueryTerminalSize(int outputFile, int inputFile) {
  for (int file : {outputFile, inputFile}) {
    winsize size{};
    if (file >= 0 && ::ioctl(file, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
      return {size.ws_col, size.ws_row};
    }
  }
  return {};
}

}  // namespace

PosixConsole::Terminal PosixConsole::OpenTerminal() {
  Terminal terminal;
  // The screen goes to standard output when that is the terminal, and to the
  // terminal itself otherwise: escape sequences never go into a redirected
  // stream.
  if (::isatty(STDOUT_FILENO)) {
    terminal.outputFile = STDOUT_FILENO;
  } else {
    terminal.ownOutputFile = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    terminal.outputFile = terminal.ownOutputFile;
  }
  terminal.inputFile = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  const TerminalSize size = QueryTerminalSize(terminal.outputFile, terminal.inputFile);
  terminal.columns = size.columns;
  terminal.rows = size.rows;
  return terminal;
}

PosixConsole::PosixConsole() : PosixConsole(OpenTerminal()) {}

PosixConsole::PosixConsole(const Terminal& terminal)
    : BufferedConsole(terminal.columns, terminal.rows), inputFile_(terminal.inputFile),
      outputFile_(terminal.outputFile), ownOutputFile_(terminal.ownOutputFile), columns_(terminal.columns),
      rows_(terminal.rows) {
  if (HasTerminal()) BeginTerminalSession(inputFile_, outputFile_);
}

PosixConsole::~PosixConsole() {
  if (HasTerminal()) EndTerminalSession();
  if (inputFile_ >= 0) ::close(inputFile_);
  if (ownOutputFile_ >= 0) ::close(ownOutputFile_);
}

// After a SIGWINCH or a return from being stopped the terminal's size and
// contents are unknown: redraw them all.
void PosixConsole::FollowConsole() {
  if (!TakeRedrawNotice()) return;
  const TerminalSize size = QueryTerminalSize(outputFile_, inputFile_);
  columns_ = size.columns;
  rows_ = size.rows;
  shown_.cells.clear();
  Show();
}

void PosixConsole::Show() {
  ScreenDrawing drawing = DrawScreen(Screen(), std::move(shown_), columns_, rows_);
  Write(renderer_.Render(drawing));
  shown_ = std::move(drawing.shown);
}

void PosixConsole::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(outputFile_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        pollfd output{outputFile_, POLLOUT, 0};
        ::poll(&output, 1, 100);
        continue;
      }
      return;  // the terminal is gone; the screen buffer still holds everything
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::optional<InputRecord> PosixConsole::PeekInput() {
  FollowConsole();
  if (inputFile_ < 0) return std::nullopt;
  if (input_.empty()) ReadPendingBytes();
  if (input_.empty()) return std::nullopt;
  return input_.front();
}

void PosixConsole::ReadInput() {
  if (!input_.empty()) input_.pop_front();
}

void PosixConsole::ReadPendingBytes() {
  std::array<std::uint8_t, 256> bytes{};
  const auto accept = [this](const std::vector<InputRecord>& records) {
    input_.insert(input_.end(), records.begin(), records.end());
  };
  for (;;) {
    pollfd input{inputFile_, POLLIN, 0};
    if (::poll(&input, 1, 0) <= 0 || (input.revents & POLLIN) == 0) break;
    const ssize_t count = ::read(inputFile_, bytes.data(), bytes.size());
    if (count <= 0) break;
    accept(decoder_.Feed(std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(count)),
                         TerminalKeyDecoder::Clock::now()));
  }
  accept(decoder_.Flush(TerminalKeyDecoder::Clock::now()));
}

void PosixConsole::Beep() {
  FollowConsole();
  Write("\x07");
}

void PosixConsole::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

void PosixConsole::WriteControlSequence(std::string_view sequence) {
  FollowConsole();
  Write(sequence);
}

}  // namespace corvane
