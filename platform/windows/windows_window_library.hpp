#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dialogue/console_window_library.hpp"
#include "platform/windows/console_window_frame.hpp"
#include "platform/windows/windows_console.hpp"
#include "platform/windows/windows_console_api.hpp"

namespace corvane {

// The console-window library over the console's own window (GetConsoleWindow)
// and screen buffer. A console window has no tool bar, so InitConsoleTools and
// ConsoleToolBar do nothing; every other call acts on the window or the
// buffer, and does nothing where there is no console window.
class WindowsWindowLibrary : public ConsoleWindowLibrary {
 public:
  // Shows a box window as MessageBoxA does (owner, text, caption, type) and
  // returns its answer: the button pressed, or anything else when no box
  // could be shown.
  using BoxWindow = std::function<int(void* owner, const char* text, const char* caption, unsigned type)>;

  WindowsWindowLibrary(WindowsConsoleApi& api, WindowsConsole& console, ConsoleWindowFrame& frame,
                       BoxWindow showBoxWindow = ShowMessageBoxA);

  void InitConsoleTools(std::uintptr_t instance, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t& variable,
                        std::int32_t d) override;
  void ConsoleToolBar(std::int32_t a, std::int32_t b) override;
  // SetConsoleTitleA.
  void ConsoleTitle(std::string_view title) override;
  // The system's icon of that number (32512, IDI_APPLICATION, the standard
  // application icon) becomes the window's large and small icon.
  void ConsoleIcon(std::int32_t icon) override;
  // Removes one item of the window's system menu, as RemoveSystemMenuItem
  // chooses it.
  //
  // In a pseudo console both act on the terminal's stand-in window, whose
  // window procedure leaves icons and menus to the system's default: they
  // change that hidden or sizeless window alone, never the terminal's.
  void DeleteWindowMenuItem(std::int32_t item) override;
  // In a console window of its own, the screen buffer becomes 80 columns by
  // `rows`, and the window as large as that, as far as the screen allows;
  // where the user then sees less, the screen is kept in memory and shown in
  // part (WindowsConsole::KeepScreenInMemory). In a pseudo console no size
  // call is made: the screen is kept in memory and shown at the terminal's
  // size.
  void Console80x(std::int32_t rows) override;
  // Places the window's top-left corner at (x, y) on the screen; 32767 for a
  // coordinate centres the window on that axis of its monitor's work area. A
  // window that Console80x resized is placed once its new size has landed.
  // A pseudo console's stand-in window is left where it is.
  void ConsoleMove(std::int32_t x, std::int32_t y) override;
  // MessageBoxA with the caption, the text with backslash-n as a line break,
  // an OK button and the error icon, owned by the console window. Where no box
  // window can be shown (the call fails, or returns without the OK button, as
  // on a system without a display), the box is drawn in the console instead
  // and waits there, so the dialogue never goes on unseen.
  void ConsoleMessageBox(std::string_view text, std::int32_t a, std::string_view caption, std::int32_t b,
                         std::int32_t c) override;

  static int ShowMessageBoxA(void* owner, const char* text, const char* caption, unsigned type);

 private:
  std::optional<WindowEdges> AwaitResizedWindow();

  WindowsConsoleApi& api_;
  WindowsConsole& console_;
  ConsoleWindowFrame& frame_;
  BoxWindow showBoxWindow_;
  // The window's edges before Console80x changed its size in cells, while
  // the new size has not been seen to land.
  std::optional<WindowEdges> edgesBeforeResize_;
};

// Where ConsoleMove (x, y) puts `window`: each coordinate of 32767 centres the
// window on that axis of `workArea`; any other value is taken as it is. A
// window that fits the work area is then moved just far enough to lie wholly
// inside it; a larger one starts at its top-left corner, so that its title
// bar stays in reach.
WindowEdges PlaceWindow(const WindowEdges& window, const WindowEdges& workArea, std::int32_t x, std::int32_t y);

}  // namespace corvane
