#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace corvane {

// A window's edges in screen coordinates.
struct WindowEdges {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// A size in console cells.
struct CellSize {
  int columns = 0;
  int rows = 0;
};

// What the system says of the console's window (GetConsoleWindow).
struct ConsoleWindowShape {
  bool visible = false;  // IsWindowVisible
  WindowEdges edges;     // GetWindowRect
  bool owned = false;    // owned by another window (GW_OWNER)
  std::string className;
};

// Whether the console shows in a window of its own, which the user sees at the
// size the console reports. Otherwise the console is a pseudo console: a
// terminal shows it at the terminal's own size, whatever a size call answers.
bool HasWindowOfItsOwn(const std::optional<ConsoleWindowShape>& window);

// The window that shows the console on the screen, as the window library
// sizes and places it.
class ConsoleWindowFrame {
 public:
  virtual ~ConsoleWindowFrame() = default;

  // The console's window; none when the console has no window at all.
  virtual std::optional<ConsoleWindowShape> Shape() = 0;
  // The largest window, in cells, that the screen can hold; none when the
  // console cannot say.
  virtual std::optional<CellSize> LargestWindow() = 0;
  // The window's edges, and the work area of the monitor that shows it; none
  // when there is no window.
  virtual std::optional<WindowEdges> Edges() = 0;
  virtual std::optional<WindowEdges> WorkArea() = 0;
  // Moves the window's top-left corner, keeping its size.
  virtual void MoveTo(int left, int top) = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The window of this process's console, through the system's calls.
class SystemConsoleWindow : public ConsoleWindowFrame {
 public:
  // `output` is the console's screen buffer, a HANDLE.
  explicit SystemConsoleWindow(void* output) : output_(output) {}

  std::optional<ConsoleWindowShape> Shape() override;
  std::optional<CellSize> LargestWindow() override;
  std::optional<WindowEdges> Edges() override;
  std::optional<WindowEdges> WorkArea() override;
  void MoveTo(int left, int top) override;
  void Sleep(std::chrono::milliseconds duration) override;

 private:
  void* output_;
};

}  // namespace corvane
