// The process's platform on POSIX: the terminal console, the window library
// drawn over it, and the file service.

#include <cfenv>
#include <csignal>
#include <cstdio>

#include "platform/platform.hpp"
#include "platform/posix/posix_console.hpp"
#include "platform/posix/posix_file_service.hpp"
#include "platform/posix/posix_window_library.hpp"

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace corvane {

namespace {

class PosixPlatform : public Platform {
 public:
  PosixPlatform() : windowLibrary_(console_, console_) {}

  ConsoleDevice& Console() override { return console_; }
  ConsoleWindowLibrary& WindowLibrary() override { return windowLibrary_; }
  FileService& Files() override { return files_; }
  std::uintptr_t ModuleInstance() const override { return 0; }
  QuotesInNames NameQuotes() const override { return QuotesInNames::kAnyQuotes; }
  bool HasTerminal() const { return console_.HasTerminal(); }

 private:
  PosixConsole console_;
  PosixWindowLibrary windowLibrary_;
  PosixFileService files_;
};

}  // namespace

std::unique_ptr<Platform> OpenPlatform() {
  // A write beyond a file-size limit then fails, and is reported like a full
  // disk, instead of ending the tool.
  std::signal(SIGXFSZ, SIG_IGN);
  auto platform = std::make_unique<PosixPlatform>();
  if (!platform->HasTerminal()) {
    // Every name and the final key are typed at the terminal; without one the
    // dialogue would wait for ever.
    platform.reset();
    std::fputs("corvane: no terminal to read keys from (/dev/tty cannot be opened)\n", stderr);
  }
  return platform;
}

void SetUpFloatingPoint() {
  std::fesetround(FE_TONEAREST);
  std::fenv_t environment;
  std::feholdexcept(&environment);  // clears the flags and masks every exception
#if defined(__x86_64__) || defined(__i386__)
  // The x87 unit's default: a 64-bit significand, rounding to nearest, every
  // exception masked.
  fpu_control_t control = _FPU_DEFAULT;
  _FPU_SETCW(control);
#endif
}

}  // namespace corvane
