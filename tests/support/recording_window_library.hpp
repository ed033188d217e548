#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogue/console_window_library.hpp"
#include "platform/screen/memory_console.hpp"

// A console-window library that records every call, with its arguments, as one
// line of text: its name and its arguments. A message box also keeps a picture of the screen as it stood
// when the box was asked for, and is dismissed at once.
class RecordingWindowLibrary : public corvane::ConsoleWindowLibrary {
 public:
  struct Box {
    std::string text;
    std::string caption;
    std::vector<std::string> screen;
  };

  explicit RecordingWindowLibrary(const corvane::MemoryConsole& console) : console_(console) {}

  void InitConsoleTools(std::uintptr_t instance, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t& variable,
                        std::int32_t d) override {
    Record("InitConsoleTools", instance, a, b, c, variable, d);
  }
  void ConsoleToolBar(std::int32_t a, std::int32_t b) override { Record("ConsoleToolBar", a, b); }
  void ConsoleTitle(std::string_view title) override { calls.push_back("ConsoleTitle " + std::string(title)); }
  void ConsoleIcon(std::int32_t icon) override { Record("ConsoleIcon", icon); }
  void DeleteWindowMenuItem(std::int32_t item) override { Record("DeleteWindowMenuItem", item); }
  void Console80x(std::int32_t rows) override { Record("Console80x", rows); }
  void ConsoleMove(std::int32_t x, std::int32_t y) override { Record("ConsoleMove", x, y); }
  void ConsoleMessageBox(std::string_view text, std::int32_t a, std::string_view caption, std::int32_t b,
                         std::int32_t c) override {
    Record("ConsoleMessageBox", a, b, c);
    boxes.push_back({std::string(text), std::string(caption), console_.Rows()});
    if (onBox) onBox(boxes.back());
  }

  std::vector<std::string> calls;
  std::vector<Box> boxes;
  // Runs while a box is up, as the user would act before dismissing it.
  std::function<void(const Box&)> onBox;

 private:
  // "Name 1 2": the call's name, then its numbers in decimal.
  void Record(std::string call, auto... numbers) {
    ((call += " " + std::to_string(numbers)), ...);
    calls.push_back(call);
  }
  const corvane::MemoryConsole& console_;
};
