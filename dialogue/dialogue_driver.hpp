#pragma once

#include <cstdint>

#include "conversion/dither_source.hpp"
#include "dialogue/console_text.hpp"
#include "dialogue/console_window_library.hpp"
#include "dialogue/dropped_names.hpp"
#include "filechannel/file_channel.hpp"

namespace corvane {

// What one run of the dialogue works with. The process opens the console and
// gives the dither source its starting state before the dialogue runs.
struct DialogueServices {
  ConsoleText& console;
  ConsoleWindowLibrary& windows;
  FileChannel& channel;
  DitherSource& dither;
  std::uintptr_t moduleInstance = 0;
  QuotesInNames quotesInNames = QuotesInNames::kAnyQuotes;
};

// The whole dialogue of one run: the window set-up, the choice of an input
// file (again and again until one passes the open test and the header
// checks), its figures, the choice of the output file, the conversion with its
// progress lines, and the final key. Converts one file.
void RunDialogue(DialogueServices& services);

}  // namespace corvane
