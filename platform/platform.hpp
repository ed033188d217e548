#pragma once

#include <cstdint>
#include <memory>

#include "dialogue/console_device.hpp"
#include "dialogue/console_window_library.hpp"
#include "dialogue/dropped_names.hpp"
#include "filechannel/file_service.hpp"

namespace corvane {

// What the process takes from the platform it runs on: its console, the
// console-window library, the file service, the module instance handle that
// the library is initialised with, and whether its file names may hold
// quotes. Each platform folder implements OpenPlatform once; the build picks
// the folder.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual ConsoleDevice& Console() = 0;
  virtual ConsoleWindowLibrary& Windows() = 0;
  virtual FileService& Files() = 0;
  virtual std::uintptr_t ModuleInstance() const = 0;
  virtual QuotesInNames NameQuotes() const = 0;
};

// The platform of this process, or none, after a message on standard error,
// when the process cannot hold a dialogue (no keyboard to read from).
std::unique_ptr<Platform> OpenPlatform();

// Sets the process's floating point: rounding to nearest with ties to even,
// every exception masked, and a 64-bit significand where the processor has an
// x87 unit.
void SetUpFloatingPoint();

}  // namespace corvane
