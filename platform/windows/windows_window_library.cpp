#include "platform/windows/windows_window_library.hpp"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "platform/window_library/console_size.hpp"
#include "platform/window_library/message_box.hpp"
#include "platform/windows/system_menu.hpp"

namespace corvane {
namespace {

constexpr std::int32_t kCentred = 32767;
// How long ConsoleMove waits, at most, for a new window size to land.
constexpr auto kResizeCheckInterval = std::chrono::milliseconds(10);
constexpr int kResizeChecks = 50;

// One axis of a window's place.
int Place(std::int32_t given, int size, int areaStart, int areaEnd) {
  const int start = given == kCentred ? areaStart + (areaEnd - areaStart - size) / 2 : given;
  return std::max(areaStart, std::min(start, areaEnd - size));
}

bool SameSize(const WindowEdges& first, const WindowEdges& second) {
  return first.Width() == second.Width() && first.Height() == second.Height();
}

}  // namespace

WindowEdges PlaceWindow(const WindowEdges& window, const WindowEdges& workArea, std::int32_t x, std::int32_t y) {
  const int left = Place(x, window.Width(), workArea.left, workArea.right);
  const int top = Place(y, window.Height(), workArea.top, workArea.bottom);
  return {left, top, left + window.Width(), top + window.Height()};
}

WindowsWindowLibrary::WindowsWindowLibrary(WindowsConsoleApi& api, WindowsConsole& console, ConsoleWindowFrame& frame,
                                           BoxWindow showBoxWindow)
    : api_(api), console_(console), frame_(frame), showBoxWindow_(std::move(showBoxWindow)) {}

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
  if (!IsConsoleRowCount(rows) || console_.ScreenInMemory()) return;
  const std::optional<Viewport> before = api_.Window();
  if (!before) return;
  if (!HasWindowOfItsOwn(frame_.Shape())) {
    // A pseudo console's terminal shows it at the terminal's own size,
    // whatever a size call answers: Windows Terminal's console accepts any
    // size and reports it while its tab keeps its own, and nothing tells the
    // tab. So no size call is made; the screen is kept in memory and shown at
    // the size the console has, which is the terminal's.
    console_.KeepScreenInMemory(kConsoleColumns, rows, *before, WindowsConsole::Buffer::kLeftAlone);
    return;
  }
  const std::optional<WindowEdges> edges = frame_.Edges();
  // A screen too small for the whole buffer gets the largest window it holds.
  const CellSize largest = frame_.LargestWindow().value_or(CellSize{kConsoleColumns, rows});
  api_.Resize(kConsoleColumns, rows, std::min(kConsoleColumns, largest.columns), std::min(rows, largest.rows));
  // A window of its own shows what the console reports after the resize,
  // which the console host keeps within the screen.
  const Viewport after = api_.Window().value_or(*before);
  if (edges && (after.columns != before->columns || after.rows != before->rows)) edgesBeforeResize_ = edges;
  if (after.columns < kConsoleColumns || after.rows < rows) {
    console_.KeepScreenInMemory(kConsoleColumns, rows, after, WindowsConsole::Buffer::kCutToWindow);
  }
}

void WindowsWindowLibrary::ConsoleMove(std::int32_t x, std::int32_t y) {
  if (!HasWindowOfItsOwn(frame_.Shape())) return;
  const std::optional<WindowEdges> edges = AwaitResizedWindow();
  const std::optional<WindowEdges> area = frame_.WorkArea();
  if (!edges || !area) return;
  const WindowEdges placed = PlaceWindow(*edges, *area, x, y);
  frame_.MoveTo(placed.left, placed.top);
}

// The window's edges once the size that Console80x gave it has landed: right
// after a resize a console host may still report the old size, and a window
// centred by that size would stand too low and too far right.
std::optional<WindowEdges> WindowsWindowLibrary::AwaitResizedWindow() {
  std::optional<WindowEdges> edges = frame_.Edges();
  for (int check = 0; edgesBeforeResize_ && edges && SameSize(*edges, *edgesBeforeResize_) && check < kResizeChecks;
       ++check) {
    frame_.Sleep(kResizeCheckInterval);
    edges = frame_.Edges();
  }
  edgesBeforeResize_.reset();
  return edges;
}

void WindowsWindowLibrary::ConsoleMessageBox(std::string_view text, std::int32_t, std::string_view caption,
                                             std::int32_t, std::int32_t) {
  // The box window breaks its lines where the text has a line feed.
  std::string shown;
  for (const std::string_view line : BoxLines(text)) shown.append(line).push_back('\n');
  shown.pop_back();
  const int answer =
      showBoxWindow_(::GetConsoleWindow(), shown.c_str(), std::string(caption).c_str(), MB_OK | MB_ICONERROR);
  if (answer != IDOK) ShowMessageBox(console_, text, caption);
}

}  // namespace corvane
