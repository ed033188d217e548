#include "platform/posix/terminal_console.hpp"

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

TerminalConsole::TerminalConsole()
    : screen_(kFallbackColumns, kFallbackRows), renderer_(kFallbackColumns, kFallbackRows) {
  // The screen goes to standard output when that is the terminal, and to the
  // terminal itself otherwise: escape sequences never go into a redirected
  // stream.
  if (::isatty(STDOUT_FILENO)) {
    outputFile_ = STDOUT_FILENO;
  } else {
    ownOutputFile_ = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    outputFile_ = ownOutputFile_;
  }
  inputFile_ = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (!HasTerminal()) return;
  const TerminalSize size = QueryTerminalSize(outputFile_, inputFile_);
  screen_.Resize(size.columns, size.rows);
  renderer_.SetTerminalSize(size.columns, size.rows);
  BeginTerminalSession(inputFile_, outputFile_);
}

TerminalConsole::~TerminalConsole() {
  RestoreTerminal();
  if (inputFile_ >= 0) ::close(inputFile_);
  if (ownOutputFile_ >= 0) ::close(ownOutputFile_);
}

void TerminalConsole::RestoreTerminal() {
  if (restored_ || !HasTerminal()) return;
  restored_ = true;
  EndTerminalSession();
}

void TerminalConsole::Resize(int width, int height) {
  FollowTerminalResize();
  if (width < 1 || height < 1) return;
  screen_.Resize(width, height);
  Present();
}

// After a SIGWINCH or a return from being stopped the terminal's size and
// contents are unknown: redraw them all.
void TerminalConsole::FollowTerminalResize() {
  if (!TakeRedrawNotice()) return;
  const TerminalSize size = QueryTerminalSize(outputFile_, inputFile_);
  renderer_.SetTerminalSize(size.columns, size.rows);
  Present();
}

void TerminalConsole::Present() { Write(renderer_.Render(screen_)); }

void TerminalConsole::Write(std::string_view bytes) {
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

ScreenBufferInfo TerminalConsole::GetScreenBufferInfo() {
  FollowTerminalResize();
  return screen_.Info();
}

void TerminalConsole::WriteOutput(std::span<const Cell> cells, int column, int row) {
  FollowTerminalResize();
  screen_.WriteOutput(cells, column, row);
  Present();
}

void TerminalConsole::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow, Cell fill) {
  FollowTerminalResize();
  screen_.ScrollScreenBuffer(scroll, destinationColumn, destinationRow, fill);
  Present();
}

void TerminalConsole::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  FollowTerminalResize();
  screen_.FillOutputCharacter(character, count, column, row);
  Present();
}

void TerminalConsole::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  FollowTerminalResize();
  screen_.FillOutputAttribute(attribute, count, column, row);
  Present();
}

void TerminalConsole::SetTextAttribute(std::uint8_t attribute) {
  FollowTerminalResize();
  screen_.SetTextAttribute(attribute);
}

void TerminalConsole::SetCursorPosition(int column, int row) {
  FollowTerminalResize();
  screen_.SetCursorPosition(column, row);
  Present();
}

std::optional<CursorInfo> TerminalConsole::GetCursorInfo() {
  FollowTerminalResize();
  return screen_.Cursor();
}

void TerminalConsole::SetCursorInfo(const CursorInfo& info) {
  FollowTerminalResize();
  screen_.SetCursorInfo(info);
  Present();
}

std::optional<InputRecord> TerminalConsole::PeekInput() {
  FollowTerminalResize();
  if (inputFile_ < 0) return std::nullopt;
  if (input_.empty()) ReadPendingBytes();
  if (input_.empty()) return std::nullopt;
  return input_.front();
}

void TerminalConsole::ReadInput() {
  if (!input_.empty()) input_.pop_front();
}

void TerminalConsole::ReadPendingBytes() {
  std::array<std::uint8_t, 256> bytes{};
  for (;;) {
    pollfd input{inputFile_, POLLIN, 0};
    if (::poll(&input, 1, 0) <= 0 || (input.revents & POLLIN) == 0) break;
    const ssize_t count = ::read(inputFile_, bytes.data(), bytes.size());
    if (count <= 0) break;
    Accept(decoder_.Feed(std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(count)),
                         TerminalKeyDecoder::Clock::now()));
  }
  Accept(decoder_.Flush(TerminalKeyDecoder::Clock::now()));
}

void TerminalConsole::Accept(const std::vector<InputRecord>& records) {
  input_.insert(input_.end(), records.begin(), records.end());
}

void TerminalConsole::Beep() {
  FollowTerminalResize();
  Write("\x07");
}

void TerminalConsole::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

void TerminalConsole::WriteControlSequence(std::string_view sequence) {
  FollowTerminalResize();
  Write(sequence);
}

void TerminalConsole::ResizeScreenBuffer(int width, int height) { Resize(width, height); }

}  // namespace corvane
