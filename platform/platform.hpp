#pragma once

// The seam between the system and the platform it runs on.
//
// Every interface a platform implements is declared beside the subsystem that
// needs it, so that the dialogue, the conversion and the file channel depend
// on no platform; this file is the map of them all:
//
//   interface                 declared in                          POSIX (posix/)          Windows (windows/)
//   ConsoleDevice             dialogue/console_device.hpp          PosixConsole            WindowsConsole
//   ConsoleWindowLibrary      dialogue/console_window_library.hpp  PosixWindowLibrary      WindowsWindowLibrary
//   FileService               filechannel/file_service.hpp         PosixFileService        WindowsFileService
//   AllocateArrayStorage,     filechannel/array_storage.hpp        array_storage.cpp       array_storage.cpp
//     FreeArrayStorage
//   QuotesInNames             dialogue/dropped_names.hpp           kAnyQuotes              kNoDoubleQuotes
//   Platform, OpenPlatform,   this file                            posix_platform.cpp      windows_platform.cpp
//     SetUpFloatingPoint
//
// What both platforms share lies beside them: screen/ holds the dialogue's
// screen in memory (BufferedConsole) and the one rule by which a console shows
// it (DrawScreen); its MemoryConsole is the console of the tests. And
// window_library/ holds the console's size rule and the message box drawn in
// the console where no box window can be shown.

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
// the folder. The module instance is part of the library's own call
// (InitConsoleTools takes it first), so the process passes it on as the
// library's contract asks, though neither of our libraries needs one.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual ConsoleDevice& Console() = 0;
  virtual ConsoleWindowLibrary& WindowLibrary() = 0;
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
