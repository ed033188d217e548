// The Windows platform against the real console and file API, run under wine.

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <xmmintrin.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "dialogue/console_text.hpp"
#include "platform/platform.hpp"
#include "platform/windows/system_menu.hpp"
#include "platform/windows/windows_console.hpp"
#include "platform/windows/windows_console_api.hpp"
#include "platform/windows/windows_file_service.hpp"
#include "platform/windows/windows_window_library.hpp"
#include "support/file_test.hpp"

// The slot through which the program calls the system's GetFileSizeEx: a test
// puts a call of its own there for a while.
extern "C" decltype(&::GetFileSizeEx) __imp_GetFileSizeEx;

namespace corvane {
namespace {

using namespace std::string_literals;

using WindowsFileServiceTest = FileTest;

// Positions past 4 GiB, whose offset's low half has its top bit set: both
// halves of the distance must reach the platform, the high one by address.
TEST_F(WindowsFileServiceTest, PositionsPastFourGibibytesReachTheirBytes) {
  const std::string name = folder_.Path("sparse.wav");
  // Marked sparse, so that the file takes no room for the gap.
  const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD returned = 0;
  ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  ::CloseHandle(file);
  constexpr std::int64_t kFar = 0x1'8000'0011;  // 1-based
  channel_.OpenReadWrite(name);
  channel_.WriteValueAt(kFar, 0x44434241, 4);
  channel_.Seek(kFar);
  EXPECT_EQ(channel_.ReadBytes(8), "ABCD");
  EXPECT_EQ(channel_.Length(), kFar - 1 + 4) << "the bytes landed past 4 GiB";
}

// What the test's GetFileSizeEx answers, and the error mode it ran under.
BOOL sizeAnswer;
UINT errorModeInCall;

// Only a call's own answer and last error count: a last error left by earlier
// work fails no call, and a call that fails without one still failed (1).
// During the call the system shows no error boxes; afterwards the process's
// own error mode is back.
TEST_F(WindowsFileServiceTest, OnlyACallsOwnAnswerAndLastErrorCount) {
  const auto systemCall = __imp_GetFileSizeEx;
  __imp_GetFileSizeEx = [](HANDLE, PLARGE_INTEGER) { return (errorModeInCall = ::GetErrorMode(), sizeAnswer); };
  ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
  for (const BOOL succeeds : {TRUE, FALSE}) {
    sizeAnswer = succeeds;
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(service_.GetFileSize(FileHandle{0}).error, succeeds ? 0u : 1u);
  }
  __imp_GetFileSizeEx = systemCall;
  EXPECT_EQ(std::pair(errorModeInCall, ::GetErrorMode()), std::pair(UINT{0x8001}, UINT{SEM_NOGPFAULTERRORBOX}));
}

TEST(WindowsPlatform, FloatingPointStartsAt64BitsRoundingToNearestWithEveryExceptionMasked) {
  std::uint16_t control = 0x0A7E;  // x87: a 53-bit significand, rounding up, the invalid operation unmasked
  asm volatile("fldcw %0" : : "m"(control));
  _mm_setcsr(0x3F00);  // SSE: rounding down, the invalid operation unmasked
  SetUpFloatingPoint();
  asm volatile("fnstcw %0" : "=m"(control));
  EXPECT_EQ(std::pair(control, _mm_getcsr() & 0x7F80u), std::pair(std::uint16_t{0x037F}, 0x1F80u));
}

// With standard output and error both redirected, the dialogue is drawn on
// the console's own screen buffer (CONOUT$), never into a file; and Ctrl+C is
// a key like any other, not the end of the tool.
TEST(WindowsConsole, BothOutputStreamsRedirectedDrawOnTheConsoleAndCtrlCIsAKey) {
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE), error = ::GetStdHandle(STD_ERROR_HANDLE);
  const HANDLE file = ::CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) ::SetStdHandle(stream, file);
  DWORD outputMode = 0, inputMode = 1;
  EXPECT_TRUE(::GetConsoleMode(WindowsConsoleApi().OutputHandle(), &outputMode)) << "drawn on a console";
  EXPECT_TRUE(::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &inputMode) && inputMode == 0) << "no Ctrl+C";
  ::SetStdHandle(STD_OUTPUT_HANDLE, output);
  ::SetStdHandle(STD_ERROR_HANDLE, error);
  ::CloseHandle(file);
}

// The console the tests size and draw on: wine's real console, in a screen
// buffer made for the test and never shown, whose size calls a host may also
// ignore, as early pseudo consoles did. Every size call is counted.
struct HostConsole : WindowsConsoleApi {
  using WindowsConsoleApi::WindowsConsoleApi;
  void Resize(int columns, int rows, int windowColumns, int windowRows) override {
    ++sizeCalls;
    if (acceptsSizeCalls) WindowsConsoleApi::Resize(columns, rows, windowColumns, windowRows);
  }
  bool acceptsSizeCalls = true;
  int sizeCalls = 0;
};

// The process's real console and its input, emptied before the test. The
// process must have a console: under wine it gets one when it starts on a
// terminal.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(buffer_, INVALID_HANDLE_VALUE) << "no console: start the tests on a terminal";
    ::FlushConsoleInputBuffer(input_);
    SizeTerminal(80, 42);
  }

  // The size of the user's console window or terminal, before the tool runs.
  void SizeTerminal(int columns, int rows) {
    console_.WindowsConsoleApi::Resize(columns, rows, columns, rows);
    console_.sizeCalls = 0;
  }

  // Every row of the buffer as the console holds it, right-trimmed of blanks.
  std::vector<std::string> Rows() {
    const ScreenBufferInfo size = console_.GetScreenBufferInfo();
    std::vector<std::string> rows(static_cast<std::size_t>(size.height));
    for (int row = 0; row < size.height; ++row) {
      for (const Cell& cell : console_.ReadOutput(0, row, size.width)) rows[row] += static_cast<char>(cell.character);
      rows[row].erase(rows[row].find_last_not_of(' ') + 1);
    }
    return rows;
  }

  // Each row of the 80 by 42 screen gets its number in the middle, where a
  // box would stand.
  static void WriteLabels(ConsoleDevice& screen) {
    for (int row = 0; row < 42; ++row) {
      std::vector<Cell> cells(80, Cell{' ', 0xF0});
      const std::string label = "row " + std::to_string(row + 1);
      for (std::size_t i = 0; i < label.size(); ++i) cells[36 + i].character = static_cast<std::uint8_t>(label[i]);
      screen.WriteOutput(cells, 0, row);
    }
  }
  // The labels on the console's first row and its last row that holds one.
  std::string ShownLabels() {
    std::vector<std::string> rows = Rows();
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    const auto number = [](const std::string& row) { return row.size() > 40 ? row.substr(40) : std::string("?"); };
    return rows.empty() ? "none" : number(rows.front()) + "-" + number(rows.back());
  }

  HANDLE buffer_ = ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  // The test writes input records, so the input is opened for writing too.
  HANDLE input_ = ::CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  HostConsole console_{buffer_, input_};
  // Closes the handles when the test ends.
  std::unique_ptr<void, decltype(&::CloseHandle)> bufferOwner_{buffer_, ::CloseHandle},
      inputOwner_{input_, ::CloseHandle};
};

// The text layer's cells, colours, scrolling and cursor, as the real console
// holds them afterwards: the bottom row filled from its 77th cell, then one
// more character scrolls it up. Control bytes are cells of their own.
TEST_F(ConsoleTest, TheTextLayersWritesReadBackFromTheConsole) {
  ConsoleText text(console_);
  text.OpenConsole();
  text.SetColours(0, 15, 0);
  text.ClearScreen();
  text.SetColours(8, 15, 0);
  text.MoveCursor(42, 77);
  text.PrintText("ab\x07\x0Dz");
  std::vector<std::string> expected(40);
  expected.insert(expected.end(), {std::string(76, ' ') + "ab\x07\x0D", "z"});
  EXPECT_EQ(Rows(), expected);
  const auto attributeAt = [&](int column, int row) { return console_.ReadOutput(column, row, 1)[0].attribute; };
  const ScreenBufferInfo info = console_.GetScreenBufferInfo();
  EXPECT_EQ(std::tuple(attributeAt(0, 0), attributeAt(79, 40), attributeAt(1, 41), info.cursorColumn, info.cursorRow),
            std::tuple(0xF0, 0xF8, 0xF8, 1, 41));
}

// The console's window as a test wants it: its shape, a screen that holds
// windows up to `largest`, and edges that take on their new size only after a
// few looks, or never.
struct FakeFrame : ConsoleWindowFrame {
  FakeFrame(std::optional<ConsoleWindowShape> window, CellSize screen, std::optional<WindowEdges> resizedLate)
      : shape(std::move(window)), largest(screen), resized(resizedLate) {}
  std::optional<ConsoleWindowShape> Shape() override { return shape; }
  std::optional<CellSize> LargestWindow() override { return largest; }
  std::optional<WindowEdges> Edges() override {
    if (resized && looksBeforeResized-- <= 0) edges = *resized;
    return edges;
  }
  std::optional<WindowEdges> WorkArea() override { return WindowEdges{0, 0, 1280, 1024}; }
  void MoveTo(int left, int top) override { moves.emplace_back(left, top); }
  void Sleep(std::chrono::milliseconds) override { ++sleeps; }

  std::optional<ConsoleWindowShape> shape;
  CellSize largest;
  std::optional<WindowEdges> resized;
  WindowEdges edges{0, 0, 640, 400};
  int looksBeforeResized = 4, sleeps = 0;
  std::vector<std::pair<int, int>> moves;
};

// One table of hosts, each with the window it gives its console and what its
// console answers to size calls, each started in a window or tab of a given
// size. A console window of its own shows the size the console reports after
// the size calls, capped by a small screen; right after a resize a console
// host may still report the window's old size, so the window is centred by
// its new one after a bounded wait. Every other console is a pseudo console,
// whose terminal shows it at the terminal's own size whatever a size call
// answers: no size call is made, the 80 by 42 screen is kept in memory from
// the start, and the console shows the part of it around the cursor where the
// terminal is smaller, all of it where it is larger; its window is neither
// waited for nor moved.
TEST_F(ConsoleTest, EachHostShowsTheScreenAtTheSizeItsUserSees) {
  constexpr WindowEdges kNoSize{}, kSized{0, 0, 640, 400}, kParked{-32000, -32000, -31840, -31972};
  const std::string kStandIn = "PseudoConsoleWindow";
  // The console's size, the labels it shows, whether a size call was made,
  // and where the window went after how many waits.
  const auto seen = [&](WindowsConsole& screen, FakeFrame& frame) {
    const ScreenBufferInfo console = console_.GetScreenBufferInfo(), shown = screen.GetScreenBufferInfo();
    EXPECT_EQ(std::pair(shown.width, shown.height), std::pair(80, 42)) << "the dialogue's screen";
    return std::tuple(console.width, console.height, ShownLabels(), console_.sizeCalls > 0, frame.moves, frame.sleeps);
  };
  // The set-up in a window or tab of `start`, then a label on every row and
  // the cursor on the last.
  const auto setUp = [&](WindowsConsole& screen, FakeFrame& frame, CellSize start) {
    WindowsWindowLibrary library(console_, screen, frame);
    SizeTerminal(start.columns, start.rows);
    library.Console80x(42);
    library.ConsoleMove(32767, 32767);
    WriteLabels(screen);
    screen.SetCursorPosition(0, 41);
    return seen(screen, frame);
  };
  using Moves = std::vector<std::pair<int, int>>;
  const struct {
    CellSize largest, start;
    std::optional<WindowEdges> resized;
    std::tuple<int, int, std::string, bool, Moves, int> expected;
  } ownWindows[] = {
      {{200, 100}, {100, 150}, {{0, 0, 640, 672}}, {80, 42, "1-42", true, {{320, 176}}, 3}},  // from a larger buffer
      {{200, 100}, {60, 20}, std::nullopt, {80, 42, "1-42", true, {{320, 312}}, 50}},         // the old size kept
      {{80, 30}, {80, 25}, {{0, 0, 640, 480}}, {80, 30, "13-42", true, {{320, 272}}, 3}},  // capped by a small screen
  };
  for (const auto& c : ownWindows) {
    SCOPED_TRACE(c.start.columns);
    FakeFrame frame(ConsoleWindowShape{true, kSized, false, "ConsoleWindowClass"}, c.largest, c.resized);
    WindowsConsole screen(console_);
    EXPECT_EQ(setUp(screen, frame, c.start), c.expected);
  }
  const struct {
    const char* host;
    std::optional<ConsoleWindowShape> window;  // visible, edges, owned, class
    bool acceptsSizeCalls;
  } pseudoConsoles[] = {
      {"Windows Terminal", {{true, kNoSize, true, kStandIn}}, true},
      {"Windows Terminal before it sets the owner", {{true, kNoSize, false, kStandIn}}, true},
      {"a program handed to Windows Terminal, stand-in not yet shown", {{false, kNoSize, false, kStandIn}}, true},
      {"Windows Terminal before 2022, VS Code's terminal", {{false, kNoSize, false, kStandIn}}, false},
      {"Windows Terminal minimised", {{true, kParked, true, kStandIn}}, true},
      {"wine on a terminal", std::nullopt, true},
      // Each sign alone makes a pseudo console.
      {"hidden", {{false, kSized, false, "ConsoleWindowClass"}}, true},
      {"no size", {{true, kNoSize, false, "WineConsoleClass"}}, true},
      {"owned", {{true, kSized, true, "WineConsoleClass"}}, true},
      {"the stand-in's class", {{true, kSized, false, kStandIn}}, true},
  };
  // Each set up in a tab of 100 by 30, which the user then makes larger.
  for (const auto& host : pseudoConsoles) {
    SCOPED_TRACE(host.host);
    FakeFrame frame(host.window, {200, 100}, std::nullopt);
    WindowsConsole screen(console_);
    console_.acceptsSizeCalls = host.acceptsSizeCalls;
    EXPECT_EQ(setUp(screen, frame, {100, 30}), std::tuple(100, 30, "13-42"s, false, Moves{}, 0));
    SizeTerminal(120, 50);
    screen.PeekInput();
    EXPECT_EQ(seen(screen, frame), std::tuple(120, 50, "1-42"s, false, Moves{}, 0));
    console_.acceptsSizeCalls = true;
  }
}

// A tab made larger shows the part around the cursor at its new size with
// the next look at the keyboard, keeping its place as far as it can. A message
// box whose window cannot show (the call fails, or answers other than OK, as
// without a display) is drawn in the console instead, takes its key there and
// puts back what it covered: the screen's cells, not the console's.
TEST_F(ConsoleTest, AResizedTabAndABoxThatCannotShowItsWindowOnTheScreenInMemory) {
  FakeFrame frame(std::nullopt, {200, 100}, std::nullopt);
  WindowsConsole screen(console_);
  std::string asked;
  int answer = IDOK;
  WindowsWindowLibrary library(console_, screen, frame,
                               [&](void*, const char* text, const char* caption, unsigned type) {
                                 asked = std::string(caption) + "|" + text + "|" + std::to_string(type);
                                 return answer;
                               });
  SizeTerminal(80, 20);
  library.Console80x(42);
  WriteLabels(screen);
  screen.SetCursorPosition(0, 30);
  SizeTerminal(80, 30);  // the tab grows down only
  screen.PeekInput();
  const std::vector<std::string> rows = Rows();
  EXPECT_EQ(ShownLabels(), "12-41") << "from row 12, as before the tab grew";
  const INPUT_RECORD enter{KEY_EVENT, {.KeyEvent = {TRUE, 1, 0, 0x1C, {'\x0D'}, 0}}};
  DWORD written = 0;
  ::WriteConsoleInputA(input_, &enter, 1, &written);
  for (const int given : {IDOK, -1}) {
    answer = given;
    library.ConsoleMessageBox("File not found.\\nTry again", 0, "  ERROR", 0, 0);
    EXPECT_EQ(console_.PeekInput() == std::nullopt, given != IDOK) << "only a box in the console takes the key";
    EXPECT_EQ(Rows(), rows);
  }
  EXPECT_EQ(asked, "  ERROR|File not found.\nTry again|" + std::to_string(MB_OK | MB_ICONERROR));
}

// The window menu's removals: 0 is the first separator, -1 and -2 the last
// items unless they are Move, Minimize or Close, others an item's command. A
// plain window's menu is the first seven items of the console's.
TEST(SystemMenu, TheSixRemovalsLeaveMoveMinimizeCloseAndEdit) {
  constexpr UINT kSeparator = 0, kEdit = 0xFFF6, kDefaults = 0xFFF8, kProperties = 0xFFF7;
  const std::vector<UINT> items = {SC_RESTORE, SC_MOVE,    SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, kSeparator,
                                   SC_CLOSE,   kSeparator, kEdit,   kDefaults,   kProperties};
  const std::vector<UINT> left = {SC_MOVE, SC_MINIMIZE, SC_CLOSE, kSeparator, kEdit};
  for (const std::size_t count : {std::size_t{11}, std::size_t{7}}) {
    const HMENU menu = ::CreatePopupMenu();
    for (std::size_t i = 0; i < count; ++i) ::AppendMenuA(menu, items[i] ? MF_STRING : MF_SEPARATOR, items[i], "-");
    for (const std::int32_t item : {61728, 0, 61440, -2, -1, 61488}) RemoveSystemMenuItem(menu, item);
    std::vector<UINT> kept;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) kept.push_back(::GetMenuItemID(menu, i));
    EXPECT_EQ(kept, std::vector(left.begin(), left.begin() + (count == 11 ? 5 : 3))) << count << " items";
    ::DestroyMenu(menu);
  }
}

// 32767 centres the window on its monitor's work area; a window that fits
// ends wholly on it, a larger one at its top-left corner, with its title bar
// in reach. The size stays.
TEST(WindowPlacement, TheLargestCoordinateCentresOthersPlaceTheCornerAndTheWindowStaysOnTheWorkArea) {
  const auto placed = [](WindowEdges area, int x, int y) {
    const WindowEdges window = PlaceWindow({10, 20, 650, 500}, area, x, y);
    return std::tuple(window.left, window.top, window.Width(), window.Height());
  };
  EXPECT_EQ(placed({1920, 0, 3840, 1040}, 32767, 32767), std::tuple(2560, 280, 640, 480)) << "on its own monitor";
  EXPECT_EQ(placed({0, 0, 1920, 1040}, 1500, -30), std::tuple(1280, 0, 640, 480)) << "moved just inside";
  EXPECT_EQ(placed({0, 0, 1024, 400}, 32767, 32767), std::tuple(192, 0, 640, 480)) << "too tall";
}

}  // namespace
}  // namespace corvane
