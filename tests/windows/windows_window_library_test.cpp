#include "platform/windows/windows_window_library.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "console_fixture.hpp"
#include "platform/windows/system_menu.hpp"

namespace corvane {
namespace {

// The console's window as a test wants it: its own window or a hidden
// stand-in, a screen that holds windows up to `largest`, and a frame that
// takes on its new size only after a few looks, or never.
struct FakeFrame : ConsoleWindowFrame {
  bool Visible() override { return visible; }
  std::optional<CellSize> LargestWindow() override { return largest; }
  std::optional<WindowEdges> Edges() override {
    if (resized && looksBeforeResized-- <= 0) edges = *resized;
    return edges;
  }
  std::optional<WindowEdges> WorkArea() override { return WindowEdges{0, 0, 1280, 1024}; }
  void MoveTo(int left, int top) override { moves.emplace_back(left, top); }
  void Sleep(std::chrono::milliseconds) override { ++sleeps; }

  bool visible = true;
  CellSize largest{200, 100};
  WindowEdges edges{0, 0, 640, 400};
  std::optional<WindowEdges> resized;
  int looksBeforeResized = 0;
  std::vector<std::pair<int, int>> moves;
  int sleeps = 0;
};

class WindowLibraryTest : public ConsoleFixture {
 protected:
  WindowsScreen screen_{console_};
  FakeFrame frame_;
  WindowsWindowLibrary library_{console_, screen_, frame_};
};

// The screen is 80 by 42 wherever the dialogue runs; the console shows it
// whole where the user sees that much, and in part otherwise. A pseudo
// console accepts the size calls and still shows its terminal's size.
TEST_F(WindowLibraryTest, Console80xKeepsTheScreenInMemoryWhereTheUserSeesLessOfIt) {
  const struct {
    const char* label;
    bool ownWindow;
    CellSize largest;
    COORD start;
    COORD console;  // the console's buffer afterwards
  } cases[] = {
      {"a window from a larger buffer", true, {200, 100}, {100, 150}, {80, 42}},
      {"a window from a smaller buffer", true, {200, 100}, {60, 20}, {80, 42}},
      {"a window capped by a small screen", true, {80, 30}, {80, 25}, {80, 30}},
      {"a terminal of 100 by 30", false, {200, 100}, {100, 30}, {100, 30}},
      {"a terminal of 120 by 50", false, {200, 100}, {120, 50}, {80, 42}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WindowsScreen screen(console_);
    WindowsWindowLibrary library(console_, screen, frame_);
    frame_.visible = c.ownWindow;
    frame_.largest = c.largest;
    Resize(c.start.X, c.start.Y);
    library.Console80x(42);
    EXPECT_EQ(std::pair(Size().X, Size().Y), std::pair(c.console.X, c.console.Y));
    const ScreenBufferInfo info = screen.GetScreenBufferInfo();
    EXPECT_EQ(std::pair(info.width, info.height), std::pair(80, 42));
    EXPECT_EQ(screen.ShownInPart(), c.console.Y < 42);
    library.Console80x(0);
    EXPECT_EQ(screen.GetScreenBufferInfo().height, 42) << "a row count of 0 is ignored";
  }
}

// The part shown follows the cursor, and a window resized meanwhile (a
// terminal's tab made larger) shows the part around the cursor at its new
// size with the next look at the keyboard.
TEST_F(WindowLibraryTest, AScreenShownInPartFollowsTheCursorAndTheWindowsSize) {
  frame_.visible = false;
  Resize(80, 20);
  library_.Console80x(42);
  screen_.SetTextAttribute(0xF0);
  for (int row = 0; row < 42; ++row) {
    const std::string text = "row " + std::to_string(row + 1);
    std::vector<Cell> cells;
    for (const char c : text) cells.push_back(Cell{static_cast<std::uint8_t>(c), 0xF0});
    screen_.WriteOutput(cells, 0, row);
  }
  screen_.SetCursorPosition(0, 40);
  EXPECT_EQ(Rows().front(), "row 22");
  EXPECT_EQ(Rows().back(), "row 41");
  Resize(90, 30);
  screen_.PeekInput();
  const std::vector<std::string> rows = Rows();
  EXPECT_EQ(rows.size(), 30u);
  EXPECT_EQ(rows.front(), "row 13") << "the larger part reaches no further than the screen";
  EXPECT_EQ(rows.back(), "row 42");
  EXPECT_EQ(console_.ReadCells(85, 29, 1)[0], (Cell{' ', 0xF0})) << "beside the screen: blank in its colours";
}

// Right after a resize a console host may still report the window's old
// size: the window is centred by its new one.
TEST_F(WindowLibraryTest, ConsoleMoveCentresTheWindowOnceItsNewSizeHasLanded) {
  const struct {
    const char* label;
    bool ownWindow;
    std::optional<WindowEdges> resized;
    std::vector<std::pair<int, int>> moves;
    int sleeps;
  } cases[] = {
      {"the new size lands late", true, WindowEdges{0, 0, 640, 672}, {{320, 176}}, 3},
      {"the host keeps the old size", true, std::nullopt, {{320, 312}}, 50},
      {"a pseudo console's stand-in", false, WindowEdges{0, 0, 640, 672}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    FakeFrame frame;
    frame.visible = c.ownWindow;
    frame.resized = c.resized;
    frame.looksBeforeResized = 4;
    WindowsWindowLibrary library(console_, screen_, frame);
    Resize(80, 25);
    library.Console80x(42);
    library.ConsoleMove(32767, 32767);
    EXPECT_EQ(frame.moves, c.moves);
    EXPECT_EQ(frame.sleeps, c.sleeps);
  }
}

// Where the box window cannot be shown, the box is drawn into the console,
// takes its key there, and puts back every cell it covered.
TEST_F(WindowLibraryTest, AMessageBoxThatCannotBeShownIsDrawnInTheConsole) {
  for (int row = 0; row < 42; ++row) {
    for (int column = 0; column < 80; ++column) {
      const Cell cell{static_cast<std::uint8_t>('A' + (row + column) % 26), static_cast<std::uint8_t>(row + column)};
      console_.WriteOutput(std::span(&cell, 1), column, row);
    }
  }
  const auto screen = [this] {
    std::vector<Cell> cells;
    for (int row = 0; row < 42; ++row) std::ranges::copy(console_.ReadCells(0, row, 80), std::back_inserter(cells));
    return cells;
  };
  const std::vector<Cell> before = screen();
  const struct {
    const char* label;
    int answer;
    bool drawnInConsole;
  } cases[] = {{"shown and dismissed", IDOK, false}, {"no display", -1, true}, {"the call fails", 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::string> asked;
    WindowsWindowLibrary library(console_, screen_, frame_,
                                 [&](void*, const char* text, const char* caption, unsigned type) {
                                   asked.push_back(std::string(caption) + "|" + text + "|" + std::to_string(type));
                                   return c.answer;
                                 });
    ::FlushConsoleInputBuffer(input_);
    Queue(Key(true, '\x0D', 0x1C));
    library.ConsoleMessageBox("File not found.\\nTry again", 0, "  ERROR", 0, 0);
    EXPECT_EQ(asked,
              std::vector<std::string>{"  ERROR|File not found.\nTry again|" + std::to_string(MB_OK | MB_ICONERROR)});
    EXPECT_EQ(console_.PeekInput() == std::nullopt, c.drawnInConsole) << "only a box in the console takes the key";
    EXPECT_EQ(screen(), before) << "every cell put back, colours too";
  }
}

// The identifiers of a menu laid out as the console window's system menu.
std::vector<UINT> Items(HMENU menu) {
  std::vector<UINT> items;
  for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
    items.push_back(::GetMenuItemID(menu, position));
  }
  return items;
}

TEST(SystemMenu, TheSixRemovalsLeaveMoveMinimizeCloseAndEdit) {
  constexpr UINT kDefaults = 0xFFF8, kProperties = 0xFFF7;
  constexpr UINT kSeparator = 0, kSubmenu = 0xFFFFFFFF;
  const struct {
    const char* label;
    std::vector<UINT> items;  // kSubmenu stands for the Edit submenu
    std::vector<UINT> left;
  } cases[] = {
      {"the console's menu",
       {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, kSeparator, SC_CLOSE, kSeparator, kSubmenu, kDefaults,
        kProperties},
       {SC_MOVE, SC_MINIMIZE, SC_CLOSE, kSeparator, kSubmenu}},
      {"a plain window's menu",
       {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, kSeparator, SC_CLOSE},
       {SC_MOVE, SC_MINIMIZE, SC_CLOSE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const HMENU menu = ::CreatePopupMenu();
    for (const UINT item : c.items) {
      if (item == kSeparator) {
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      } else if (item == kSubmenu) {
        ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "Edit");
      } else {
        ::AppendMenuA(menu, MF_STRING, item, "item");
      }
    }
    for (const std::int32_t item : {61728, 0, 61440, -2, -1, 61488}) RemoveSystemMenuItem(menu, item);
    EXPECT_EQ(Items(menu), c.left);
    ::DestroyMenu(menu);
  }
}

TEST(WindowPlacement, TheLargestCoordinateCentresOthersPlaceTheCornerAndTheWindowStaysOnTheWorkArea) {
  const WindowEdges window{10, 20, 650, 500};  // 640 by 480
  const WindowEdges workArea{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceWindow(window, workArea, 32767, 32767).left, 640);
  EXPECT_EQ(PlaceWindow(window, workArea, 32767, 32767).top, 280);
  const WindowEdges given = PlaceWindow(window, {1920, 0, 3840, 1040}, 32767, 5);
  EXPECT_EQ(std::pair(given.left, given.top), std::pair(2560, 5)) << "centred on its own monitor";
  EXPECT_EQ(std::pair(given.right, given.bottom), std::pair(3200, 485)) << "the size stays";
  const WindowEdges partlyOff = PlaceWindow(window, workArea, 1500, -30);
  EXPECT_EQ(std::pair(partlyOff.left, partlyOff.top), std::pair(1280, 0)) << "moved just inside";
  const WindowEdges tooTall = PlaceWindow(window, {0, 0, 1024, 400}, 32767, 32767);
  EXPECT_EQ(std::pair(tooTall.left, tooTall.top), std::pair(192, 0)) << "the title bar stays in reach";
}

}  // namespace
}  // namespace corvane
