#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// The console-window library: window decoration, size and position, and
// message boxes. The functions keep the library's own names and arguments;
// the tool relies on no value any of them returns, so none is passed back.
class ConsoleWindowLibrary {
 public:
  virtual ~ConsoleWindowLibrary() = default;

  virtual void InitConsoleTools(std::uintptr_t instance, std::int32_t a, std::int32_t b, std::int32_t c,
                                std::int32_t& variable, std::int32_t d) = 0;
  virtual void ConsoleToolBar(std::int32_t a, std::int32_t b) = 0;
  virtual void ConsoleTitle(std::string_view title) = 0;
  virtual void ConsoleIcon(std::int32_t icon) = 0;
  virtual void DeleteWindowMenuItem(std::int32_t item) = 0;
  virtual void Console80x(std::int32_t rows) = 0;
  virtual void ConsoleMove(std::int32_t x, std::int32_t y) = 0;
  // Shows a box with the text and caption until the user dismisses it. The two
  // characters backslash and n in the text stand for a line break.
  virtual void ConsoleMessageBox(std::string_view text, std::int32_t a, std::string_view caption, std::int32_t b,
                                 std::int32_t c) = 0;
};

}  // namespace corvane
