#include "platform/posix/terminal_session.hpp"

#include <signal.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/posix/terminal_renderer.hpp"

namespace corvane {
namespace {

// Ctrl+\, the one key that the terminal turns into a signal (SIGQUIT).
constexpr cc_t kQuitCharacter = 0x1C;

// Every signal whose default action ends the process, except SIGXFSZ, which
// the platform ignores so that a write beyond a file-size limit fails.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1,
                                  SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGSYS};
constexpr int kLargestSignal = 64;

struct SessionRecord {
  int inputFile = -1;
  int outputFile = -1;
  termios saved{};
  termios raw{};
  bool settingsSaved = false;
  // Begun and not yet restored for good.
  volatile std::sig_atomic_t active = 0;
  volatile std::sig_atomic_t redrawDue = 0;
  bool exitHookRegistered = false;
  // How each signal was handled before the session, to hand it back.
  std::array<struct sigaction, kLargestSignal + 1> previous{};
  std::array<bool, kLargestSignal + 1> installed{};
};

SessionRecord session;

// write() may take fewer bytes than asked or be interrupted; only
// async-signal-safe calls here and in everything the handlers call.
void WriteAll(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(file, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// The terminal as the shell left it: colours, autowrap and cursor, then the
// line settings.
void ApplySavedSettings() {
  WriteAll(session.outputFile, TerminalRenderer::RestoreSequence());
  if (session.settingsSaved) ::tcsetattr(session.inputFile, TCSADRAIN, &session.saved);
}

void ApplyRawSettings() {
  if (session.settingsSaved) ::tcsetattr(session.inputFile, TCSANOW, &session.raw);
  WriteAll(session.outputFile, TerminalRenderer::StartSequence());
}

termios RawSettings(const termios& saved) {
  termios raw = saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
  // Signal keys stay on for Ctrl+\ alone, so that it ends the tool at once,
  // even while a conversion keeps it from reading keys. Interrupt and suspend
  // are off: Ctrl+C and Ctrl+Z are keys, as on the console.
  raw.c_lflag |= ISIG;
  raw.c_cc[VQUIT] = kQuitCharacter;
  raw.c_cc[VINTR] = _POSIX_VDISABLE;
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
#ifdef VDSUSP
  raw.c_cc[VDSUSP] = _POSIX_VDISABLE;
#endif
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  return raw;
}

void HandBack(int signalNumber) {
  if (!session.installed[signalNumber]) return;
  ::sigaction(signalNumber, &session.previous[signalNumber], nullptr);
  session.installed[signalNumber] = false;
}

void OnEndingSignal(int signalNumber) {
  const int savedErrno = errno;
  RestoreTerminalSession();
  if (signalNumber == SIGQUIT) {
    // Ctrl+\ asks the tool to end, not for a memory dump of its arrays.
    rlimit noCore{};
    ::getrlimit(RLIMIT_CORE, &noCore);
    noCore.rlim_cur = 0;
    ::setrlimit(RLIMIT_CORE, &noCore);
  }
  HandBack(signalNumber);
  // Blocked while this handler runs, so taken, with the handling the process
  // had before, as soon as it returns (a fault re-raises itself there too).
  ::raise(signalNumber);
  errno = savedErrno;
}

void OnStop(int) {
  const int savedErrno = errno;
  if (session.active) ApplySavedSettings();
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  struct sigaction self {};
  ::sigaction(SIGTSTP, &stop, &self);
  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &mask, nullptr);
  ::raise(SIGTSTP);  // the process stops here until SIGCONT
  ::sigaction(SIGTSTP, &self, nullptr);
  errno = savedErrno;
}

void OnContinue(int) {
  const int savedErrno = errno;
  if (session.active) ApplyRawSettings();
  session.redrawDue = 1;
  errno = savedErrno;
}

void OnResize(int) { session.redrawDue = 1; }

// Installs `handler` unless the process was started with the signal ignored
// (by nohup, say): such a signal stays ignored.
void Install(int signalNumber, void (*handler)(int)) {
  struct sigaction before {};
  if (::sigaction(signalNumber, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (::sigaction(signalNumber, &action, nullptr) != 0) return;
  session.previous[signalNumber] = before;
  session.installed[signalNumber] = true;
}

}  // namespace

void BeginTerminalSession(int inputFile, int outputFile) {
  session.inputFile = inputFile;
  session.outputFile = outputFile;
  session.settingsSaved = inputFile >= 0 && ::tcgetattr(inputFile, &session.saved) == 0;
  if (session.settingsSaved) session.raw = RawSettings(session.saved);
  session.active = 1;
  for (int signalNumber : kEndingSignals) Install(signalNumber, OnEndingSignal);
  Install(SIGTSTP, OnStop);
  Install(SIGCONT, OnContinue);
  Install(SIGWINCH, OnResize);
  if (!session.exitHookRegistered) {
    session.exitHookRegistered = true;
    std::atexit([] { RestoreTerminalSession(); });
  }
  ApplyRawSettings();
}

void RestoreTerminalSession() {
  if (!session.active) return;
  session.active = 0;
  ApplySavedSettings();
}

void EndTerminalSession() {
  RestoreTerminalSession();
  for (int signalNumber = 1; signalNumber <= kLargestSignal; ++signalNumber) HandBack(signalNumber);
}

bool TakeRedrawNotice() {
  if (!session.redrawDue) return false;
  session.redrawDue = 0;
  return true;
}

}  // namespace corvane
