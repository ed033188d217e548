#include "platform/windows/console_window_frame.hpp"

#include <windows.h>

namespace corvane {

bool SystemConsoleWindow::Visible() {
  const HWND window = ::GetConsoleWindow();
  return window != nullptr && ::IsWindowVisible(window);
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
