#include "platform/windows/windows_window_library.hpp"

#include <windows.h>

#include <algorithm>

#include "platform/message_box/message_box.hpp"
#include "platform/windows/system_menu.hpp"

namespace corvane {
namespace {

constexpr SHORT kConsoleColumns = 80;
constexpr std::int32_t kMostRows = 9999;
constexpr std::int32_t kCentred = 32767;

int CentredOrGiven(std::int32_t given, int size, int areaStart, int areaEnd) {
  return given == kCentred ? areaStart + (areaEnd - areaStart - size) / 2 : given;
}

}  // namespace

std::string WithLineBreaks(std::string_view text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      shown += '\n';
      ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

WindowEdges PlaceWindow(const WindowEdges& window, const WindowEdges& workArea, std::int32_t x, std::int32_t y) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int left = CentredOrGiven(x, width, workArea.left, workArea.right);
  const int top = CentredOrGiven(y, height, workArea.top, workArea.bottom);
  return {left, top, left + width, top + height};
}

WindowsWindowLibrary::WindowsWindowLibrary(WindowsConsole& console, BoxWindow showBoxWindow)
    : console_(console), showBoxWindow_(std::move(showBoxWindow)) {}

int WindowsWindowLibrary::ShowMessageBoxA(void* owner, const char* text, const char* caption, unsigned type) {
  return ::MessageBoxA(static_cast<HWND>(owner), text, caption, type);
}

void WindowsWindowLibrary::InitConsoleTools(std::uintptr_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t&,
                                            std::int32_t) {}

void WindowsWindowLibrary::ConsoleToolBar(std::int32_t, std::int32_t) {}

void WindowsWindowLibrary::ConsoleTitle(std::string_view title) { ::SetConsoleTitleA(std::string(title).c_str()); }

void WindowsWindowLibrary::ConsoleIcon(std::int32_t icon) {
  const HWND window = ::GetConsoleWindow();
  if (window == nullptr || icon < 1 || icon > 0xFFFF) return;
  const HICON handle = ::LoadIconA(nullptr, MAKEINTRESOURCEA(static_cast<WORD>(icon)));
  if (handle == nullptr) return;
  ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(handle));
  ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(handle));
}

void WindowsWindowLibrary::DeleteWindowMenuItem(std::int32_t item) {
  const HWND window = ::GetConsoleWindow();
  if (window == nullptr) return;
  RemoveSystemMenuItem(::GetSystemMenu(window, FALSE), item);
}

void WindowsWindowLibrary::Console80x(std::int32_t rows) {
  if (rows < 1 || rows > kMostRows) return;
  const HANDLE output = console_.OutputHandle();
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(output, &info)) return;
  const SHORT height = static_cast<SHORT>(rows);
  // The window never reaches past the buffer: it shrinks to fit the new size
  // first, then the buffer takes that size, then the window grows to it.
  const SMALL_RECT inside{0, 0, std::min<SHORT>(info.srWindow.Right - info.srWindow.Left, kConsoleColumns - 1),
                          std::min<SHORT>(info.srWindow.Bottom - info.srWindow.Top, height - 1)};
  ::SetConsoleWindowInfo(output, TRUE, &inside);
  ::SetConsoleScreenBufferSize(output, COORD{kConsoleColumns, height});
  // A screen too small for the whole buffer gets the largest window it holds.
  const COORD largest = ::GetLargestConsoleWindowSize(output);
  const SHORT columns = largest.X > 0 ? std::min(kConsoleColumns, largest.X) : kConsoleColumns;
  const SHORT visibleRows = largest.Y > 0 ? std::min(height, largest.Y) : height;
  const SMALL_RECT whole{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(visibleRows - 1)};
  ::SetConsoleWindowInfo(output, TRUE, &whole);
}

void WindowsWindowLibrary::ConsoleMove(std::int32_t x, std::int32_t y) {
  const HWND window = ::GetConsoleWindow();
  RECT edges{};
  if (window == nullptr || !::GetWindowRect(window, &edges)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  const WindowEdges placed = PlaceWindow({edges.left, edges.top, edges.right, edges.bottom},
                                         {area.left, area.top, area.right, area.bottom}, x, y);
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowsWindowLibrary::ConsoleMessageBox(std::string_view text, std::int32_t, std::string_view caption,
                                             std::int32_t, std::int32_t) {
  const int answer = showBoxWindow_(::GetConsoleWindow(), WithLineBreaks(text).c_str(), std::string(caption).c_str(),
                                    MB_OK | MB_ICONERROR);
  if (answer == IDOK) return;
  ShowMessageBox(
      console_, [this](int column, int row, int count) { return console_.ReadCells(column, row, count); }, text,
      caption);
}

}  // namespace corvane
