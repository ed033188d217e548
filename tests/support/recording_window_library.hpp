#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogue/console_window_library.hpp"
#include "platform/memory/memory_console.hpp"

// A console-window library that records every call, with its arguments, as one
// line of text. A message box also keeps a picture of the screen as it stood
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
    Record("InitConsoleTools(" + std::to_string(instance) + "," + std::to_string(a) + "," + std::to_string(b) + "," +
           std::to_string(c) + ",&" + std::to_string(variable) + "," + std::to_string(d) + ")");
  }
  void ConsoleToolBar(std::int32_t a, std::int32_t b) override {
    Record("ConsoleToolBar(" + std::to_string(a) + "," + std::to_string(b) + ")");
  }
  void ConsoleTitle(std::string_view title) override { Record("ConsoleTitle(" + std::string(title) + ")"); }
  void ConsoleIcon(std::int32_t icon) override { Record("ConsoleIcon(" + std::to_string(icon) + ")"); }
  void DeleteWindowMenuItem(std::int32_t item) override {
    Record("DeleteWindowMenuItem(" + std::to_string(item) + ")");
  }
  void Console80x(std::int32_t rows) override { Record("Console80x(" + std::to_string(rows) + ")"); }
  void ConsoleMove(std::int32_t x, std::int32_t y) override {
    Record("ConsoleMove(" + std::to_string(x) + "," + std::to_string(y) + ")");
  }
  void ConsoleMessageBox(std::string_view text, std::int32_t a, std::string_view caption, std::int32_t b,
                         std::int32_t c) override {
    Record("ConsoleMessageBox(" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + ")");
    boxes.push_back({std::string(text), std::string(caption), console_.Rows()});
    if (onBox) onBox(boxes.back());
  }

  std::vector<std::string> calls;
  std::vector<Box> boxes;
  // Runs while a box is up, as the user would act before dismissing it.
  std::function<void(const Box&)> onBox;

 private:
  void Record(std::string call) { calls.push_back(std::move(call)); }
  const corvane::MemoryConsole& console_;
};
