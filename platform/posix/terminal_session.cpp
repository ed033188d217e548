#include "platform/posix/terminal_session.hpp"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "platform/posix/terminal_renderer.hpp"

namespace corvane {
namespace {

struct SessionRecord {
  int inputFile = -1;
  int outputFile = -1;
  termios saved{};
  bool settingsSaved = false;
  volatile std::sig_atomic_t active = 0;
  volatile std::sig_atomic_t resizeNoticed = 0;
  bool exitHookRegistered = false;
};

SessionRecord session;

constexpr int kEndingSignals[] = {SIGHUP, SIGTERM, SIGINT};

// write() may take fewer bytes than asked or be interrupted; only
// async-signal-safe calls here.
void WriteAll(int file, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(file, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

void OnEndingSignal(int signalNumber) {
  const int savedErrno = errno;
  RestoreTerminalSession();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);  // delivered with the default action once the handler returns
  errno = savedErrno;
}

void OnResize(int) { session.resizeNoticed = 1; }

void Install(int signalNumber, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signalNumber, &action, nullptr);
}

void EnterRawMode(int inputFile) {
  if (::tcgetattr(inputFile, &session.saved) != 0) return;
  session.settingsSaved = true;
  termios raw = session.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(inputFile, TCSANOW, &raw);
}

}  // namespace

void BeginTerminalSession(int inputFile, int outputFile) {
  session.inputFile = inputFile;
  session.outputFile = outputFile;
  session.settingsSaved = false;
  if (inputFile >= 0) EnterRawMode(inputFile);
  session.active = 1;
  for (int signalNumber : kEndingSignals) Install(signalNumber, OnEndingSignal);
  Install(SIGWINCH, OnResize);
  if (!session.exitHookRegistered) {
    session.exitHookRegistered = true;
    std::atexit([] { RestoreTerminalSession(); });
  }
  const std::string_view start = TerminalRenderer::StartSequence();
  WriteAll(outputFile, start.data(), start.size());
}

void RestoreTerminalSession() {
  if (!session.active) return;
  session.active = 0;
  const std::string_view restore = TerminalRenderer::RestoreSequence();
  WriteAll(session.outputFile, restore.data(), restore.size());
  if (session.settingsSaved) ::tcsetattr(session.inputFile, TCSADRAIN, &session.saved);
}

void EndTerminalSession() {
  RestoreTerminalSession();
  for (int signalNumber : kEndingSignals) ::signal(signalNumber, SIG_DFL);
  ::signal(SIGWINCH, SIG_DFL);
}

bool TakeTerminalResizeNotice() {
  if (!session.resizeNoticed) return false;
  session.resizeNoticed = 0;
  return true;
}

void EndProcessByBreak() {
  RestoreTerminalSession();
  ::signal(SIGINT, SIG_DFL);
  ::raise(SIGINT);
  ::_exit(128 + SIGINT);  // not reached unless SIGINT is blocked
}

}  // namespace corvane
