#include "platform/windows/console_window_frame.hpp"

#include <windows.h>

#include <string_view>

namespace corvane {
namespace {

// The class of every pseudo console's stand-in window in Windows Terminal's
// console host.
constexpr std::string_view kStandInClass = "PseudoConsoleWindow";

}  // namespace

// A pseudo console has a stand-in window too, and a terminal may show it:
// Windows Terminal (since 2022) shows its stand-in, at (0, 0) with no size,
// and then makes its own window the stand-in's owner; minimised, the stand-in
// is parked off the screen with a size. A program handed to the terminal may
// look before the stand-in is shown. So a window counts only when it is shown,
// has a size, has no owner, and is no stand-in: each sign alone marks a
// pseudo console. A console host's own window (conhost, wine's) has all four,
// whatever its class.
bool HasWindowOfItsOwn(const std::optional<ConsoleWindowShape>& window) {
  return window && window->visible && window->edges.Width() > 0 && window->edges.Height() > 0 && !window->owned &&
         window->className != kStandInClass;
}

std::optional<ConsoleWindowShape> SystemConsoleWindow::Shape() {
  const HWND window = ::GetConsoleWindow();
  if (window == nullptr) return std::nullopt;
  ConsoleWindowShape shape;
  shape.visible = ::IsWindowVisible(window) != FALSE;
  RECT edges{};
  if (::GetWindowRect(window, &edges)) shape.edges = {edges.left, edges.top, edges.right, edges.bottom};
  shape.owned = ::GetWindow(window, GW_OWNER) != nullptr;
  char className[64] = {};
  shape.className.assign(className, static_cast<std::size_t>(::GetClassNameA(window, className, sizeof className)));
  return shape;
}

std::optional<CellSize> SystemConsoleWindow::LargestWindow() {
  const COORD largest = ::GetLargestConsoleWindowSize(output_);
  if (largest.X <= 0 || largest.Y <= 0) return std::nullopt;
  return CellSize{largest.X, largest.Y};
}

std::optional<WindowEdges> SystemConsoleWindow::Edges() {
  RECT edges{};
  const HWND window = ::GetConsoleWindow();
  if (window == nullptr || !::GetWindowRect(window, &edges)) return std::nullopt;
  return WindowEdges{edges.left, edges.top, edges.right, edges.bottom};
}

std::optional<WindowEdges> SystemConsoleWindow::WorkArea() {
  const HWND window = ::GetConsoleWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (window == nullptr || !::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return std::nullopt;
  }
  const RECT& area = monitor.rcWork;
  return WindowEdges{area.left, area.top, area.right, area.bottom};
}

void SystemConsoleWindow::MoveTo(int left, int top) {
  const HWND window = ::GetConsoleWindow();
  if (window == nullptr) return;
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SystemConsoleWindow::Sleep(std::chrono::milliseconds duration) { ::Sleep(static_cast<DWORD>(duration.count())); }

}  // namespace corvane
