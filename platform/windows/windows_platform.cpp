// The process's platform on Windows: the console through its API and the
// console the dialogue draws on over it, the window library over the
// console's window, and the file service.

#include <windows.h>
#include <xmmintrin.h>

#include <cfenv>
#include <cstdio>

#include "platform/platform.hpp"
#include "platform/windows/console_window_frame.hpp"
#include "platform/windows/windows_console.hpp"
#include "platform/windows/windows_console_api.hpp"
#include "platform/windows/windows_file_service.hpp"
#include "platform/windows/windows_window_library.hpp"

namespace corvane {

namespace {

class WindowsPlatform : public Platform {
 public:
  WindowsPlatform() : console_(api_), frame_(api_.OutputHandle()), windowLibrary_(api_, console_, frame_) {}

  ConsoleDevice& Console() override { return console_; }
  ConsoleWindowLibrary& WindowLibrary() override { return windowLibrary_; }
  FileService& Files() override { return files_; }
  std::uintptr_t ModuleInstance() const override {
    return reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(nullptr));
  }
  QuotesInNames NameQuotes() const override { return QuotesInNames::kNoDoubleQuotes; }
  bool HasKeyboard() const { return api_.HasInput(); }

 private:
  WindowsConsoleApi api_;
  WindowsConsole console_;
  SystemConsoleWindow frame_;
  WindowsWindowLibrary windowLibrary_;
  WindowsFileService files_;
};

}  // namespace

std::unique_ptr<Platform> OpenPlatform() {
  // Typed names are in the console's code page, and the file functions
  // ending in A read names in the ANSI code page: from here on they read the
  // OEM code page, the console's, so that the name typed is the name opened.
  ::SetFileApisToOEM();
  auto platform = std::make_unique<WindowsPlatform>();
  if (!platform->HasKeyboard()) {
    // Every name and the final key are typed at the console; without one the
    // dialogue would wait for ever.
    platform.reset();
    std::fputs("corvane: no console to read keys from (CONIN$ cannot be opened)\n", stderr);
  }
  return platform;
}

void SetUpFloatingPoint() {
  std::fesetround(FE_TONEAREST);
  std::fenv_t environment;
  std::feholdexcept(&environment);  // clears the flags and masks every exception
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  // mingw-w64's feholdexcept masks the x87 unit's exceptions but not the SSE
  // unit's, which does the float and double arithmetic: its control register
  // gets rounding to nearest, every exception masked and no flag (0x1F80).
  _mm_setcsr(0x1F80);
  // The x87 unit: a 64-bit significand, rounding to nearest, every exception
  // masked (control word 0x037F). Windows' own default for a 64-bit process
  // is a 53-bit significand.
  const unsigned short control = 0x037F;
  asm volatile("fldcw %0" : : "m"(control));
#endif
}

}  // namespace corvane
