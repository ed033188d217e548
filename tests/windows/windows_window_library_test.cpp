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

using WindowLibraryTest = ConsoleFixture;

TEST_F(WindowLibraryTest, Console80xSizesTheBufferFromLargerAndSmallerOnes) {
  WindowsWindowLibrary library(console_);
  for (const COORD start : {COORD{100, 150}, COORD{60, 20}}) {
    SCOPED_TRACE(std::to_string(start.X) + " by " + std::to_string(start.Y));
    Resize(start.X, start.Y);
    library.Console80x(42);
    EXPECT_EQ(std::pair(Size().X, Size().Y), (std::pair<SHORT, SHORT>(80, 42)));
    library.Console80x(0);
    EXPECT_EQ(Size().Y, 42) << "a row count of 0 is ignored";
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
    WindowsWindowLibrary library(console_, [&](void*, const char* text, const char* caption, unsigned type) {
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

TEST(WindowPlacement, TheLargestCoordinateCentresOthersPlaceTheCorner) {
  const WindowEdges window{10, 20, 650, 500};  // 640 by 480
  const WindowEdges workArea{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceWindow(window, workArea, 32767, 32767).left, 640);
  EXPECT_EQ(PlaceWindow(window, workArea, 32767, 32767).top, 280);
  const WindowEdges given = PlaceWindow(window, {1920, 0, 3840, 1040}, 32767, 5);
  EXPECT_EQ(std::pair(given.left, given.top), std::pair(2560, 5)) << "centred on its own monitor";
  EXPECT_EQ(std::pair(given.right, given.bottom), std::pair(3200, 485)) << "the size stays";
}

}  // namespace
}  // namespace corvane
